#include "TablePrinter.h"
#include "PrintFailure.h"

#include "core/Gradebook.h"

#include <QFontMetrics>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

// Every printed cell has a blank on either side of its text.
QString padded(const QString& text) {
    return u' ' + text + u' ';
}

} // namespace

TablePrinter::TablePrinter(const Gradebook& book, const QFont& font) : m_book(book), m_font(font) {}

QString TablePrinter::titleLine(const QString& fileName, int page, const QDateTime& when) {
    return fileName + u"   Page "_s + u' ' + QString::number(page) + u"   "_s +
           QLocale::system().toString(when, QLocale::ShortFormat);
}

int TablePrinter::textWidth(const QString& text) {
    auto found = m_widths.constFind(text);
    if (found != m_widths.constEnd()) return *found;
    // Rounded up, so that the measured width always holds the drawn text.
    const int width = int(std::ceil(m_painter->fontMetrics().horizontalAdvance(text)));
    m_widths.insert(text, width);
    return width;
}

int TablePrinter::maxcolwidth(int col) {
    if (col >= m_book.columnCount()) return 0;
    int widest = 0;
    for (int r = 0; r < m_book.rowCount(); ++r)
        widest = std::max(widest, textWidth(padded(m_book.cell(r, col))));
    return widest;
}

Result TablePrinter::print(QPagedPaintDevice& device, const CellBlock& range, const QDateTime& when,
                           int copies) {
    QPainter painter;
    if (!painter.begin(&device)) return PrintFailure(u"the print job could not be started."_s);
    m_painter = &painter;
    m_when = when;
    painter.setFont(QFont(m_font, &device));
    const QFontMetrics metrics = painter.fontMetrics();
    // A little more than the text's height, so that the rules never touch the letters.
    m_lineHeight = metrics.height() + std::max(1, metrics.height() / 5);
    m_ascent = metrics.ascent() + (m_lineHeight - metrics.height()) / 2;
    // The frame's lines are two printer dots wide at 600 dots an inch, the rules one.
    m_thickPen = std::max(1, int(std::lround(device.logicalDpiX() / 300.0)));
    m_thinPen = std::max(1, m_thickPen / 2);
    // The frame's left line lies wholly on the page.
    painter.translate(m_thickPen, 0);
    m_pageWidth = device.width() - 2 * m_thickPen;

    m_columnWidth.assign(std::size_t(m_book.columnCount()), 0);
    m_columnWidth[0] = maxcolwidth(0);
    for (int c = range.left; c <= range.right && c < m_book.columnCount(); ++c)
        m_columnWidth[std::size_t(c)] = maxcolwidth(c);
    const std::vector<PrintPage> pages =
        LayOutPages(range, RowsPerPage(device.height(), m_lineHeight), m_pageWidth, m_columnWidth);

    Result outcome = Result::success();
    for (int copy = 0; copy < std::max(1, copies) && outcome; ++copy) {
        for (std::size_t i = 0; i < pages.size(); ++i) {
            if ((copy > 0 || i > 0) && !device.newPage()) {
                outcome = PrintFailure(u"a new page could not be started."_s);
                break;
            }
            printPage(pages[i], int(i) + 1);
        }
    }
    m_painter = nullptr;
    if (!painter.end() && outcome)
        outcome = PrintFailure(u"the print job could not be finished."_s);
    return outcome;
}

void TablePrinter::printPage(const PrintPage& page, int number) {
    QPainter& p = *m_painter;
    const int h = m_lineHeight;
    const int top = 2 * h;
    const int bottom = top + (page.rowEnd - page.rowStart + 2) * h;

    std::vector<int> rules{0, m_columnWidth[0]};
    for (int c = page.colStart; c <= page.colEnd; ++c)
        rules.push_back(rules.back() + m_columnWidth[std::size_t(c)]);
    // A column wider than the page is printed alone and ends at the page's edge.
    const int right = std::min(rules.back(), m_pageWidth);
    p.setPen(QPen(Qt::black, m_thickPen));
    for (int x : rules)
        p.drawLine(std::min(x, right), top, std::min(x, right), bottom);
    p.drawLine(0, top, right, top);

    // The title line: a long path gives way at its start, so the page number and date stay.
    QString title = titleLine(m_book.fileName(), number, m_when);
    if (textWidth(title) > m_pageWidth) {
        const QString tail = titleLine(QString(), number, m_when);
        title = p.fontMetrics().elidedText(m_book.fileName(), Qt::ElideLeft,
                                           m_pageWidth - textWidth(tail)) +
                tail;
    }
    p.drawText(0, m_ascent, title);

    int y = top;
    PrintRow(0, page, y);
    y += h;
    p.setPen(QPen(Qt::black, m_thickPen));
    p.drawLine(0, y, right, y);
    p.setPen(QPen(Qt::black, m_thinPen));
    for (int r = page.rowStart; r <= page.rowEnd; ++r) {
        PrintRow(r, page, y);
        y += h;
        p.drawLine(0, y, right, y);
    }
}

void TablePrinter::PrintRow(int row, const PrintPage& page, int y) {
    int x = 0;
    PrintCell(row, 0, x, y);
    x += m_columnWidth[0];
    for (int c = page.colStart; c <= page.colEnd; ++c) {
        PrintCell(row, c, x, y);
        x += m_columnWidth[std::size_t(c)];
    }
}

void TablePrinter::PrintCell(int row, int col, int x, int y) {
    QString text = padded(m_book.GetCellText(row, col));
    // Only a column wider than the page, printed alone, can reach past its edge.
    if (x + textWidth(text) > m_pageWidth)
        text = m_painter->fontMetrics().elidedText(text, Qt::ElideRight, m_pageWidth - x);
    m_painter->drawText(x, y + m_ascent, text);
}
