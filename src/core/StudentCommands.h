#pragma once

#include "Gradebook.h"

// A student row nobody has used yet: no total, and no name or the new student's "NewName".
// Deleting it asks nothing.
bool IsFreshStudent(const Gradebook& book, int row);

// Deletes the students of rows first ... last. When that is every student, the first row stays,
// emptied, as a new student: a gradebook always has one student row.
void DeleteStudents(Gradebook& book, int first, int last);
