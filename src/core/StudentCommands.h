#pragma once

#include "Gradebook.h"

// A student row nobody has used yet: no total, and no name or the new student's "NewName".
// Deleting it asks nothing.
bool IsFreshStudent(const Gradebook& book, int row);

// Deletes the students of rows first ... last. When that is every student, the first row stays,
// emptied, as a new student: a gradebook always has one student row.
void DeleteStudents(Gradebook& book, int first, int last);

// Saves the text of the name cell of `row` into the record's field that the cell shows: the ID
// while the student is shown by ID, else the name. Renaming in the table changes only the cell.
void KeepShownName(Gradebook& book, int row);

// Rewrites the name cell of `row` from the record: the ID when the student is shown by ID,
// else the name.
void ShowChosenName(Gradebook& book, int row);
// The same for every student.
void ShowNamesAsChosen(Gradebook& book);
