#pragma once

#include <algorithm>

// A block of table cells that grows to cover every cell added to it; empty at first. The
// gradebook gathers the cells of a batch in one, the history the cells written since a step.
struct CellSpan {
    int top = 0, left = 0, bottom = -1, right = -1;

    bool empty() const { return bottom < 0; }
    void clear() { bottom = right = -1; }
    void add(int t, int l, int b, int r) {
        if (empty()) {
            *this = {t, l, b, r};
            return;
        }
        top = std::min(top, t);
        left = std::min(left, l);
        bottom = std::max(bottom, b);
        right = std::max(right, r);
    }
};
