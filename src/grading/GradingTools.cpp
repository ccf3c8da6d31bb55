#include "GradingTools.h"

#include "Calculation.h"
#include "Importance.h"
#include "ScoreEntry.h"
#include "core/NumberText.h"
#include "core/ScoreCell.h"
#include "core/StudentCommands.h"

#include <algorithm>

namespace {

// The scores that may be dropped from the student of `row` as things stand, each with an
// estimate of the total without it. RowTotal has just run for the row, so the groups' counts
// and the tests' groups are this student's.
struct Candidate {
    int col;
    double estimate;
};
std::vector<Candidate> Candidates(Gradebook& book, int row, const DropOptions& options) {
    const ImportanceSet& groups = book.importanceSet();
    std::vector<double> partSum(groups.steps.size(), 0);
    std::vector<std::pair<int, double>> counted; // group and part of each counted score
    for (int c = 2; c < book.columnCount(); ++c) {
        if (!book.isIncluded(row, c)) {
            counted.emplace_back(-1, 0);
            continue;
        }
        const int g = int(book.TestOf(c).importance);
        counted.emplace_back(g, PartOfTotal(book, row, c));
        partSum[std::size_t(g)] += counted.back().second;
    }
    // The total is sum / weights with each score weighing its group's share over the group's
    // count; leaving a score out changes only its own group's terms.
    const auto weight = [&](int g, int count) {
        return count > 0 ? double(groups.steps[std::size_t(g)].percentOfTotal / count) : 0.0;
    };
    double sum = 0, weights = 0;
    for (std::size_t g = 0; g < groups.steps.size(); ++g) {
        const int n = groups.steps[g].testCount;
        sum += partSum[g] * weight(int(g), n);
        weights += n * weight(int(g), n);
    }
    std::vector<Candidate> candidates;
    for (int c = 2; c < book.columnCount(); ++c) {
        const auto [g, part] = counted[std::size_t(c - 2)];
        if (g < 0 || (options.group && g != *options.group)) continue;
        const int n = groups.steps[std::size_t(g)].testCount;
        if (n <= 1) continue; // the group keeps its weight
        const double w = weight(g, n), fewer = weight(g, n - 1);
        const double s =
            sum - partSum[std::size_t(g)] * w + (partSum[std::size_t(g)] - part) * fewer;
        const double ws = weights - n * w + (n - 1) * fewer;
        candidates.push_back({c, ws > 0 ? s / ws : 0});
    }
    return candidates;
}

} // namespace

std::vector<StudentDrops> PlanDropLowest(Gradebook& book, const DropOptions& options) {
    std::vector<StudentDrops> plan;
    for (int r = 1; r < book.rowCount(); ++r) {
        if (IsFreshStudent(book, r)) continue; // a blank row has nothing to drop
        StudentDrops student{r, {}, RowTotal(book, r), 0};
        float total = student.totalBefore;
        for (int n = 0; n < options.count; ++n) {
            RowTotal(book, r); // the groups' counts of this student as things stand
            const std::vector<Candidate> candidates = Candidates(book, r, options);
            double bestEstimate = 0;
            for (const Candidate& c : candidates)
                bestEstimate = std::max(bestEstimate, c.estimate);
            // The estimates only pass over the scores that cannot win: the total itself, as
            // Ignore grade would make it, decides among the rest, ties to the earlier test.
            int best = -1;
            float bestTotal = 0;
            for (const Candidate& c : candidates) {
                if (c.estimate < bestEstimate - 1e-3) continue;
                book.setIncluded(r, c.col, false);
                const float without = RowTotal(book, r);
                book.setIncluded(r, c.col, true);
                if (best < 0 || without > bestTotal) best = c.col, bestTotal = without;
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
