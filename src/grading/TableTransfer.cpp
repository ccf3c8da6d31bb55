#include "TableTransfer.h"

#include "Calculation.h"
#include "core/ScoreCell.h"

#include <QStringList>

#include <vector>

namespace {

const QString LineEnd = QStringLiteral("\r\n");

// The block cut to the table, so a stale selection never reaches outside it.
CellBlock Clamped(const Gradebook& book, CellBlock b) {
    b.top = std::max(b.top, 1);
    b.left = std::max(b.left, 1);
    b.bottom = std::min(b.bottom, book.rowCount() - 1);
    b.right = std::min(b.right, book.columnCount() - 1);
    return b;
}

} // namespace

QString BlockText(const Gradebook& book, const CellBlock& block, TextLayout layout) {
    const CellBlock b = Clamped(book, block);
    QString text;
    if (layout.testNames) {
        QStringList names;
        if (layout.studentNames) names << book.GetCellText(0, 0);
        for (int c = b.left; c <= b.right; ++c)
            names << book.GetCellText(0, c);
        text += names.join(u'\t') + LineEnd;
    }
    for (int r = b.top; r <= b.bottom; ++r) {
        QStringList fields;
        if (layout.studentNames) fields << book.GetCellText(r, 0);
        for (int c = b.left; c <= b.right; ++c)
            fields << ScoreOfCell(book.GetCellText(r, c));
        text += fields.join(u'\t') + LineEnd;
    }
    return text;
}

void ClearScores(Gradebook& book, const CellBlock& block) {
    const CellBlock b = Clamped(book, block);
    Gradebook::HeaderEditingOff off(book);
    Gradebook::BatchUpdate batch(book);
    for (int r = b.top; r <= b.bottom; ++r) {
        for (int c = std::max(b.left, 2); c <= b.right; ++c)
            book.SetCellText(r, c, FormatScoreCell(book, r, c, QString()));
        UpdateRowTotal(book, r);
    }
    book.MarkModified();
}

void PasteText(Gradebook& book, const CellBlock& block, const QString& text, TextLayout layout,
               TextLayout takeNames) {
    const CellBlock b = Clamped(book, block);
    QStringList lines = text.split(u'\n');
    for (QString& line : lines)
        if (line.endsWith(u'\r')) line.chop(1);
    // Every line ends with a line end, so the piece after the last one is no line.
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
    Gradebook::HeaderEditingOff off(book);
    Gradebook::BatchUpdate batch(book);
    int line = 0;
    if (layout.testNames && !lines.isEmpty()) {
        QStringList names = lines[line++].split(u'\t');
        if (layout.studentNames && !names.isEmpty()) names.removeFirst();
        if (takeNames.testNames)
            for (int i = 0; i < names.size() && b.left + i <= b.right; ++i)
                if (b.left + i >= 2) book.SetCellText(0, b.left + i, names[i]);
    }
    // One formatter a column: a whole table pasted back stays quick.
    std::vector<CellFormatter> formatters;
    for (int c = std::max(b.left, 2); c <= b.right; ++c)
        formatters.emplace_back(book, c);
    const int skipped = std::max(b.left, 2) - b.left; // fields that would land on the totals
    for (int r = b.top; r <= b.bottom && line < lines.size(); ++r, ++line) {
        QStringList fields = lines[line].split(u'\t');
        if (layout.studentNames && !fields.isEmpty()) {
            const QString name = fields.takeFirst();
            if (takeNames.studentNames) book.SetCellText(r, 0, name);
        }
        for (int i = skipped; i < fields.size() && b.left + i <= b.right; ++i)
            book.SetCellText(r, b.left + i,
                             formatters[std::size_t(i - skipped)].format(r, fields[i]));
    }
    for (int r = b.top; r <= b.bottom; ++r)
        UpdateRowTotal(book, r);
    book.MarkModified();
}
