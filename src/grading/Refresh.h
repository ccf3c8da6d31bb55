#pragma once

#include "core/Gradebook.h"
#include "core/Result.h"

// The Refresh command's work on the document: every score and total recalculated, then
// students and tests sorted by the gradebook's rules. `keyColumn` is the column a "by grade"
// sort reads (the table's current column). A refused student sort is reported; the rest is done.
Result Refresh(Gradebook& book, int keyColumn);
