#pragma once

#include "ChartData.h"

class Gradebook;

// The "Test: " chart of column `col` (1: the Total column): how many students earned each step
// of the test's scale when it is graded and grades are not shown as % of MAX, else how many
// scored in each tenth of its maximum. Every student row counts, an empty cell in the first
// bar. The Total column counts the students' totals as the table shows them (ShownTotal).
// Column 0 has no test and gives an empty chart.
ChartData TestChart(Gradebook& book, int col);

// The palette colour of bar p of n: red in the first third, brown in the second, green after.
int ThirdsColor(int p, int n);
