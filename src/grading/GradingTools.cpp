#include "GradingTools.h"

#include "Calculation.h"
#include "Importance.h"
#include "ScoreEntry.h"
#include "core/NumberText.h"
#include "core/ScoreCell.h"
#include "core/StudentCommands.h"

#include <algorithm>

namespace {

// The counted scores of each group, for the student of `row`.
std::vector<int> countedPerGroup(Gradebook& book, int row) {
    std::vector<int> counted(std::size_t(std::max(book.importanceSet().used(), 1)), 0);
    for (int c = 2; c < book.columnCount(); ++c)
        if (book.isIncluded(row, c))
            ++counted[std::size_t(GroupOfTest(book.TestOf(c), int(counted.size())))];
    return counted;
}

} // namespace

std::vector<StudentDrops> PlanDropLowest(Gradebook& book, const DropOptions& options) {
    std::vector<StudentDrops> plan;
    const int groups = std::max(book.importanceSet().used(), 1);
    for (int r = 1; r < book.rowCount(); ++r) {
        if (IsFreshStudent(book, r)) continue; // a blank row has nothing to drop
        StudentDrops student{r, {}, RowTotal(book, r), 0};
        float total = student.totalBefore;
        for (int n = 0; n < options.count; ++n) {
            const std::vector<int> counted = countedPerGroup(book, r);
            int best = -1;
            float bestTotal = 0;
            for (int c = 2; c < book.columnCount(); ++c) {
                if (!book.isIncluded(r, c)) continue;
                const int group = GroupOfTest(book.TestOf(c), groups);
                if (options.group && group != *options.group) continue;
                if (counted[std::size_t(group)] <= 1) continue; // the group keeps its weight
                book.setIncluded(r, c, false);
                const float without = RowTotal(book, r);
                book.setIncluded(r, c, true);
                if (best < 0 || without > bestTotal) best = c, bestTotal = without;
            }
            if (best < 0 || (options.onlyIfNotLower && bestTotal < total)) break;
            book.setIncluded(r, best, false); // taken out while the next one is chosen
            student.drops.push_back({best, ScoreOfCell(book.cell(r, best))});
            total = bestTotal;
        }
        for (const DroppedScore& d : student.drops)
            book.setIncluded(r, d.col, true);
        RowTotal(book, r); // the groups' working counts as they were
        student.totalAfter = total;
        if (!student.drops.empty()) plan.push_back(std::move(student));
    }
    return plan;
}

void ApplyDrops(Gradebook& book, const std::vector<StudentDrops>& plan) {
    Gradebook::BatchUpdate batch(book);
    for (const StudentDrops& student : plan)
        for (const DroppedScore& d : student.drops)
            SetIgnored(book, {student.row}, {d.col}, true);
}

std::vector<CurvedScore> PlanCurve(const Gradebook& book, int col, const CurveOptions& options) {
    std::vector<CurvedScore> plan;
    if (col < 2 || col >= book.columnCount()) return plan;
    const double max = book.TestOf(col).maxScore;
    // The scores that take part: counted, and a number.
    std::vector<std::pair<int, QString>> scores;
    double top = 0;
    for (int r = 1; r < book.rowCount(); ++r) {
        const QString score = ScoreOfCell(book.cell(r, col));
        if (score.isEmpty() || !book.isIncluded(r, col) || !IsNumberText(score)) continue;
        scores.emplace_back(r, score);
        top = std::max(top, ReadLeadingNumber(score));
    }
    for (const auto& [row, score] : scores) {
        const double v = ReadLeadingNumber(score);
        double curved = options.kind == CurveKind::Add        ? v + options.amount
                        : options.kind == CurveKind::Multiply ? v * options.amount
                        : top > 0                             ? v * max / top
                                                              : v;
        if (options.capAtMax && max > 0) curved = std::min(curved, max);
        const QString after = FormatTwoDecimals(curved);
        if (ReadLeadingNumber(after) != v) plan.push_back({row, score, after});
    }
    return plan;
}

void ApplyCurve(Gradebook& book, int col, const std::vector<CurvedScore>& plan) {
    Gradebook::BatchUpdate batch(book);
    for (const CurvedScore& s : plan)
        EnterScore(book, s.row, col, s.after);
}
