#pragma once

#include "Records.h"

#include <vector>

// The scale and importance libraries the program holds for the run. Entry 0 of each is the
// default for new tests and new gradebooks; a missing entry reads as an empty record.
struct Libraries {
    std::vector<GradeScale> scales;
    std::vector<ImportanceSet> importanceSets;
    // Entries read from the library files; the arrays may hold empty entries beyond them.
    int scaleCount = 0;
    int importanceCount = 0;

    GradeScale scale(int i) const {
        return i >= 0 && i < int(scales.size()) ? scales[std::size_t(i)] : GradeScale{};
    }
    ImportanceSet importanceSet(int i) const {
        return i >= 0 && i < int(importanceSets.size()) ? importanceSets[std::size_t(i)]
                                                        : ImportanceSet{};
    }
};
