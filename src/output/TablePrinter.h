#pragma once

#include "PrintLayout.h"
#include "core/Result.h"

#include <QDateTime>
#include <QFont>
#include <QHash>
#include <QString>

#include <vector>

class Gradebook;
class QPagedPaintDevice;
class QPainter;

// Prints a block of the table of grades page by page: every cell with the text the table shows
// it with, the name column and the headings on every page, the ruled frame and a title line of
// the file name, the page number and the date and time. Widths are measured with the font's
// metrics on the device printed on, so no text runs into the next column.
class TablePrinter {
public:
    TablePrinter(const Gradebook& book, const QFont& font);

    // Prints student rows range.top ... range.bottom and table columns range.left ...
    // range.right on `device`, `copies` times over. A failure carries "Error Printing - " and
    // what went wrong.
    Result print(QPagedPaintDevice& device, const CellBlock& range, const QDateTime& when,
                 int copies = 1);

    // The title line of page `page`: the file name, "Page " with the number after a blank, the
    // date and time, three blanks apart.
    static QString titleLine(const QString& fileName, int page, const QDateTime& when);

private:
    void printPage(const PrintPage& page, int number);
    void PrintRow(int row, const PrintPage& page, int y);
    void PrintCell(int row, int col, int x, int y);
    int maxcolwidth(int col);
    int textWidth(const QString& text);

    const Gradebook& m_book;
    QFont m_font;
    QPainter* m_painter = nullptr;
    QDateTime m_when;
    std::vector<int> m_columnWidth;
    QHash<QString, int> m_widths; // measured texts: many cells of a class show the same one
    int m_lineHeight = 0;
    int m_ascent = 0;
    int m_pageWidth = 0;
    int m_thickPen = 1;
    int m_thinPen = 1;
};
