#pragma once

#include "Gradebook.h"

// Whether an operation under `rule` (0 ... 3, or AnyRule) must ask for the password first:
// the gradebook has a password, it has not been given in this run, and the rule is protected.
bool AccessNeeded(const Gradebook& book, int rule);

// Records that the right password was given: the gradebook stays unlocked for the run.
void Unlock(Gradebook& book);

// Switches the name cell of `row` between the student's name and ID, parking the text not
// shown in the record, and sets the student's showAsId flag.
void SetNameAsId(Gradebook& book, int row, bool showId);
// The same as the teacher's own choice, which RestoreNames and saving keep.
void ChooseNameAsId(Gradebook& book, int row, bool showId);

// After a gradebook is loaded: when names are protected and the gradebook is locked, every
// student is shown by ID. Each student keeps its own choice for RestoreNames, which stays
// right when the rows are sorted in between.
void HideNames(Gradebook& book);

// After the password was given: shows again the names that HideNames hid.
void RestoreNames(Gradebook& book);
