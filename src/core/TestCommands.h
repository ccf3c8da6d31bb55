#pragma once

#include "Gradebook.h"
#include "Libraries.h"
#include "Result.h"

#include <QDate>

inline const QString TooManyTestsMessage = QStringLiteral("Too many tests!");
inline const QString InvalidValueMessage = QStringLiteral("Invalid Value!");

// Adds a blank test named "Test " and the next number in front of column `column` (the first
// test's place when `column` is the Total or name column) and sets `column` to where it went.
// Refused with "Too many tests!" when the gradebook already has 400 tests.
Result AddBlankTest(Gradebook& book, int& column, const Libraries& libraries, const QDate& today);

// Moves the test in column `from` to where it is dropped: in front of column `to`, or after the
// last test when `to` is past it. Its name, width, parameters, scores and ignore flags go with
// it. Returns the column it now stands in; nothing moves (and `from` is returned) for the name
// or Total column, or a drop on its own place.
int MoveTest(Gradebook& book, int from, int to);

// Sets the test's maximum score from a box's text. Refused with "Invalid Value!", the maximum
// kept, unless the whole text is a number.
Result SetMaxScore(TestRecord& test, QStringView text);
