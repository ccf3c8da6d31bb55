#include "ScoreEntry.h"

#include "Calculation.h"
#include "core/ScoreCell.h"

void EnterScore(Gradebook& book, int row, int col, const QString& entry) {
    if (row < 1 || row >= book.rowCount() || col < 2 || col >= book.columnCount()) return;
    book.MarkModified();
    Gradebook::HeaderEditingOff off(book);
    book.SetCellText(row, col, FormatScoreCell(book, row, col, entry));
    UpdateRowTotal(book, row);
}

void SetIgnored(Gradebook& book, const QList<int>& rows, const QList<int>& cols, bool ignored) {
    Gradebook::HeaderEditingOff off(book);
    Gradebook::BatchUpdate batch(book);
    for (int r : rows) {
        if (r < 1 || r >= book.rowCount()) continue;
        for (int c : cols) {
            if (c < 2 || c >= book.columnCount()) continue;
            book.setIncluded(r, c, !ignored);
            book.SetCellText(r, c,
                             FormatScoreCell(book, r, c, ScoreOfCell(book.GetCellText(r, c))));
        }
        // An ignored score leaves the total, so the total follows at once.
        UpdateRowTotal(book, r);
    }
    book.MarkModified();
}
