#pragma once

#include "core/Gradebook.h"

#include <vector>

// Figures of one column's scores; all 0 when no score counts.
struct ScoreStatistics {
    int count = 0;
    double mean = 0;
    double median = 0;
    double deviation = 0; // of the whole class, so divided by the count
    double highest = 0;
    double lowest = 0;
    bool operator==(const ScoreStatistics&) const = default;
};

// A student's total as the Total column shows it, a whole percentage rounded half up: read
// from the Total cell where it shows the number (the recalculation keeps it current), else
// taken with RowTotal, which leaves its working counters in the groups.
double ShownTotal(Gradebook& book, int row);

// The scores of a test column that count: each included student's number, where the cell's
// score part is one (ignored, empty and text cells are left out). For the Total column (1)
// the students' totals, rounded as the table shows them, of every student with a score that
// counts (ShownTotal).
std::vector<double> CountedScores(Gradebook& book, int col);

ScoreStatistics StatisticsOf(std::vector<double> scores);

inline ScoreStatistics ColumnStatistics(Gradebook& book, int col) {
    return StatisticsOf(CountedScores(book, col));
}
