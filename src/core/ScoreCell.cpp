#include "ScoreCell.h"

#include "NumberText.h"

QString ScoreOfCell(const QString& cellText) {
    if (cellText.isEmpty()) return {};
    const qsizetype paren = cellText.indexOf(u'(');
    const double v =
        ReadLeadingNumber(paren < 0 ? QStringView(cellText) : QStringView(cellText).left(paren));
    return v > 0 ? FormatGeneral(v) : QString();
}
