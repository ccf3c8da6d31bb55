#include "Statistics.h"

#include "Calculation.h"
#include "Scale.h"
#include "core/NumberText.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

namespace {

// The number a score cell holds in front of its grade, when it holds one.
std::optional<double> ScoreIn(const QString& cellText) {
    const qsizetype paren = cellText.indexOf(u'(');
    const QStringView part = QStringView(cellText).left(paren < 0 ? cellText.size() : paren);
    if (!IsNumberText(part)) return std::nullopt;
    return ReadLeadingNumber(part);
}

bool HasCountedScore(const Gradebook& book, int row) {
    for (int c = 2; c < book.columnCount(); ++c)
        if (book.isIncluded(row, c) && ScoreIn(book.cell(row, c))) return true;
    return false;
}

} // namespace

double ShownTotal(Gradebook& book, int row) {
    // "85%    (B)", "85%" or "85"; a total shown by its grade alone, or not at all, is computed.
    const QString& cell = book.cell(row, 1);
    qsizetype end = cell.indexOf(u'%');
    if (end < 0) end = cell.indexOf(u'(');
    const QStringView number = QStringView(cell).left(end < 0 ? cell.size() : end);
    if (IsNumberText(number)) return ReadLeadingNumber(number);
    return RoundHalfUp(RowTotal(book, row), 0);
}

std::vector<double> CountedScores(Gradebook& book, int col) {
    std::vector<double> scores;
    if (col < 1 || col >= book.columnCount()) return scores;
    for (int r = 1; r < book.rowCount(); ++r) {
        if (col == 1) {
            if (HasCountedScore(book, r)) scores.push_back(ShownTotal(book, r));
        } else if (book.isIncluded(r, col)) {
            if (const auto score = ScoreIn(book.cell(r, col))) scores.push_back(*score);
        }
    }
    return scores;
}

ScoreStatistics StatisticsOf(std::vector<double> scores) {
    ScoreStatistics s;
    if (scores.empty()) return s;
    std::sort(scores.begin(), scores.end());
    const std::size_t n = scores.size();
    s.count = int(n);
    s.mean = std::accumulate(scores.begin(), scores.end(), 0.0) / double(n);
    s.median = n % 2 == 1 ? scores[n / 2] : (scores[n / 2 - 1] + scores[n / 2]) / 2;
    double squares = 0;
    for (const double x : scores)
        squares += (x - s.mean) * (x - s.mean);
    s.deviation = std::sqrt(squares / double(n));
    s.lowest = scores.front();
    s.highest = scores.back();
    return s;
}
