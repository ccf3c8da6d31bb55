#pragma once

#include "grading/TableTransfer.h"

#include <vector>

// One printed page of the table: the band of student rows and the block of table columns it
// shows. The name column and the headings row go on every page besides these.
struct PrintPage {
    int rowStart = 1, rowEnd = 1;
    int colStart = 1, colEnd = 1;
    bool operator==(const PrintPage&) const = default;
};

// Student rows a page holds below the title line, the empty line and the headings, less one:
// a band holds one row more than this. Never below 0, so a band always holds a row.
int RowsPerPage(int printableHeight, int lineHeight);

// The last row of the band that starts at `first`: up to rowsPerPage + 1 rows, not beyond
// `last`, and never before `first`.
int Rowfinish(int first, int rowsPerPage, int last);

// The last column of the block that starts at `first`: the columns whose widths, after the name
// column's, stay below `pageWidth`; a column wider than the page on its own makes a block alone.
// `columnWidth` is indexed by table column; a column beyond it has the width 0.
int colfinish(int first, int pageWidth, int last, const std::vector<int>& columnWidth);

// Every page of a print run of `range` (student rows and table columns), in print order: for
// each band of rows, the blocks of columns from left to right.
std::vector<PrintPage> LayOutPages(const CellBlock& range, int rowsPerPage, int pageWidth,
                                   const std::vector<int>& columnWidth);
