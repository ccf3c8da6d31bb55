#pragma once

#include "core/Records.h"

#include <QStringList>

// How a group is listed: its name and share, "Quiz (20%)".
QString GroupDisplayText(const ImportanceGroup& group);

// The group a test counts in, of a set of groupCount groups. An index the set no longer has (or
// never could have) counts as group 0, and the test is moved there.
inline int GroupOfTest(TestRecord& test, int groupCount) {
    if (!(test.importance >= 0 && test.importance < float(groupCount))) test.importance = 0;
    return int(test.importance);
}

// One item per group of the set, in order.
QStringList ImportanceListItems(const ImportanceSet& set);
