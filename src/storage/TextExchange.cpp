#include "TextExchange.h"

#include "SaveFile.h"
#include "Windows1252.h"
#include "core/Limits.h"
#include "core/NumberText.h"
#include "core/ScoreCell.h"
#include "core/SharedTextCache.h"
#include "grading/Calculation.h"

#include <QFile>
#include <QHash>

#include <algorithm>
#include <array>
#include <deque>
#include <optional>
#include <string>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString LineEnd = u"\r\n"_s;
// Imported test columns are wider than new ones: 2.5 times the table's column width.
constexpr int ImportedColumnWidth = Limits::DefaultColumnWidth * 5 / 2;

// --- export ---

// The grade inside a score cell's parentheses; a "(" in the first place opens no grade.
QStringView gradePart(QStringView cell) {
    const auto open = std::find(cell.begin(), cell.end(), u'(');
    if (open == cell.begin() || open == cell.end()) return {};
    const auto close = std::find(open + 1, cell.end(), u')');
    if (close == cell.end()) return {};
    return QStringView(open + 1, close);
}

struct Block {
    int firstRow, lastRow, firstColumn, lastColumn;
};

// The rows and columns written. The name column and header row have their own options, so a
// block reaching into them is cut to the scores and totals.
Block exportBlock(const Gradebook& book, const TextExchangeOptions& o) {
    Block b{1, book.rowCount() - 1, 1, book.columnCount() - 1};
    if (!o.selectionOnly) return b;
    b.firstRow = std::max(std::min(o.firstRow, o.lastRow), 1);
    b.lastRow = std::min(std::max(o.firstRow, o.lastRow), book.rowCount() - 1);
    b.firstColumn = std::max(std::min(o.firstColumn, o.lastColumn), 1);
    b.lastColumn = std::min(std::max(o.firstColumn, o.lastColumn), book.columnCount() - 1);
    return b;
}

// The score and grade of each cell text, worked out once for the cells that share it: found by
// the text's address first, as cells of equal scores mostly share one string, else by content.
class CellParts {
public:
    struct Parts {
        QString score;
        QStringView grade; // into the cell's text, which the cache holds
    };
    const Parts& of(const QString& cell) {
        if (const Parts* parts = m_shared.find(cell)) return *parts;
        auto it = m_parts.constFind(cell);
        if (it == m_parts.cend()) {
            if (m_parts.size() >= MaxRemembered) m_parts.clear();
            it = m_parts.insert(cell, {ScoreOfCell(cell, m_number).toString(), gradePart(cell)});
        }
        // The grade is taken again from this cell, the string the cache holds.
        return m_shared.remember(cell, {it->score, gradePart(cell)});
    }

private:
    static constexpr qsizetype MaxRemembered = 1 << 14;
    QHash<QString, Parts> m_parts;
    SharedTextCache<Parts, 1024> m_shared;
    GeneralText m_number;
};

// The text as the file's bytes, encoded line by line: the whole text is never held as wide text.
std::string exportedBytes(const Gradebook& book, const TextExchangeOptions& o) {
    const QString s = SeparatorOf(o);
    const QString d = DelimiterOf(o);
    const bool numbers = book.view().displayMode == DisplayMode::Numbers;
    const Block b = exportBlock(book, o);
    QString text;
    if (o.testNamesRow) {
        if (o.studentNamesColumn) text += d + u"Name"_s + d;
        for (int c = b.firstColumn; c <= b.lastColumn; ++c) {
            const QString title = book.GetCellText(0, c);
            text += s + d + title + d;
            if (o.includeGrades) text += s + d + title + u" Grades"_s + d;
        }
        text += LineEnd;
    }
    std::string bytes;
    AppendWindows1252(text, bytes);
    CellParts parts;
    // A line is built apart and added whole: QString's own append is slow for small pieces.
    std::u16string line;
    const auto add = [&line](QStringView piece) { line.append(piece.utf16(), piece.size()); };
    for (int r = b.firstRow; r <= b.lastRow; ++r) {
        line.clear();
        if (o.studentNamesColumn) add(d), add(book.cell(r, 0)), add(d), add(s);
        for (int c = b.firstColumn; c <= b.lastColumn; ++c) {
            if (c != b.firstColumn) add(s);
            const CellParts::Parts& cell = parts.of(book.cell(r, c));
            add(cell.score);
            if (!o.includeGrades) continue;
            add(s);
            const QStringView grade = cell.grade;
            if (grade.isEmpty()) continue;
            if (!numbers) add(d);
            add(grade);
            if (!numbers) add(d);
        }
        add(LineEnd);
        AppendWindows1252(line, bytes);
        // The lines of a class are about as long as each other: room for them all at once.
        if (r == b.firstRow)
            bytes.reserve(bytes.size() + line.size() * std::size_t(b.lastRow - r) * 9 / 8);
    }
    return bytes;
}

// --- import ---

// QStringView::startsWith, without a call into Qt for the common one-character text.
bool startsWith(QStringView text, QStringView start) {
    if (start.size() == 1) return !text.isEmpty() && text[0] == start[0];
    return text.startsWith(start);
}

// A field that is empty after its opening delimiter, or a delimiter alone, gives the empty text.
QStringView undelimited(QStringView field, QStringView d) {
    if (d.isEmpty() || !startsWith(field, d)) return field;
    field = field.mid(d.size());
    if (field.endsWith(d)) field.chop(d.size());
    return field;
}

// The fields of a line as views into it; `fields` is reused from line to line, so a large
// file is split without an allocation per field.
void splitFields(QStringView line, QStringView separator, QStringView delimiter,
                 std::vector<QStringView>& fields) {
    fields.clear();
    // Where `what` is next found from `from`; a one-character text, the common case, is
    // searched for without Qt's general search, which is slow for short fields.
    const auto find = [line](QStringView what, qsizetype from) -> qsizetype {
        if (what.size() != 1) return line.indexOf(what, from);
        const auto at = std::find(line.begin() + std::min(from, line.size()), line.end(), what[0]);
        return at == line.end() ? -1 : at - line.begin();
    };
    qsizetype pos = 0;
    for (;;) {
        qsizetype searchFrom = pos;
        if (!delimiter.isEmpty() && startsWith(line.mid(pos), delimiter)) {
            const qsizetype close = find(delimiter, pos + delimiter.size());
            if (close >= 0) searchFrom = close + delimiter.size();
        }
        // An empty separator would match everywhere: the line is then one field.
        const qsizetype next = separator.isEmpty() ? -1 : find(separator, searchFrom);
        fields.push_back(
            undelimited(next < 0 ? line.mid(pos) : line.mid(pos, next - pos), delimiter));
        if (next < 0) break;
        // A longer separator is passed over by its first character; the rest opens the next field.
        pos = next + 1;
    }
}

// Whether the text begins as a number does: a sign, then a digit or a point and a digit.
bool startsLikeNumber(QStringView t) {
    qsizetype i = 0;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) ++i;
    if (i < t.size() && t[i] == u'.') ++i;
    return i < t.size() && t[i] >= u'0' && t[i] <= u'9';
}

// A score field as the cell will hold it, or why it cannot be held. A field that starts like a
// number must be one as a whole: "85abc", "7,5" or "85%" would otherwise lose their tails
// unseen when the column is recalculated. Other text ("abs", "") is kept as it is.
std::optional<QStringView> scoreEntry(QStringView field, int line, int fieldNumber, QString& why) {
    // Most fields have no blanks around them; Qt's trimming is a call for every field.
    const bool blanks = !field.isEmpty() && (field.front().isSpace() || field.back().isSpace());
    const QStringView t = blanks ? field.trimmed() : field;
    if (!startsLikeNumber(t)) return field;
    if (IsNumberText(t)) return t;
    why = u"Line %1, field %2: \"%3\" is not a number."_s.arg(line).arg(fieldNumber).arg(t);
    return std::nullopt;
}

// A cell's text with its number, CellValue(text), worked out once for the cells sharing it.
struct ImportedCell {
    QString text;
    double value = 0;
};

// One data line, placed: the column of its first field and its cells.
struct ImportedLine {
    int firstColumn;
    std::vector<const ImportedCell*> cells; // into ImportedText::cells
};

// What the file holds, read and checked before the gradebook is touched.
struct ImportedText {
    QStringList header; // test names, from column 2 on
    std::vector<ImportedLine> lines;
    // Every distinct cell once; a deque, so a cell stays where it is as more are added.
    std::deque<ImportedCell> cells;
    int columns = 2;
    QString error; // why reading stopped early; empty when the whole file was read

    const ImportedCell* add(QString text) {
        const double value = CellValue(text);
        return &cells.emplace_back(ImportedCell{std::move(text), value});
    }
};

// One cell for each distinct score of a file: a class repeats the same few scores, and its
// cells can share them. Whole numbers below 1000, most scores, are found by their value.
class ScoreTexts {
public:
    explicit ScoreTexts(ImportedText& in) : m_in(in) {}
    const ImportedCell* of(QStringView entry) {
        if (const int n = smallWhole(entry); n > 0) {
            const ImportedCell*& cell = m_whole[std::size_t(n)];
            if (!cell) cell = m_in.add(entry.toString());
            return cell;
        }
        auto it = m_other.constFind(entry);
        if (it == m_other.cend()) it = m_other.insert(entry, m_in.add(entry.toString()));
        return *it;
    }

private:
    // The value of "1" ... "999" written without a leading zero; 0 for any other text.
    static int smallWhole(QStringView entry) {
        if (entry.isEmpty() || entry.size() > 3 || entry[0] == u'0') return 0;
        int n = 0;
        for (const QChar c : entry) {
            if (c < u'0' || c > u'9') return 0;
            n = n * 10 + (c.unicode() - u'0');
        }
        return n;
    }
    ImportedText& m_in;
    std::array<const ImportedCell*, 1000> m_whole{};
    QHash<QStringView, const ImportedCell*> m_other; // keys point into the file's text
};

// Removes what the gradebook file cannot carry: it has no escape for a double quote.
QString storableName(QStringView text) {
    QString name = text.toString();
    return name.replace(u'"', u'\'');
}

// The lines of a text. CR LF, LF alone and CR alone (as some spreadsheets write) each end a
// line; the end of the text ends the last one.
QList<QStringView> textLines(QStringView text) {
    QList<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n') continue;
        lines.append(text.sliced(start, i - start));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.append(text.sliced(start));
    return lines;
}

QString tooManyTests(int line) {
    return u"Line %1 holds more than %2 tests."_s.arg(line).arg(Limits::MaxTests);
}

// Reads field by field and stops at the first field it cannot take: what came before it stays,
// the fields of its own line included, as when each field goes into the table as it is read.
ImportedText readImport(QStringView text, const TextExchangeOptions& o) {
    const QString s = SeparatorOf(o);
    const QString d = DelimiterOf(o);
    const int lastColumn = Limits::MaxTests + 1;
    const QList<QStringView> lines = textLines(text);
    ImportedText result;
    qsizetype next = 0;
    std::vector<QStringView> fields;
    ScoreTexts scores(result);
    if (o.testNamesRow && !lines.isEmpty()) {
        // The first two fields stand over the names and the totals.
        splitFields(lines[next++], s, d, fields);
        for (std::size_t k = 2; k < fields.size() && result.error.isEmpty(); ++k) {
            if (int(k) > lastColumn)
                result.error = tooManyTests(1);
            else
                result.header.append(storableName(fields[k]));
        }
        result.columns += int(result.header.size());
    }
    for (; next < lines.size() && result.error.isEmpty(); ++next) {
        const int lineNumber = int(next) + 1;
        if (int(result.lines.size()) >= Limits::MaxStudents) {
            result.error = u"The file holds more than %1 students."_s.arg(Limits::MaxStudents);
            break;
        }
        splitFields(lines[next], s, d, fields);
        ImportedLine line{o.studentNamesColumn ? 0 : 2, {}};
        // A class repeats the same few scores: the cells of one score share one text.
        line.cells.reserve(fields.size());
        for (std::size_t k = 0; k < fields.size() && result.error.isEmpty(); ++k) {
            const int col = line.firstColumn + int(k);
            if (col > lastColumn)
                result.error = tooManyTests(lineNumber);
            else if (col == 0)
                line.cells.push_back(result.add(storableName(fields[k])));
            else if (col == 1)
                line.cells.push_back(result.add(fields[k].toString())); // recalculated
            else if (const auto entry = scoreEntry(fields[k], lineNumber, int(k) + 1, result.error))
                line.cells.push_back(scores.of(*entry));
        }
        result.columns = std::max(result.columns, line.firstColumn + int(line.cells.size()));
        result.lines.push_back(std::move(line));
    }
    return result;
}

TestRecord importedTest(const Libraries& libraries) {
    TestRecord t;
    t.date = u"";
    t.note = u"";
    t.scale = libraries.scale(0);
    return t; // maximum, group and grading 0: the column's scores set the maximum
}

// Puts what was read into the gradebook: new columns are tests with the imported record, and
// every student reached counts every test and has no note.
void applyImport(Gradebook& book, const ImportedText& in, const TextExchangeOptions& o,
                 const Libraries& libraries) {
    Gradebook::HeaderEditingOff off(book);
    Gradebook::BatchUpdate batch(book);
    const int oldColumns = book.columnCount();
    const int rows = std::max(book.rowCount(), int(in.lines.size()) + 1);
    book.setShape(rows, std::max(oldColumns, in.columns));
    const TestRecord fresh = importedTest(libraries);
    for (int c = oldColumns; c < book.columnCount(); ++c) {
        book.TestOf(c) = fresh;
        book.setColumnWidth(c, ImportedColumnWidth);
    }

    if (o.testNamesRow) {
        if (o.studentNamesColumn) book.SetCellText(0, 0, u"Name"_s);
        for (qsizetype k = 0; k < in.header.size(); ++k)
            book.SetCellText(0, 2 + int(k), in.header[k]);
    }

    for (std::size_t i = 0; i < in.lines.size(); ++i) {
        const int r = int(i) + 1;
        StudentRecord& student = book.StudentOf(r);
        student.includeFlags = QString(Limits::MaxTests, u'1');
        student.note = u"";
        const ImportedLine& line = in.lines[i];
        for (std::size_t k = 0; k < line.cells.size(); ++k) {
            const int c = line.firstColumn + int(k);
            const ImportedCell& cell = *line.cells[k];
            book.SetCellText(r, c, cell.text, cell.value);
            if (c < 2) continue;
            TestRecord& test = book.TestOf(c);
            if (cell.value > test.maxScore) test.maxScore = float(cell.value);
        }
    }
    RecalcAll(book);
}

} // namespace

QString SeparatorOf(const TextExchangeOptions& options) {
    if (options.separatorText == u"{TAB}"_s) return u"\t"_s;
    if (options.separatorText == u"{SPACE}"_s) return u" "_s;
    return options.separatorText;
}

QString DelimiterOf(const TextExchangeOptions& options) {
    if (options.delimiterText == u"{NONE}"_s) return {};
    return options.delimiterText;
}

QStringList SplitImportLine(QStringView line, const QString& separator, const QString& delimiter) {
    std::vector<QStringView> views;
    splitFields(line, separator, delimiter, views);
    QStringList fields;
    for (const QStringView field : views)
        fields.append(field.toString());
    return fields;
}

Result ExportText(const Gradebook& book, const QString& path, const TextExchangeOptions& options) {
    const std::string bytes = exportedBytes(book, options);
    return SaveFileBytes(path, QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

Result ImportText(Gradebook& book, const QString& path, const TextExchangeOptions& options,
                  const Libraries& libraries) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Result::failure(u"Error opening "_s + path + u". "_s + file.errorString());
    const QByteArray bytes = file.readAll();
    ImportedText in;
    if (file.error() != QFileDevice::NoError)
        in.error = file.errorString();
    else
        in = readImport(DecodeWindows1252(bytes), options);
    file.close();
    applyImport(book, in, options, libraries);
    if (!in.error.isEmpty())
        return Result::failure(u"Error importing from "_s + path + u". "_s + in.error);
    return Result::success();
}
