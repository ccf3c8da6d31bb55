#pragma once

#include "ChartData.h"

class Gradebook;

// The bar, 1 ... 10, of a score among ten equal ranges of `maxScore`: bar k holds the scores
// from (k - 1) tenths up to below k tenths, bar 10 every score of nine tenths and more. A
// negative score has no bar (0). A maximum of 0 or less puts every other score in bar 10.
int RangeBar(double score, double maxScore);

// The distribution chart of the Set Scale dialog: how many students of column `col` scored in
// each tenth of the test's maximum. Eleven bars; bar p (from 2) is labelled with its lowest
// score, (p - 1) tenths of the maximum; bar 1 has no label and bar 11 stays empty. The score of
// a cell is its score part, an empty one 0.
ChartData DistributionChart(const Gradebook& book, int col);
