#include "StudentChart.h"

#include "core/Gradebook.h"
#include "core/NumberText.h"
#include "grading/Calculation.h"
#include "grading/Scale.h"
#include "grading/Statistics.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

double GradePercent(const TestRecord& test, double score) {
    const int steps = test.scale.used();
    const int i = GradeIndex(test, float(score));
    const double top = steps > 0 ? test.scale.steps[std::size_t(steps - 1)].value : 0;
    if (i < 0 || !(top > 0)) return 0;
    return test.scale.steps[std::size_t(i)].value / top * 100;
}

double ScorePercent(const TestRecord& test, double score) {
    return test.maxScore > 0 ? score / test.maxScore * 100 : 0;
}

} // namespace

ChartData StudentChart(Gradebook& book, int row) {
    ChartData chart;
    if (row < 1 || row >= book.rowCount()) return chart;
    const bool gradesRule = !UsesScoresRule(book);
    chart.title = u"Student: "_s + book.GetCellText(row, 0);
    chart.valueAxisTitle = gradesRule ? u"Grade %"_s : u"Score %"_s;
    const int columns = std::max(book.columnCount(), 3); // at least two bars
    for (int c = 1; c < columns; ++c) {
        ChartBar bar{0, book.GetCellText(0, c).trimmed(),
                     c == 1 ? PaletteLightRed : PaletteLightBlue};
        if (c == 1) {
            bar.value = ShownTotal(book, row);
        } else if (c < book.columnCount()) {
            const TestRecord& test = book.TestOf(c);
            const double score = book.cellValue(row, c);
            bar.value = gradesRule && test.calculateGrades != 0 ? GradePercent(test, score)
                                                                : ScorePercent(test, score);
        }
        chart.bars.push_back(bar);
    }
    return chart;
}
