#pragma once

#include "core/Records.h"

#include <QStringList>

// How a group is listed: its name and share, "Quiz (20%)".
QString GroupDisplayText(const ImportanceGroup& group);

// One item per group of the set, in order.
QStringList ImportanceListItems(const ImportanceSet& set);
