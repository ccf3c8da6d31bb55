#include "DistributionChart.h"

#include "core/Gradebook.h"
#include "core/NumberText.h"
#include "core/ScoreCell.h"

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int Ranges = 10;
constexpr int Bars = Ranges + 1;

// k tenths of the maximum, computed as k * max / 10 so that a score typed as an exact multiple
// of a tenth (7 of 35) reads as the same double as its boundary.
double Tenths(int k, double maxScore) {
    return k * maxScore / Ranges;
}

int ColorOfBar(int p) {
    return p <= 3 ? PaletteRed : p <= 7 ? PaletteBrown : PaletteGreen;
}

} // namespace

int RangeBar(double score, double maxScore) {
    int k = 0;
    while (k < Ranges && score >= Tenths(k, maxScore))
        ++k;
    return k;
}

ChartData DistributionChart(const Gradebook& book, int col) {
    ChartData chart;
    chart.title = u"Distribution Chart: # of Students vs. Test Scores"_s;
    chart.valueAxisTitle = u"# of Students"_s;
    const bool inTable = col >= 1 && col < book.columnCount();
    const double maxScore = inTable ? book.TestOf(col).maxScore : 0;
    for (int p = 1; p <= Bars; ++p)
        chart.bars.push_back(
            {0, p == 1 ? QString() : FormatGeneral(Tenths(p - 1, maxScore)), ColorOfBar(p)});
    if (!inTable) return chart;
    for (int row = 1; row < book.rowCount(); ++row) {
        const int bar = RangeBar(ReadLeadingNumber(ScoreOfCell(book.cell(row, col))), maxScore);
        if (bar >= 1) chart.bars[std::size_t(bar - 1)].value += 1;
    }
    return chart;
}
