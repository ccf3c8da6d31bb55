#pragma once

#include <QDate>
#include <QString>

#include <optional>

// Test dates are kept as "mm/dd/yy".
QString FormatTestDate(const QDate& date);

// Reads "mm/dd/yy"; two-digit years 00-29 are 2000-2029 and 30-99 are 1930-1999.
// A blank or unreadable date gives nothing.
std::optional<QDate> ParseTestDate(const QString& text);

// The date a date box stores, as the box shows it ("mm/dd/yy"). A box without a digit stores
// no date, so the test stays undated instead of keeping the bare "/" of the mask.
QString StoredTestDate(const QString& shown);
