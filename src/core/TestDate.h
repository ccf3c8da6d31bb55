#pragma once

#include <QDate>
#include <QString>

#include <optional>

// Test dates are kept as "mm/dd/yy".
QString FormatTestDate(const QDate& date);

// Reads "mm/dd/yy"; two-digit years 00-29 are 2000-2029 and 30-99 are 1930-1999.
// A blank or unreadable date gives nothing.
std::optional<QDate> ParseTestDate(const QString& text);
