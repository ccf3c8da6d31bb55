#include "GradebookFile.h"

#include "Fields.h"
#include "LibraryFile.h"
#include "SaveFile.h"
#include "core/NumberText.h"
#include "core/ScoreCell.h"
#include "core/Security.h"
#include "core/SharedTextCache.h"
#include "grading/Calculation.h"
#include "grading/Sorting.h"

#include <QFile>
#include <QHash>

#include <algorithm>
#include <deque>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

// The versions in the order their sections were added; each has the sections of the one before.
enum Version { V1_0, V1_00, V1_01, V1_02, V1_03, V1_04, V1_05 };

Version versionOf(const QString& tag) {
    static const QStringList tags = {u"V E R 1.0s"_s,  u"V E R 1.00s"_s, u"V E R 1.01s"_s,
                                     u"V E R 1.02s"_s, u"V E R 1.03s"_s, u"V E R 1.04s"_s};
    const qsizetype i = tags.indexOf(tag);
    return i < 0 ? V1_05 : Version(i);
}

// The screen's 15 twips a pixel at 96 DPI; the document has no screen of its own.
constexpr int TwipsPerPixel = 15;
constexpr int MinRowHeight = Limits::DefaultRowHeight - 2 * TwipsPerPixel;

// Lengths are 16-bit fields; a larger one would make the file unreadable, so it is cut.
int storedLength(int twips) {
    return std::clamp(twips, 0, 32767);
}

// Scores start in the print zone after the name.
constexpr int PrintZone = 14;

// Whether a score cell is written as empty (-1). An ignored empty cell holds only blanks and
// its "x"; it is written empty too, so it does not come back as a score of 0.
bool writtenEmpty(const Gradebook& book, int row, int col) {
    const QString& cell = book.cell(row, col);
    if (cell.isEmpty()) return true;
    return cell.back() == u'x' && !book.isIncluded(row, col) &&
           QStringView(cell).chopped(1).trimmed().isEmpty();
}

// The score field of a score line: a comma, the score signed (a blank before a value that is
// not negative), one blank, then one more.
QByteArray scoreField(float v) {
    return (v < 0 ? ","_ba : ", "_ba) + FormatFileFloat(v).toLatin1() + "  "_ba;
}

// The score of a cell that is not written empty: its score part, 0 when it has none.
QByteArray scoreFieldOfCell(const QString& cell) {
    const QString score = ScoreOfCell(cell);
    return scoreField(score.isEmpty() ? 0.0f : float(ReadLeadingNumber(score)));
}

// Classes repeat the same few cell texts, so each text is formatted once per save.
class ScoreFields {
public:
    QByteArrayView fieldOf(const QString& cell) {
        if (const QByteArray* field = m_shared.find(cell)) return *field;
        auto it = m_fields.constFind(cell);
        if (it == m_fields.cend()) {
            if (m_fields.size() >= MaxRemembered) m_fields.clear();
            it = m_fields.insert(cell, scoreFieldOfCell(cell));
        }
        return m_shared.remember(cell, *it);
    }

private:
    static constexpr qsizetype MaxRemembered = 1 << 14;
    QHash<QString, QByteArray> m_fields;
    SharedTextCache<QByteArray, 1024> m_shared;
};

// Until the password is given, a gradebook that guards names shows every student by ID. The file
// keeps the students that the teacher shows by name as they were, or a save in the meantime
// would turn them into IDs for good.
bool shownByIdForNow(const Gradebook& book, int row) {
    const StudentRecord& s = book.StudentOf(row);
    return s.showAsId != 0 && s.savedShowAsId == 0 && AccessNeeded(book, AccessNames);
}

void writeScoreLine(FieldWriter& out, const Gradebook& book, int row, ScoreFields& fields) {
    out.quoted(shownByIdForNow(book, row) ? book.StudentOf(row).name.text() : book.cell(row, 0));
    // Always at least one blank, so a name that fills its zone stays apart from the scores.
    const qsizetype zoneEnd = (out.lineLength() / PrintZone + 1) * PrintZone;
    out.raw(QByteArray(zoneEnd - out.lineLength(), ' '));
    static const QByteArray emptyField = scoreField(-1);
    for (int c = 2; c < book.columnCount(); ++c)
        out.raw(writtenEmpty(book, row, c) ? QByteArrayView(emptyField)
                                           : fields.fieldOf(book.cell(row, c)));
    out.endLine();
}

// Puts the whole file into `out`.
void writeGradebook(FieldWriter& out, const Gradebook& book) {
    const ViewState& view = book.view();
    const int rows = book.rowCount();
    const int cols = book.columnCount();
    auto line = [&out] { out.endLine(); };

    out.quoted(GradebookVersionTag), line();
    out.integer(int(view.displayMode)), line();
    out.integer(int(view.chartSubject)), line();
    out.integer(int(view.workingMode)), line();
    out.number(book.totalSetup().importance), line();
    WriteStepList(out, book.totalScales()[0], true);
    WriteStepList(out, book.totalScales()[1], true);
    out.integer(cols - 1), out.integer(rows - 1), line();
    out.integer(view.testSortRule), line();
    out.integer(storedLength(book.columnWidth(0))), line();
    for (int c = 1; c < cols; ++c) {
        const TestRecord& t = book.TestOf(c);
        out.integer(storedLength(book.columnWidth(c))), line();
        out.quoted(book.cell(0, c)), out.number(t.maxScore), out.number(t.importance), line();
        out.fixed(t.date), line();
        out.quoted(t.note.noteText()), line();
        out.integer(t.calculateGrades), line();
        WriteStepList(out, t.scale, true);
    }
    out.integer(view.studentSortRule), line();
    for (int r = 0; r < rows; ++r)
        out.integer(storedLength(book.rowHeight(r))), line();
    for (int r = 1; r < rows; ++r)
        out.fixed(book.StudentOf(r).note), line();
    for (int r = 1; r < rows; ++r)
        out.fixed(book.StudentOf(r).includeFlags), line();
    WriteStepList(out, book.importanceSet(), true);
    out.integer(view.showTotalScores ? 1 : 0), line();
    for (int r = 1; r < rows; ++r) {
        const StudentRecord& s = book.StudentOf(r);
        if (shownByIdForNow(book, r)) // the ID is the text the name cell shows
            out.fixed(FixedText<Limits::IdWidth>(book.cell(r, 0))), line(), out.integer(0), line();
        else
            out.fixed(s.id), line(), out.integer(s.showAsId), line();
        out.fixed(s.name), line();
    }
    out.quoted(book.security().password), line();
    for (bool on : book.security().protect)
        out.integer(on ? 1 : 0), line();
    ScoreFields fields;
    for (int r = 1; r < rows; ++r)
        writeScoreLine(out, book, r, fields);
}

// Reads the fields of a gradebook into the document in file order, so that what was read before
// an error stays.
class GradebookReader {
public:
    GradebookReader(Gradebook& book, FieldReader& in) : m_book(book), m_in(in) {}

    bool read(Version version);

private:
    // An integer that must lie in [low, high]; anything else is a read error.
    std::optional<int> integerIn(int low, int high);
    // A flag stored as 0, 1 or -1 (true).
    std::optional<std::int16_t> flag();
    bool shape();
    bool columnBlock(int col);
    bool studentSections(Version version);
    bool studentNote(FixedText<Limits::StudentNoteWidth>& note);
    bool scoreLines();

    Gradebook& m_book;
    FieldReader& m_in;
};

std::optional<int> GradebookReader::integerIn(int low, int high) {
    const int line = m_in.line();
    int v = 0;
    if (!m_in.integer(v)) return std::nullopt;
    if (v < low || v > high) {
        m_in.fail(FieldErrors::outOfRange(line));
        return std::nullopt;
    }
    return v;
}

std::optional<std::int16_t> GradebookReader::flag() {
    int v = 0;
    if (!m_in.integer(v)) return std::nullopt;
    return std::int16_t(v == -1 ? 1 : v);
}

bool GradebookReader::shape() {
    // Checked before the table grows, so no file can make it absurdly large.
    const auto columns = integerIn(1, Limits::MaxTests + 1);
    if (!columns) return false;
    const auto students = integerIn(1, Limits::MaxStudents);
    if (!students) return false;
    const int rows = *students + 1;
    const int cols = *columns + 1;
    m_book.tests().resize(std::size_t(cols));
    m_book.setShape(rows, cols);
    return true;
}

bool GradebookReader::columnBlock(int col) {
    TestRecord& t = m_book.TestOf(col);
    QString text;
    const auto width = integerIn(0, 32767);
    if (!width) return false;
    m_book.setColumnWidth(col, *width);
    if (!m_in.quoted(text)) return false;
    m_book.SetCellText(0, col, text);
    if (!m_in.number(t.maxScore) || !m_in.number(t.importance) || !m_in.fixed(t.date)) return false;
    if (!m_in.quoted(text)) return false;
    t.note.assignNote(text);
    const auto grading = flag();
    if (!grading) return false;
    t.calculateGrades = *grading;
    return ReadStepList(m_in, t.scale);
}

// A student note is stored as its whole field: text, NUL and padding. A longer text is no such
// field but a note written elsewhere; it is cut to the field as a note, not left without its
// NUL, which would read as empty.
bool GradebookReader::studentNote(FixedText<Limits::StudentNoteWidth>& note) {
    QString text;
    if (!m_in.quoted(text)) return false;
    if (text.size() > note.Width && !QStringView(text).left(note.Width).contains(QChar(u'\0')))
        note.assignNote(text);
    else
        note.assign(text);
    return true;
}

bool GradebookReader::studentSections(Version version) {
    const int rows = m_book.rowCount();
    if (version >= V1_00) {
        for (int r = 1; r < rows; ++r)
            if (!studentNote(m_book.StudentOf(r).note)) return false;
    }
    if (version >= V1_01) {
        for (int r = 1; r < rows; ++r)
            if (!m_in.fixed(m_book.StudentOf(r).includeFlags)) return false;
    } else {
        // Without stored flags every score of the file counts.
        for (int r = 1; r < rows; ++r)
            for (int c = 2; c < m_book.columnCount(); ++c)
                m_book.setIncluded(r, c, true);
    }
    if (version >= V1_02 && !ReadStepList(m_in, m_book.importanceSet())) return false;
    bool showTotal = false;
    if (version >= V1_03) {
        const auto v = flag();
        if (!v) return false;
        showTotal = *v != 0;
    }
    if (version >= V1_04) {
        for (int r = 1; r < rows; ++r) {
            StudentRecord& s = m_book.StudentOf(r);
            if (!m_in.fixed(s.id)) return false;
            const auto asId = flag();
            if (!asId) return false;
            s.showAsId = s.savedShowAsId = *asId;
            if (!m_in.fixed(s.name)) return false;
        }
    }
    SecurityRules& security = m_book.security();
    security = SecurityRules{};
    if (version >= V1_05) {
        if (!m_in.quoted(security.password)) return false;
        for (bool& on : security.protect) {
            const auto v = flag();
            if (!v) return false;
            on = *v != 0;
        }
    }
    m_book.view().showTotalScores = showTotal;
    return true;
}

bool GradebookReader::scoreLines() {
    const int cols = m_book.columnCount();
    // Cells of equal text share one string across the columns too, which lets the commands that
    // go through every cell (export, save) work out each text once.
    QSet<QString> shared;
    // Columns that format alike, as tests of one kind do, share their cells: one small table
    // stays at hand instead of one per column.
    std::deque<ColumnTexts> texts;
    std::vector<ColumnTexts*> columns;
    for (int c = 2; c < cols; ++c) {
        // The last few kinds are enough for a class, and keep a file of all different tests fast.
        const CellFormatter formatter(m_book, c);
        const auto recent = texts.rbegin() + std::min<std::ptrdiff_t>(8, std::ssize(texts));
        const auto alike = std::find_if(
            texts.rbegin(), recent, [&](const ColumnTexts& t) { return t.formatsLike(formatter); });
        columns.push_back(alike != recent ? &*alike : &texts.emplace_back(m_book, c, &shared));
    }
    QString name;
    float v = 0;
    for (int r = 1; r < m_book.rowCount(); ++r) {
        if (!m_in.quoted(name)) return false;
        m_book.SetCellText(r, 0, name);
        StudentRecord& s = m_book.StudentOf(r);
        if (s.showAsId == 0) s.name = name;
        for (int c = 2; c < cols; ++c) {
            if (!m_in.number(v)) return false;
            // An empty cell is formatted too, so an ignored one shows its "x".
            const ColumnTexts::Cell& cell = columns[std::size_t(c - 2)]->ofStored(r, c, v);
            m_book.SetCellText(r, c, cell.text, cell.value);
        }
    }
    return true;
}

bool GradebookReader::read(Version version) {
    ViewState& view = m_book.view();
    const auto display = integerIn(0, 2);
    if (!display) return false;
    view.displayMode = DisplayMode(*display);
    const auto chart = integerIn(0, 1);
    if (!chart) return false;
    view.chartSubject = ChartSubject(*chart);
    const auto working = integerIn(0, 1);
    if (!working) return false;
    view.workingMode = WorkingMode(*working);
    if (!m_in.number(m_book.totalSetup().importance)) return false;
    if (!ReadStepList(m_in, m_book.totalScales()[0]) ||
        !ReadStepList(m_in, m_book.totalScales()[1]) || !shape())
        return false;

    int testRule = 0, studentRule = 0;
    if (!m_in.integer(testRule)) return false;
    const auto nameWidth = integerIn(0, 32767);
    if (!nameWidth) return false;
    m_book.setColumnWidth(0, *nameWidth);
    for (int c = 1; c < m_book.columnCount(); ++c)
        if (!columnBlock(c)) return false;
    if (!m_in.integer(studentRule)) return false;
    for (int r = 0; r < m_book.rowCount(); ++r) {
        const auto height = integerIn(0, 32767);
        if (!height) return false;
        m_book.setRowHeight(r, std::max(*height, MinRowHeight));
    }
    if (!studentSections(version) || !scoreLines()) return false;

    // A rule the lists do not have selects their first entry. The current cell is now row 1,
    // column 1, so a sort by grade reads the Total column.
    view.testSortRule = testRule >= 0 && testRule <= TestsByDate ? testRule : TestsUnsorted;
    view.studentSortRule =
        studentRule >= 0 && studentRule <= StudentsByGrade ? studentRule : StudentsUnsorted;
    SortTests(m_book);
    SortStudents(m_book, 1);
    return true;
}

} // namespace

Result WriteGradebookFile(const Gradebook& book, const QString& path) {
    FieldWriter out;
    // Most of a file is its score lines, at about eight bytes a score.
    out.reserve(qsizetype(book.rowCount()) * (book.columnCount() * 8 + 40) + 64 * 1024);
    writeGradebook(out, book);
    return SaveFileBytes(path, out.bytes());
}

Result ReadGradebookFile(Gradebook& book, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Result::failure(u"Error opening "_s + path + u".  "_s + file.errorString());
    QByteArray bytes = file.readAll();
    // After a failed read the gradebook is untitled, so a Save cannot overwrite the file with
    // the part that was read.
    const Result readError = Result::failure(u"Error reading "_s + path);
    if (file.error() != QFileDevice::NoError) {
        book.setFileName(QString());
        return readError;
    }
    FieldReader in(std::move(bytes));

    QString tag;
    if (!in.text(tag) || !tag.startsWith(u"V E R"_s)) {
        book.setFileName(QString());
        return Result::failure(u"Invalid file format!"_s);
    }
    Gradebook::BatchUpdate batch(book);
    Gradebook::HeaderEditingOff headerOff(book);
    GradebookReader reader(book, in);
    if (!reader.read(versionOf(tag))) {
        book.setFileName(QString());
        return readError;
    }
    return Result::success();
}
