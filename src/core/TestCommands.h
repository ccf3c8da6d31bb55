#pragma once

#include "Gradebook.h"
#include "Libraries.h"
#include "Result.h"

#include <QDate>

inline const QString TooManyTestsMessage = QStringLiteral("Too many tests!");

// Adds a blank test named "Test " and the next number in front of column `column` (the first
// test's place when `column` is the Total or name column) and sets `column` to where it went.
// Refused with "Too many tests!" when the gradebook already has 400 tests.
Result AddBlankTest(Gradebook& book, int& column, const Libraries& libraries, const QDate& today);
