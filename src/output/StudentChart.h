#pragma once

#include "ChartData.h"

class Gradebook;

// The "Student: " chart of table row `row`: the student's rounded total (light red), then a
// light blue bar a test: the grade's share of the scale's best value under "Average
// Normalized Grades" on a graded test, else the score's share of the maximum, in percent.
// The total is the one the table shows (ShownTotal). The header row, or a row outside the
// table, gives an empty chart.
ChartData StudentChart(Gradebook& book, int row);
