#include "TestDate.h"

#include <QStringList>

#include <algorithm>

QString FormatTestDate(const QDate& date) {
    return QStringLiteral("%1/%2/%3")
        .arg(date.month(), 2, 10, QChar(u'0'))
        .arg(date.day(), 2, 10, QChar(u'0'))
        .arg(date.year() % 100, 2, 10, QChar(u'0'));
}

std::optional<QDate> ParseTestDate(const QString& text) {
    const QStringList parts = text.trimmed().split(u'/');
    if (parts.size() != 3) return std::nullopt;
    int numbers[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        numbers[i] = parts[i].trimmed().toInt(&ok);
        if (!ok || numbers[i] < 0) return std::nullopt;
    }
    int year = numbers[2];
    if (year < 100) year += year < 30 ? 2000 : 1900;
    const QDate date(year, numbers[0], numbers[1]);
    if (!date.isValid()) return std::nullopt;
    return date;
}

QString StoredTestDate(const QString& shown) {
    const bool dated = std::any_of(shown.begin(), shown.end(), [](QChar c) { return c.isDigit(); });
    return dated ? shown : QString();
}
