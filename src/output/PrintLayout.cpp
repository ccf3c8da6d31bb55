#include "PrintLayout.h"

#include <algorithm>

namespace {

int widthOf(const std::vector<int>& columnWidth, int col) {
    return col >= 0 && col < int(columnWidth.size()) ? columnWidth[std::size_t(col)] : 0;
}

} // namespace

int RowsPerPage(int printableHeight, int lineHeight) {
    if (lineHeight <= 0) return 0;
    return std::max(0, printableHeight / lineHeight - 4);
}

int Rowfinish(int first, int rowsPerPage, int last) {
    const int end = first + rowsPerPage < last + 1 ? first + rowsPerPage : last;
    return std::max(end, first);
}

int colfinish(int first, int pageWidth, int last, const std::vector<int>& columnWidth) {
    int c = first;
    long long sum = widthOf(columnWidth, 0) + widthOf(columnWidth, first);
    while (sum < pageWidth && c <= last) {
        ++c;
        sum += widthOf(columnWidth, c);
    }
    return std::max(c - 1, first);
}

std::vector<PrintPage> LayOutPages(const CellBlock& range, int rowsPerPage, int pageWidth,
                                   const std::vector<int>& columnWidth) {
    std::vector<PrintPage> pages;
    for (int rowStart = range.top; rowStart <= range.bottom;) {
        const int rowEnd = Rowfinish(rowStart, rowsPerPage, range.bottom);
        for (int colStart = range.left; colStart <= range.right;) {
            const int colEnd = colfinish(colStart, pageWidth, range.right, columnWidth);
            pages.push_back({rowStart, rowEnd, colStart, colEnd});
            colStart = colEnd + 1;
        }
        rowStart = rowEnd + 1;
    }
    return pages;
}
