#pragma once

#include "Gradebook.h"
#include "Libraries.h"

#include <QDate>

// Puts the gradebook into the state of a new, empty class: seven unnamed students, no tests,
// library scale 0 on the Total column, importance set 0 and no password. The modified flag is the
// caller's.
void ResetToNew(Gradebook& book, const Libraries& libraries);

// The record of a student added by the teacher: blank ID and note, every score counting.
StudentRecord NewStudentRecord();

// The record of a test added by the teacher: maximum 100, group 1, dated today, graded on
// library scale 0.
TestRecord NewTestRecord(const Libraries& libraries, const QDate& today);
