#pragma once

#include <QString>

#include <vector>

// Colours of the program's 16-colour palette (the standard one, in CGA order) that the charts
// use; the chart widget maps an index to its colour.
enum PaletteColor : int {
    PaletteGreen = 2,
    PaletteRed = 4,
    PaletteBrown = 6,
    PaletteLightBlue = 9,
    PaletteLightRed = 12,
    PaletteWhite = 15,
};

struct ChartBar {
    double value = 0;
    QString label;
    int color = PaletteGreen; // an index into the 16-colour palette
    bool operator==(const ChartBar&) const = default;
};

// A bar chart as the program describes it: its bars in order, left to right, and two titles.
struct ChartData {
    QString title;
    QString valueAxisTitle;
    std::vector<ChartBar> bars;
    bool operator==(const ChartData&) const = default;
};
