#include "ScoreCell.h"

#include "NumberText.h"

#include <algorithm>

QString ScoreOfCell(const QString& cellText) {
    GeneralText buffer;
    return ScoreOfCell(QStringView(cellText), buffer).toString();
}

QStringView ScoreOfCell(QStringView cellText, GeneralText& buffer) {
    if (cellText.isEmpty()) return {};
    // A plain search: cells are short, and this runs for every cell of an export or a save.
    const auto paren = std::find(cellText.begin(), cellText.end(), u'(');
    const double v = ReadLeadingNumber(cellText.first(paren - cellText.begin()));
    return v > 0 ? buffer.of(v) : QStringView();
}
