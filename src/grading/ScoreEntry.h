#pragma once

#include "core/Gradebook.h"

#include <QList>

// A score typed for (row, col): the cell gets its text with grade and ignore mark, and the
// student's total follows at once.
void EnterScore(Gradebook& book, int row, int col, const QString& entry);

// Marks the scores of `rows` on the test columns `cols` ignored (or counted again), rebuilds
// their cells from their scores and recalculates those students' totals.
void SetIgnored(Gradebook& book, const QList<int>& rows, const QList<int>& cols, bool ignored);
