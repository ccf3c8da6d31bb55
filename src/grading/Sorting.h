#pragma once

#include "core/Gradebook.h"
#include "core/Result.h"

inline const QString SortNoTestMessage = QStringLiteral("Could not sort - Indefined test!");

// Orders the student rows by the gradebook's student sort rule: by name (column 0), or by
// grade in `keyColumn`, best first. Equal keys keep their order. "By grade" with the name
// column as key column is refused and moves nothing. Either way the gradebook is marked
// modified.
Result SortStudents(Gradebook& book, int keyColumn);

// Orders the test columns by the test sort rule: by name, or by date with undated tests first.
// Each test takes its records and include flags along; the gradebook is marked modified.
void SortTests(Gradebook& book);

// Days since 30 December 1899 of a "mm/dd/yy" date; 0 for a blank or unreadable one.
double TestDateDayNumber(const QString& date);
