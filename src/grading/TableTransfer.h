#pragma once

#include "core/Gradebook.h"

#include <QString>

// A rectangle of table cells in document coordinates, as the selection gives it.
struct CellBlock {
    int top = 1, left = 1, bottom = 1, right = 1;
    bool operator==(const CellBlock&) const = default;
};

// What travels with the scores as text: a first line of test names, and a first field of
// student names on every line.
struct TextLayout {
    bool testNames = false;
    bool studentNames = false;
};

// The block's scores as text other programs take: TAB between fields, CR LF after every line.
// With test names, a first line of the columns' names (after the "Name" heading when student
// names come too); with student names, each line starts with the name as shown.
QString BlockText(const Gradebook& book, const CellBlock& block, TextLayout layout);

// Empties the block's scores (test columns only) and recalculates those students' totals.
void ClearScores(Gradebook& book, const CellBlock& block);

// Writes text in the layout BlockText gives into the block, from its top-left cell: lines
// and fields beyond the block are dropped, and a shorter text leaves the rest unchanged.
// The header line and the name fields become names only when `takeNames` says so (the
// parameters came with them); otherwise they are skipped. Totals follow for every row of the
// block. Column 1 (the totals) is never written.
void PasteText(Gradebook& book, const CellBlock& block, const QString& text, TextLayout layout,
               TextLayout takeNames);
