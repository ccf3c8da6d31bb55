#include "TestChart.h"

#include "DistributionChart.h"
#include "core/Gradebook.h"
#include "core/NumberText.h"
#include "grading/Calculation.h"
#include "grading/Scale.h"
#include "grading/Statistics.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int Ranges = 10;
// The chart component's spacing after every label of a test chart.
const QString LabelGap = u"   "_s;

} // namespace

int ThirdsColor(int p, int n) {
    const int a = n / 3, b = 2 * n / 3;
    return p < a ? PaletteRed : p < b ? PaletteBrown : PaletteGreen;
}

ChartData TestChart(Gradebook& book, int col) {
    ChartData chart;
    if (col < 1 || col >= book.columnCount()) return chart;
    const TestRecord& test = book.TestOf(col);
    const DisplayMode mode = book.view().displayMode;
    const bool gradeMode = test.calculateGrades != 0 && mode != DisplayMode::PercentOfMax;
    chart.title = u"Test: "_s + book.GetCellText(0, col);
    chart.valueAxisTitle = u"# of Students"_s;

    const int steps = test.scale.used();
    const int n = gradeMode ? std::max(steps, 2) : Ranges;
    for (int p = 1; p <= n; ++p) {
        QString label;
        if (!gradeMode) {
            // p tenths as p * max / 10, so that 7 of 35 reads as the boundary itself.
            label = FormatGeneral(p * double(test.maxScore) / Ranges);
        } else if (p <= steps) {
            const ScaleStep& step = test.scale.steps[std::size_t(p - 1)];
            label = mode == DisplayMode::Numbers ? FormatTwoDecimals(step.value)
                                                 : step.grade.text().trimmed();
        }
        chart.bars.push_back({0, label + LabelGap, ThirdsColor(p, n)});
    }

    for (int r = 1; r < book.rowCount(); ++r) {
        const double score = col == 1 ? ShownTotal(book, r) : ReadLeadingNumber(book.cell(r, col));
        // A student without a grade (an empty cell, say) stands in the first step.
        const int bar = gradeMode ? std::max(GradeIndex(test, float(score)), 0) + 1
                                  : RangeBar(score, test.maxScore);
        if (bar >= 1) chart.bars[std::size_t(bar - 1)].value += 1;
    }
    return chart;
}
