// The storage layer: gradebook and library files, text export and import, the settings store and
// the clipboard's parameter blocks.
#include "TestSupport.h"
#include "core/ScoreCell.h"
#include "core/Security.h"
#include "grading/Calculation.h"
#include "grading/Scale.h"
#include "grading/Sorting.h"
#include "storage/Fields.h"
#include "storage/GradebookFile.h"
#include "storage/LibraryFile.h"
#include "storage/ParameterBlocks.h"
#include "storage/Settings.h"
#include "storage/TextExchange.h"
#include "storage/Windows1252.h"

#include <QCoreApplication>
#include <QDir>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <functional>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace Qt::Literals::StringLiterals;
using namespace TestSupport;
using namespace ParameterBlocks;
using Opts = TextExchangeOptions;

namespace {

// Saves `book` to `path` and reads it back into `copy`, made new first as Open does.
bool reread(const Gradebook& book, Gradebook& copy, const QString& path) {
    return WriteGradebookFile(book, path) && ReadGradebookFile(NewClass(copy), path).ok();
}

// A gradebook that survived a failed read can be saved and read back whole.
bool isSane(const Gradebook& book, const QString& dir) {
    Gradebook copy;
    return reread(book, copy, dir + u"/sane.GRD"_s) && copy.rowCount() == book.rowCount() &&
           copy.columnCount() == book.columnCount();
}

// The cells of a table row, joined by "|".
QString rowOf(const Gradebook& book, int row) {
    return Row(book, row).join(u'|');
}

// Writing `book`, reading it back and writing that again give the same bytes, which are returned.
QByteArray writtenBack(const Gradebook& book, const QString& dir) {
    const QString first = dir + u"/1.GRD"_s, second = dir + u"/2.GRD"_s;
    Gradebook again;
    if (!reread(book, again, first) || !WriteGradebookFile(again, second)) return {};
    return Contents(first) == Contents(second) ? Contents(first) : QByteArray();
}

// The options from the separator and delimiter boxes and the checks turned away from their
// defaults.
enum Flag { NoHeader = 1, NoNames = 2, Grades = 4 };
Opts opts(const QString& separator, const QString& delimiter = u"\""_s, int flags = 0) {
    return {!(flags & NoHeader), !(flags & NoNames), bool(flags & Grades), separator, delimiter};
}

// The default options over the block of rows r1 to r2 and columns c1 to c2.
Opts selected(int r1, int c1, int r2, int c2) {
    return {
        .selectionOnly = true, .firstRow = r1, .firstColumn = c1, .lastRow = r2, .lastColumn = c2};
}

const Libraries Libs = LetterLibraries();

// Two students and two tests: "Quiz 1" graded out of 100, "Essay" ungraded out of 20.
// Totals: Smith (85 + 75) / 2 = 80 (B), Lee (92.5 + 0) / 2 = 46 (F).
struct SmallClass {
    Gradebook book;
    explicit SmallClass(DisplayMode mode = DisplayMode::Letters) {
        NewClass(book, Libs, 2).setShape(3, 4);
        book.view().displayMode = mode;
        book.TestOf(3).maxScore = 20;
        book.TestOf(3).calculateGrades = 0;
        const QStringList cells =
            Items(u"Name|Total|Quiz 1|Essay|Smith, John||85|15|Lee, Ann €||92.5|"_s);
        for (int i = 0; i < cells.size(); ++i)
            book.SetCellText(i / 4, i % 4, cells[i]);
        RecalcAll(book); // grades the scores
    }
};

// "rows x columns:" and "row,col=text" for every filled cell but the totals, row by row.
QString contents(const Gradebook& book) {
    QStringList out = {u"%1x%2:"_s.arg(book.rowCount()).arg(book.columnCount())};
    for (int r = 0; r < book.rowCount(); ++r)
        for (int c = 0; c < book.columnCount(); ++c)
            if (c != 1 && !book.cell(r, c).isEmpty())
                out << u"%1,%2=%3"_s.arg(r).arg(c).arg(book.cell(r, c));
    return out.join(u' ');
}

// The table's font, given before the store is read; the rest are the defaults.
const AppSettings FontDefaults = {
    0,    0, 0,     0,     0,     0,    0,        false, u"DejaVu Sans"_s,
    true, 1, false, false, false, 9.75, 0x123456, {},    {}};

// Every setting away from its default, so that a value written to the wrong name shows, in field
// order: label and slider widths, window size, place and state, hidden controls; the font's
// name, italic, character set, bold, strikethrough, underline, size and colour; the files.
const QStringList SixFiles = {u"/7b.GRD"_s, u"/Zoë, Ä.GRD"_s, u"/3"_s, u"/4"_s, u"/5"_s, u"/6"_s};
const AppSettings EveryValueSet = {
    1815,  -240, 12000, 9000, -150, 300,  2,        true,     u"Liberation Serif"_s,
    false, 238,  true,  true, true, 8.25, 0xFF8000, SixFiles, SixFiles[0]};

// Accents, a surrogate pair, a quote, a tab, a comma, a lone surrogate: texts keep every unit.
const QString Odd = u"é€😀\"\t,"_s + QChar(0xD800);
const QString Hidden = u"?????????"_s;

// Every field set, note at full length, 26 steps; the layout test expects the first characters.
TestParams fullTest(float maxScore = 87.5f) {
    TestParams t{{maxScore, 3, FixedText<Limits::DateWidth>(u"12/31/99"), {}, 1, {}}, {}};
    t.record.note.assignNote(u"N"_s + Odd.repeated(40));
    t.record.scale.name = u"S"_s + Odd.repeated(12);
    t.record.scale.count = Limits::MaxSteps;
    for (int i = 0; i < Limits::MaxSteps; ++i)
        t.record.scale.steps[std::size_t(i)] = {FixedText<Limits::GradeWidth>(u"A"_s + Odd),
                                                4.0f + 0.125f * float(i), 12.5f + 3.5f * float(i)};
    for (int k = 0; k < FlagUnits; ++k)
        t.includeFlags.set(k, QChar(u"10x"[k % 3]));
    return t;
}

StudentRecord fullStudent(const QString& id = u"I"_s) {
    StudentRecord s;
    s.id = id + Odd.repeated(5);
    s.name = u"M"_s + Odd.repeated(10);
    s.showAsId = s.savedShowAsId = 1;
    s.note.assignNote(u"T"_s + Odd.repeated(40));
    for (int k = 0; k < Limits::MaxTests; ++k)
        s.includeFlags.set(k, QChar(u"01"[k % 2]));
    return s;
}

QString shown(const StudentRecord& s) {
    return s.id.text() + u'|' + s.name.text() + u'|' + s.note.noteText();
}

QString userDir() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

const QString ReadError = u"Error reading parameters! "_s;

} // namespace

class TestStorage : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir; // a fresh one for every test
    QTemporaryDir m_libraries;            // for the whole run: libraries made by a data function
    QString path(const QString& name) const { return m_dir->filePath(name); }
    // Imports `text`, saved as in.txt, into `book` reset to the new state.
    Result importBytes(Gradebook& book, const QByteArray& text, const Opts& o) {
        if (!Store(path(u"in.txt"_s), text)) return Result::failure(u"not written"_s);
        return ImportText(NewClass(book, Libs), path(u"in.txt"_s), o, Libs);
    }
    // A store in the test's folder; keys are "section/name".
    std::unique_ptr<QSettings> store(const QString& name = u"Quillmark"_s) const {
        return std::make_unique<QSettings>(m_dir->filePath(name + u".ini"_s), QSettings::IniFormat);
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QDir(userDir()).removeRecursively();
    }
    void cleanupTestCase() { QDir(userDir()).removeRecursively(); }
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void fieldReader_data() {
        // Kinds: a letter a field, integer, float, quoted or text. Expected: the values read,
        // joined by "|"; a failed read leaves its target (4242, 0, "") alone.
        Columns<QString, QString, QString, QString>("text", "kinds", "error", "expected");
        const auto row = [](const char* tag, const QString& text, const QString& kinds,
                            const QString& expected, const QString& error = {}) {
            QTest::newRow(tag) << text << kinds << error << expected;
        };
        const QString mismatch = u"Type mismatch in line 1"_s, overflow = u"Overflow in line 1"_s;
        row("fields of every kind", u"-32768, -2.5D2 ,92.\r\n  \" a,\r\nb \"  ,x\r\n"_s, u"iffqt"_s,
            u"-32768|-250|92| a,\r\nb |x"_s);
        row("16-bit overflow", u"32768"_s, u"i"_s, u"4242"_s, overflow);
        row("16-bit underflow", u"-32769"_s, u"i"_s, u"4242"_s, overflow);
        row("huge integer", u"99999999999999999999"_s, u"i"_s, u"4242"_s, overflow);
        row("fraction for integer", u"1.5"_s, u"i"_s, u"4242"_s, mismatch);
        row("empty field for integer", u"\r\n\r\n5"_s, u"i"_s, u"4242"_s, mismatch);
        row("float overflow", u"1E+39"_s, u"f"_s, u"0"_s, overflow);
        row("double overflow", u"1E+999"_s, u"f"_s, u"0"_s, overflow);
        row("word for float", u"ten"_s, u"f"_s, u"0"_s, mismatch);
        row("exponent without digits", u"1E"_s, u"f"_s, u"0"_s, mismatch);
        row("two numbers in a field", u"1 2"_s, u"f"_s, u"0"_s, mismatch);
        row("bare for quoted", u"abc"_s, u"q"_s, {}, mismatch);
        row("unclosed quote", u"\"abc"_s, u"q"_s, {}, u"Input past end of file"_s);
        row("junk after quote", u"\"a\"b,"_s, u"q"_s, {}, mismatch);
        // Line ends inside quotes count, so later errors name their line.
        row("error after quoted lines", u"\"a\r\nb\"\r\n3\r\nx"_s, u"qii"_s, u"a\r\nb|3|4242"_s,
            u"Type mismatch in line 4"_s);
    }
    void fieldReader() {
        auto [text, kinds, error] = Fetch<QString, QString, QString>();
        FieldReader in(text);
        QStringList got;
        for (const QChar kind : kinds) {
            QString s;
            int whole = 4242;
            float real = 0;
            const bool ok = kind == u'i'   ? in.integer(whole)
                            : kind == u'f' ? in.number(real)
                            : kind == u'q' ? in.quoted(s)
                                           : in.text(s);
            got << (kind == u'i'   ? QString::number(whole)
                    : kind == u'f' ? QString::number(double(real), 'g', 9)
                                   : s);
            if (!ok) break;
        }
        QTEST(got.join(u'|'), "expected");
        QCOMPARE(in.error(), error);
        // Past the last field nothing is left; after an error the first error sticks.
        int n = 0;
        QVERIFY(!in.integer(n));
        QCOMPARE(in.error(), error.isEmpty() ? u"Input past end of file"_s : error);
    }

    void readsEveryVersion_data() {
        // Sections: how many of the later sections the version has.
        Columns<QString, int>("file", "sections");
        const char* versions[] = {"1.0s", "1.00s", "1.01s", "1.02s", "1.03s", "1.04s", "1.05s"};
        for (int i = 0; i < 7; ++i)
            QTest::newRow(versions[i]) << u"v%1.GRD"_s.arg(QLatin1String(versions[i])) << i;
        QTest::newRow("2.00s reads as 1.05s") << u"v2.00s.GRD"_s << 6;
    }
    void readsEveryVersion() {
        auto [file, sections] = Fetch<QString, int>();
        Gradebook book;
        // What the file does not say must be visible: flags off, a password and protection on.
        for (auto& s : NewClass(book).students())
            s.includeFlags = QString(Limits::MaxTests, u'0');
        book.security() = {u"old"_s, {true, true, true, true}};
        QVERIFY(ReadGradebookFile(book, DataFile(file)));
        // Items present in every version; show total is off where the file has no say.
        QCOMPARE(book.view(), (ViewState{DisplayMode::Letters, ChartSubject::CurrentTest,
                                         WorkingMode::Edit, sections >= 4, StudentsByName}));
        QCOMPARE(QList<float>({book.totalSetup().importance, float(book.rowCount()),
                               float(book.columnWidth(3)), float(book.rowHeight(8)),
                               book.TestOf(3).maxScore, book.TestOf(3).importance}),
                 QList<float>({-1, 9, 1650, 420, 50, 1}));
        QCOMPARE(QStringList({book.totalScales()[1].steps[3].grade.text(),
                              book.TestOf(2).date.text(), book.TestOf(2).note.noteText()}),
                 Items(u"Distinctio|09/15/25|Chapter 1, vocabulary"_s));
        // The table, sorted by name; without stored include flags every score counts, and the
        // totals wait for the caller's Refresh.
        const bool flags = sections >= 2;
        const QStringList table =
            u"Name|Total|Quiz 1|Essay/Adams, Ann||85     (B)|92.5/"
            u"Baker, Bob||70     (C)|40      x/Diaz, Dan||        x|47.5/"
            u"Ford, Fay||59.5   (D)|/Gray, Gus||100    (A)|50/"
            u"Hill, Hal||64     (D)|12.25/King, Kim|||/S-1008||79     (C)|0.5"_s.split(u'/');
        for (int r = 0; r < 9; ++r)
            QCOMPARE(rowOf(book, r),
                     flags ? table[r] : QString(table[r]).remove(QRegularExpression(u" +x"_s)));
        // The later sections, each absent from the versions before it.
        QCOMPARE(book.StudentOf(6).note.noteText(),
                 sections >= 1 ? u"Résumé: “excellent”"_s : u""_s);
        // Flags beyond the tests of a file without flags stay as they were.
        QCOMPARE(book.StudentOf(2).includeFlags.raw().left(3), flags ? u"101"_s : u"110"_s);
        QCOMPARE(book.importanceSet().name.text(),
                 sections >= 3 ? u"Tests and homework"_s : u"All"_s);
        QCOMPARE(book.importanceSet().steps[1].percentOfTotal, sections >= 3 ? 40.0f : 0.0f);
        QCOMPARE(QString::number(book.StudentOf(8).showAsId) + book.StudentOf(8).name.text() +
                     book.StudentOf(1).id.text(),
                 sections >= 5 ? u"1Young, YanA-1001"_s : u"0S-1008"_s);
        QCOMPARE(book.security(),
                 (sections >= 6 ? SecurityRules{u"apple pie"_s, {false, true, true, false}}
                                : SecurityRules{}));
        // Every version is written as 1.05s; that sample was written by hand in the writer's own
        // form, NULs and padding included.
        const QByteArray bytes = writtenBack(book, m_dir->path());
        QVERIFY(bytes.startsWith("\"V E R 1.05s\"\r\n"));
        if (sections == 6) QCOMPARE(bytes, Contents(DataFile(u"v1.05s.GRD"_s)));
    }

    void readsOddButValidValues() {
        Gradebook book;
        QVERIFY(ReadGradebookFile(NewClass(book), DataFile(u"odd-values.GRD"_s)));
        // -1 is on; rules the lists do not have select their first entry.
        QCOMPARE(book.view(), (ViewState{DisplayMode::PercentOfMax, ChartSubject::CurrentStudent,
                                         WorkingMode::Analyze, true}));
        QCOMPARE(book.security(), (SecurityRules{u"pw"_s, {true, false, true, true}}));
        // 1, the rule of a gradebook never switched, stays (and means "Scores"); heights below 285
        // twips less two pixels are raised to it.
        QVERIFY(book.totalSetup().importance == 1.0f && UsesScoresRule(book));
        QCOMPARE(QList<float>({float(book.TestOf(1).calculateGrades),
                               book.totalScales()[0].steps[0].topScore, float(book.rowHeight(1))}),
                 QList<float>({1, 59.5, 255}));
        // A note field without NUL reads empty; a longer text is a note cut to its field.
        QCOMPARE(book.StudentOf(1).note.noteText() + book.StudentOf(1).name.text(), u"Poe, Pat"_s);
        QCOMPARE(book.StudentOf(2).note.noteText(),
                 (u"longer than its field: "_s + u"0123456789"_s.repeated(21)).left(224));
        // The ID shows; a score of 0 and one above the maximum leave a graded cell empty, a
        // negative score on an ungraded test stays as read.
        QCOMPARE(rowOf(book, 1) + u'/' + rowOf(book, 2), u"P-1|||-3/Quinn, Quentin|||18"_s);
        QVERIFY(!writtenBack(book, m_dir->path()).isEmpty());
    }

    void roundTripKeepsWhatTheSamplesLack() {
        Gradebook book, copy;
        NewClass(book, LetterLibraries(), 3);
        for (int c = 2; c < 5; ++c)
            book.SetCellText(0, c, Items(u"Quiz|Essay|Ünit \"test\" – €"_s)[c - 2]);
        book.view() = {DisplayMode::Numbers, ChartSubject::CurrentTest,
                       WorkingMode::Edit,    false,
                       StudentsByName,       TestsByName};
        book.importanceSet().steps[0].testCount = 7;
        book.TestOf(3).note.assignNote(QString(300, u't')); // longer than its field
        book.setRowHeight(4, 40000); // beyond the 16-bit field: stored as its largest value
        for (int r = 1; r < book.rowCount(); ++r) {
            book.SetCellText(r, 0, u"Ann \"Sunny\" ł"_s + QString::number(8 - r));
            book.StudentOf(r).id = u"\"ID\" "_s + QString::number(r);
            book.SetCellText(r, 2, FormatScoreCell(book, r, 2, QString::number(60 + r * 4)));
            book.SetCellText(r, 3, FormatScoreCell(book, r, 3, u"92.5"_s));
        }
        book.setIncluded(2, 4, false); // an ignored empty score keeps its mark
        book.SetCellText(2, 4, FormatScoreCell(book, 2, 4, QString()));
        QVERIFY(reread(book, copy, path(u"trip.GRD"_s)));
        // Read back, the table is sorted by the stored rules, every score, mark and record going
        // with its student and test. Windows-1252 has no ł, and the file no escape for a quote.
        SortTests(book);
        SortStudents(book, 1);
        const auto stored = [](QString s) { return s.replace(u'ł', u'?').replace(u'"', u'\''); };
        QCOMPARE(rowOf(copy, 0), u"Name|Total|Essay|Quiz|Ünit 'test' – €"_s);
        QCOMPARE(copy.rowCount(), 8);
        for (int r = 0; r < 8; ++r)
            QCOMPARE(rowOf(copy, r), stored(rowOf(book, r)));
        QCOMPARE(copy.StudentOf(7).id.text() + copy.TestOf(2).note.noteText(),
                 u"'ID' 1"_s + QString(254, u't'));
        QCOMPARE(copy.rowHeight(4), 32767);
        QVERIFY(copy.importanceSet() == book.importanceSet() && copy.view() == book.view());
    }

    // Saved before the password of a gradebook that guards names was given, while every
    // student shows by ID, the file keeps each student as the teacher chose; an ID changed in
    // the table meanwhile is kept too. The mended fault turned every name into its ID for good.
    // Read back, still locked, and saved again without hiding the names, it stays the same. A
    // student the teacher chose to show by ID meanwhile (no password needed) stays so.
    void savedWhileNamesHidden() {
        Gradebook book, copy, again;
        NewClass(book, LetterLibraries(), 1);
        for (int r = 1; r <= 3; ++r) {
            book.StudentOf(r).name = QStringList{u"Ann Lee"_s, u"Bob Ray"_s, u"Cy Ng"_s}[r - 1];
            book.StudentOf(r).id = u"S-%1"_s.arg(r);
            book.StudentOf(r).showAsId = r == 2 ? 1 : 0;
            book.SetCellText(r, 0, r == 2 ? u"S-2"_s : book.StudentOf(r).name.text());
        }
        book.security().password = u"pw"_s;
        book.security().protect[AccessNames] = true;
        HideNames(book);
        book.SetCellText(1, 0, u"S-9"_s);
        ChooseNameAsId(book, 3, true);
        QCOMPARE(QStringList({book.GetCellText(1, 0), book.GetCellText(2, 0)}),
                 QStringList({u"S-9"_s, u"S-2"_s}));
        QVERIFY(reread(book, copy, path(u"hidden.GRD"_s)));
        QVERIFY(reread(copy, again, path(u"again.GRD"_s)));
        for (const Gradebook* read : {&copy, &again}) {
            QStringList students;
            for (int r = 1; r <= 3; ++r) {
                const StudentRecord& s = read->StudentOf(r);
                students << read->GetCellText(r, 0) + u'/' + s.name.text() + u'/' + s.id.text() +
                                u'/' + QString::number(s.showAsId);
            }
            QCOMPARE(students, QStringList({u"Ann Lee/Ann Lee/S-9/0"_s, u"S-2/Bob Ray/S-2/1"_s,
                                            u"S-3/Cy Ng/S-3/1"_s}));
        }
    }

    void scoreLineLayout() {
        // What the 1.05s sample, written back byte for byte, does not already show: a name
        // filling its zone, scores above the maximum and negative, ignored empty scores (not
        // written as 0, which would read back as a score), a large score.
        Gradebook book;
        NewClass(book, LetterLibraries(), 2).setShape(5, 4);
        book.TestOf(3).calculateGrades = 0;
        const QStringList cells = Items(u"Abcdefghijkl|70|.5|Cy|120|-3|Ed|||Fe|55|12345678"_s);
        for (int r = 1; r <= 4; ++r) {
            book.SetCellText(r, 0, cells[3 * r - 3]);
            for (int c = 2; c < 4; ++c) {
                book.setIncluded(r, c, r != 3); // Ed's scores are ignored
                book.SetCellText(r, c, FormatScoreCell(book, r, c, cells[3 * r + c - 4]));
            }
        }
        QVERIFY(WriteGradebookFile(book, path(u"lines.GRD"_s)));
        const QByteArray lines = "\"Abcdefghijkl\"              , 70  , .5  \r\n"
                                 "\"Cy\"          ,-1  , 0  \r\n"
                                 "\"Ed\"          ,-1  ,-1  \r\n"
                                 "\"Fe\"          , 55  , 1.234568E+07  \r\n";
        QCOMPARE(Contents(path(u"lines.GRD"_s)).right(lines.size()), lines);
        // Without tests the score lines hold names alone, padded to the first score zone.
        QVERIFY(ReadGradebookFile(NewClass(book), DataFile(u"no-tests.GRD"_s)));
        QVERIFY(
            writtenBack(book, m_dir->path()).endsWith("\"Abbott, Al\"  \r\n\"Zorn, Zoe\"   \r\n"));
    }

    void badFiles_data() {
        // The first two are no gradebooks (a format error, else a read error); the last four,
        // 401 tests, no students, 32,767 students and no Total column, are refused before the
        // table grows.
        Columns<QString, bool, bool>("file", "formatError", "shapeRefused");
        const QStringList files = Items(
            u"tag|empty|display-mode|chart-subject|width-overflow|integer-overflow|negative-width|"
            u"negative-height|wrong-kind|text-for-integer|scale-count|too-many-tests|no-students|"
            u"too-many-students|no-columns"_s);
        for (int i = 0; i < files.size(); ++i)
            QTest::newRow(qPrintable(files[i]))
                << DataFile(u"bad-%1.GRD"_s.arg(files[i])) << (i < 2) << (i >= 11);
    }
    void badFiles() {
        auto [file, formatError, shapeRefused] = Fetch<QString, bool, bool>();
        Gradebook book;
        NewClass(book).setFileName(file);
        QCOMPARE(ReadGradebookFile(book, file).message(),
                 formatError ? u"Invalid file format!"_s : u"Error reading "_s + file);
        QCOMPARE(book.fileName(), QString()); // a later Save cannot overwrite the file
        QVERIFY(!shapeRefused || QList({book.rowCount(), book.columnCount(),
                                        int(book.students().size())}) == QList({8, 2, 8}));
        QVERIFY(isSane(book, m_dir->path()));
    }

    // Only cuts inside the last score's trailing blanks and line end, or of its last digit, still
    // read; what any other cut leaves can be saved.
    void truncatedFilesFail() {
        const QByteArray good = Contents(DataFile(u"odd-values.GRD"_s));
        const QString cut = path(u"cut.GRD"_s);
        int complete = 0;
        for (qsizetype n = 0; n < good.size(); ++n) {
            Gradebook book;
            QVERIFY(Store(cut, good.left(n)));
            const QString message = ReadGradebookFile(NewClass(book), cut).message();
            complete += message.isEmpty() ? 1 : 0;
            const bool inTag = n <= good.indexOf('"', 1);
            QVERIFY2(message.isEmpty() ||
                         message == (inTag ? u"Invalid file format!"_s : u"Error reading "_s + cut),
                     qPrintable(QString::number(n)));
            if (n == 0 || good[n - 1] == '\n') QVERIFY(isSane(book, m_dir->path()));
        }
        QCOMPARE(complete, 5);
    }

    // A file that cannot be opened leaves the gradebook or library in memory as it was; a
    // missing folder fails the write.
    void missingPlacesFail() {
        Gradebook book;
        NewClass(book).setFileName(u"keep"_s);
        book.SetCellText(1, 0, u"Kept"_s);
        const QString missing = path(u"missing.GRD"_s), noFolder = path(u"no/such/X.GRD"_s);
        const QString read = ReadGradebookFile(book, missing).message();
        QVERIFY2(FailsWith(read, u"Error opening "_s + missing + u".  "_s), qPrintable(read));
        QCOMPARE(book.fileName() + book.cell(1, 0), u"keepKept"_s);
        Libraries libs = LetterLibraries();
        const QStringList messages = ReadLibraries(libs, path(u"none"_s));
        QVERIFY2(messages.size() == 2 && FailsWith(messages[0], ReadError) &&
                     FailsWith(messages[1], ReadError),
                 qPrintable(messages.join(u'|')));
        QVERIFY(libs.scales == LetterLibraries().scales &&
                libs.importanceSets == LetterLibraries().importanceSets);
        QCOMPARE(QList({libs.scaleCount, libs.importanceCount}), QList({2, 1}));
        for (const QString& written :
             {WriteGradebookFile(book, noFolder).message(),
              WriteLibraryFile(noFolder, libs.importanceSets, 1).message()})
            QVERIFY2(FailsWith(written, u"Error opening "_s + noFolder + u". "_s),
                     qPrintable(written));
    }

    // A save that fails midway, whether writing more than the write buffer holds or flushing
    // what it buffered, keeps the file; a library is saved as a gradebook is.
    void failedSaveKeepsPreviousFile() {
        const QString file = path(u"CLASS.GRD"_s);
        QVERIFY(Store(file, "old"));
        Gradebook large, small;
        NewClass(large).setShape(301, 2);
        NewClass(small).setShape(8, 2);
        const std::vector<GradeScale> scales(30, LetterScale());
        const std::function<Result()> saves[] = {
            [&] { return WriteGradebookFile(large, file); },
            [&] { return WriteGradebookFile(small, file); },
            [&] { return WriteLibraryFile(file, scales, 30); }};
        std::signal(SIGXFSZ, SIG_IGN); // the write fails instead of ending the program
        for (const auto& save : saves) {
            LimitFileSize(256);
            const QString message = save().message();
            LimitFileSize(RLIM_INFINITY);
            QCOMPARE(Contents(file), "old");
            QVERIFY2(FailsWith(message, u"Error writing "_s + file + u". "_s), qPrintable(message));
            QCOMPARE(Files(m_dir->path()), QStringList{u"CLASS.GRD"_s});
        }
        std::signal(SIGXFSZ, SIG_DFL);
    }

    void splitImportLine_data() {
        // The fields joined by "|".
        const Table<QString, QString, QString, QString> row("line", "separator", "delimiter",
                                                            "fields");
        const QString q = u"\""_s, c = u","_s;
        row("empty fields", u",,x,"_s, c, QString(), u"||x|"_s);
        row("separator inside delimiters", u"\"S, J\",85"_s, c, q, u"S, J|85"_s);
        row("unclosed delimiter", u"\"Smith, J"_s, c, q, u"Smith| J"_s);
        row("text after the closing delimiter; a delimiter alone", u"\"S\" Jr,\",5"_s, c, q,
            u"S\" Jr||5"_s);
        row("delimiter within", u"O'Neil;5"_s, u";"_s, u"'"_s, u"O'Neil|5"_s);
        row("long separator", u"A, 5, 6"_s, u", "_s, q, u"A| 5| 6"_s);
        row("no separator: one field", u"Ann,5"_s, QString(), q, u"Ann,5"_s);
        row("long delimiter", u"<<a,b<<,c"_s, c, u"<<"_s, u"a,b|c"_s);
    }
    void splitImportLine() {
        auto [line, separator, delimiter, fields] = Fetch<QString, QString, QString, QString>();
        QCOMPARE(SplitImportLine(line, separator, delimiter), fields.split(u'|'));
    }

    void exportText_data() {
        const Table<DisplayMode, Opts, QString> row("mode", "opts", "expected");
        row("whole table by default", DisplayMode::Letters, Opts{},
            u"\"Name\"\t\"Total\"\t\"Quiz 1\"\t\"Essay\"\r\n"
            "\"Smith, John\"\t80\t85\t15\r\n"
            "\"Lee, Ann €\"\t46\t92.5\t\r\n"_s);
        row("without names the header starts with the separator", DisplayMode::Letters,
            opts(u"{TAB}"_s, u"\""_s, NoNames),
            u"\t\"Total\"\t\"Quiz 1\"\t\"Essay\"\r\n80\t85\t15\r\n46\t92.5\t\r\n"_s);
        row("letters with grades", DisplayMode::Letters, opts(u","_s, u"\""_s, Grades),
            u"\"Name\",\"Total\",\"Total Grades\",\"Quiz 1\",\"Quiz 1 Grades\",\"Essay\","
            "\"Essay Grades\"\r\n\"Smith, John\",80,\"B\",85,\"B\",15,\r\n"
            "\"Lee, Ann €\",46,\"F\",92.5,\"A\",,\r\n"_s);
        row("numbers with grades are not delimited", DisplayMode::Numbers,
            opts(u";"_s, u"|"_s, Grades),
            u"|Name|;|Total|;|Total Grades|;|Quiz 1|;|Quiz 1 Grades|;|Essay|;|Essay Grades|\r\n"
            "|Smith, John|;80;3.0;85;3.0;15;\r\n|Lee, Ann €|;46;0.0;92.5;4.0;;\r\n"_s);
        row("percent of max with grades", DisplayMode::PercentOfMax,
            opts(u";"_s, u"\""_s, NoHeader | NoNames | Grades),
            u"80;;85;\"85%\";15;\r\n46;;92.5;\"93%\";;\r\n"_s);
        row("numbers, space and apostrophes", DisplayMode::Numbers, opts(u"{SPACE}"_s, u"'"_s),
            u"'Name' 'Total' 'Quiz 1' 'Essay'\r\n"
            "'Smith, John' 80 85 15\r\n'Lee, Ann €' 46 92.5 \r\n"_s);
        row("selection of one student", DisplayMode::Letters, selected(2, 2, 2, 3),
            u"\"Name\"\t\"Quiz 1\"\t\"Essay\"\r\n\"Lee, Ann €\"\t92.5\t\r\n"_s);
        row("selection over header and names takes scores only", DisplayMode::Letters,
            selected(0, 0, 1, 2),
            u"\"Name\"\t\"Total\"\t\"Quiz 1\"\r\n\"Smith, John\"\t80\t85\r\n"_s);
        row("selection reversed and beyond the table", DisplayMode::Letters, selected(40, 90, 1, 3),
            u"\"Name\"\t\"Essay\"\r\n\"Smith, John\"\t15\r\n\"Lee, Ann €\"\t\r\n"_s);
    }
    void exportText() {
        auto [mode, opts] = Fetch<DisplayMode, Opts>();
        SmallClass c{mode};
        const QString file = path(u"out.txt"_s);
        QVERIFY(ExportText(c.book, file, opts).ok());
        QTEST(DecodeWindows1252(Contents(file)), "expected"); // € is one byte
        if (!opts.testNamesRow || !opts.studentNamesColumn || opts.selectionOnly) return;
        // A whole table with both names reads back. Grade columns come back as tests of their
        // own, after "Total Grades" and after each test; the tests are ungraded, their maximum is
        // their highest score, and their columns are wider than new ones.
        Gradebook back;
        QVERIFY(importBytes(back, Contents(file), opts).ok());
        QCOMPARE(back.cell(1, 0) + u'|' + back.cell(2, 0), u"Smith, John|Lee, Ann €"_s);
        QCOMPARE(back.columnCount(), opts.includeGrades ? 7 : 4);
        for (const auto& [col, max] : {std::pair(2, 92.5f), std::pair(3, 15.0f)}) {
            const int at = opts.includeGrades ? 2 * col - 1 : col;
            QCOMPARE(back.cell(0, at), c.book.cell(0, col));
            for (int r = 1; r < 3; ++r)
                QCOMPARE(back.cell(r, at), ScoreOfCell(c.book.cell(r, col)));
            QCOMPARE(back.TestOf(at).maxScore, max);
            QCOMPARE(back.columnWidth(at), Limits::DefaultColumnWidth * 5 / 2);
        }
    }

    void importText_data() {
        // Why the import stopped; empty when the whole file is imported.
        const Table<Opts, QByteArray, QString, QString> row("opts", "file", "why", "table");
        const Opts semicolon = opts(u";"_s), noHeader = opts(u","_s, u"\""_s, NoHeader);
        row("without names the scores start at the first test",
            opts(u","_s, u"\""_s, NoHeader | NoNames), QByteArray("5,6\r\n7\r\n"), QString(),
            u"8x4: 0,0=Name 1,2=5 1,3=6 2,2=7"_s);
        row("Windows-1252, double quotes in names become apostrophes", opts(u";"_s, u"'"_s),
            QByteArray("'N';'T';'Q\"1'\r\n'O\"Neil \x80\xEB';;4\r\n"), QString(),
            u"8x3: 0,0=Name 0,2=Q'1 1,0=O'Neil €ë 1,2=4"_s);
        row("delimited and padded scores are numbers, other text is kept", noHeader,
            QByteArray("\"Ann\",\"\",\"85\", 7 ,-2,abs,-,.\r\n"), QString(),
            u"8x8: 0,0=Name 1,0=Ann 1,2=85 1,3=7 1,4=-2 1,5=abs 1,6=- 1,7=."_s);
        row("line ends of every kind, the last line without one", noHeader,
            QByteArray("A,,1\rB,,2\nC,,3\r\nD,,4"), QString(),
            u"8x3: 0,0=Name 1,0=A 1,2=1 2,0=B 2,2=2 3,0=C 3,2=3 4,0=D 4,2=4"_s);
        row("empty file", semicolon, QByteArray(), QString(), u"8x2: 0,0=Name"_s);
        // "r,c=text" for the columns from ... to of a row.
        const auto run = [](int r, int from, int to, const QString& text) {
            QStringList cells;
            for (int c = from; c <= to; ++c)
                cells << u"%1,%2=%3"_s.arg(r).arg(c).arg(text);
            return cells.join(u' ');
        };
        // The import stops at a field of the third line: the lines before stay, the second
        // longer than the header, and so do the fields of the third line before that field.
        auto third = [&](const char* tag, const QByteArray& line, const QString& why,
                         const QString& kept, int columns = 4) {
            row(tag, semicolon, "Name;Total;T\r\nAnn;;1;2\r\n" + line + "\r\nBo;;5",
                u"Line 3"_s + why,
                u"8x%1: 0,0=Name 0,2=T 1,0=Ann 1,2=1 1,3=2 "_s.arg(columns) + kept);
        };
        third("percent sign", "Bad;;60;85%", u", field 4: \"85%\" is not a number."_s,
              u"2,0=Bad 2,2=60"_s);
        const QByteArray fives = QByteArray(";5").repeated(Limits::MaxTests);
        const QByteArray header = "Name;Total" + QByteArray(";T").repeated(Limits::MaxTests);
        third("401 tests in a line", "Cy;" + fives + ";5", u" holds more than 400 tests."_s,
              u"2,0=Cy "_s + run(2, 2, 401, u"5"_s), 402);
        row("401 tests without names", opts(u";"_s, u"\""_s, NoNames),
            "Name;Total;T\r\n1\r\n5" + fives, u"Line 3 holds more than 400 tests."_s,
            u"8x402: 0,0=Name 0,2=T 1,2=1 "_s + run(2, 2, 401, u"5"_s));
        row("401 tests in the header", semicolon, header + ";T\r\nFirst;;1",
            u"Line 1 holds more than 400 tests."_s, u"8x402: 0,0=Name "_s + run(0, 2, 401, u"T"_s));
        row("400 tests in the header and in a line without names", opts(u";"_s, u"\""_s, NoNames),
            header + "\r\n5" + fives.mid(2), QString(),
            u"8x402: 0,0=Name "_s + run(0, 2, 401, u"T"_s) + u' ' + run(1, 2, 401, u"5"_s));
        row("32767 students", opts(u";"_s, u"\""_s, NoHeader | NoNames),
            QByteArray("\r\n").repeated(32767), u"The file holds more than 32766 students."_s,
            u"32767x3: 0,0=Name"_s);
    }
    void importText() {
        auto [opts, file, why] = Fetch<Opts, QByteArray, QString>();
        Gradebook book;
        const Result result = importBytes(book, file, opts);
        const QString stopped = u"Error importing from "_s + path(u"in.txt"_s) + u". "_s + why;
        QCOMPARE(result.message(), why.isEmpty() ? QString() : stopped);
        QTEST(contents(book), "table"); // a new gradebook's rows stay
    }

    void importGrowsTheTable() {
        QByteArray text = "Name\tTotal\tLow\tHigh\tNumber\r\n";
        for (int i = 0; i < 10; ++i) // more students than a new gradebook has rows
            text +=
                u"S%1\t\t%2\t%3\t%4\r\n"_s.arg(i).arg(-i).arg(i * 1.5).arg(2023120 + i).toLatin1();
        Gradebook book;
        QVERIFY(importBytes(book, text, Opts{}).ok() && book.rowCount() == 11);
        QCOMPARE(book.TestOf(2).scale, Libs.scale(0));
        // No score of Low is above 0. A student number is a number too; as every score, it is
        // read from its first six characters, which also give the test's maximum.
        QCOMPARE(QList({book.TestOf(2).maxScore, book.TestOf(4).maxScore}), QList({0.f, 202312.f}));
        QCOMPARE(book.GetCellText(10, 4), u"202312"_s);
        // Grown rows are blank students who count every test, as the new ones are.
        for (int r = 1; r <= 10; ++r)
            QCOMPARE(book.StudentOf(r), NewStudentRecord());
        // Their scores count towards their totals: S9 has 13.5 of 13.5 on High.
        QVERIFY(!book.cell(10, 1).isEmpty());
    }

    void storedValueIsRead_data() {
        // Saved as: what the loaded value is saved as again.
        Columns<QString, QString, QString>("key", "text", "savedAs");
        const QString longPath = u"/"_s + QString(253, u'x');
        auto row = [](const char* tag, QStringView key, QStringView text, QStringView savedAs) {
            QTest::newRow(tag) << key.toString() << text.toString() << savedAs.toString();
        };
        row("flag padded", u"Scale Geometry/Hide Controls", u"  True ", u"True");
        row("flag lower case", u"Scale Geometry/Hide Controls", u"true", u"False");
        row("flag False over a true default", u"Font/Italic", u"False", u"False");
        row("number with a tail", u"Scale Geometry/Main Width", u"1200x", u"1200");
        row("number of 20 characters", u"Scale Geometry/Main Width", u"00000000000000001200", u"0");
        row("left fraction rounds", u"Scale Geometry/Left", u"1814.6", u"1815");
        row("left beyond 16 bits", u"Scale Geometry/Left", u"40000", u"0");
        row("state unknown", u"Scale Geometry/Main State", u"7", u"0");
        row("colour negative keeps the font's", u"Font/ForeColor", u"-2147483640",
            QString::number(FontDefaults.foreColor));
        row("font name too long", u"Font/Name", QString(255, u'N'), u"DejaVu Sans");
        row("recent files missing read empty", u"File/Files in menu", u"2", u"2");
        row("recent files negative", u"File/Files in menu", u"-3", u"0");
        row("last file keeps its blanks", u"File/Last File", u"/a b.GRD ", u"/a b.GRD ");
        row("last file one space means none", u"File/Last File", u" ", QString());
        row("last file of 254 characters", u"File/Last File", longPath, longPath);
    }
    void storedValueIsRead() {
        auto [key, text] = Fetch<QString, QString>();
        store()->setValue(key, text);
        QVERIFY(SaveSettings(*store(u"again"_s), LoadSettings(*store(), FontDefaults)).ok());
        QTEST(store(u"again"_s)->value(key).toString(), "savedAs");
    }

    // An empty store gives the defaults; every value written reads back; a store that cannot be
    // written is reported by every kind of write.
    void settingsRoundTrip() {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir->path());
        const auto user = OpenSettingsStore();
        QCOMPARE(QDir::cleanPath(user->fileName()), path(u"Quillmark/Quillmark.ini"_s));
        QCOMPARE(LoadSettings(*user, FontDefaults), FontDefaults); // no files, controls shown
        const auto s = store();
        QVERIFY(SaveSettings(*s, EveryValueSet).ok());
        AppSettings expected = EveryValueSet;
        expected.recentFiles.resize(MaxRecentFiles);
        QCOMPARE(LoadSettings(*store(), FontDefaults), expected);
        QVERIFY(!store()->contains(u"File/File5"_s));
        s->setValue(u"File/Files in menu"_s, u"6"_s); // an older store's count: the menu keeps four
        QCOMPARE(LoadSettings(*s, FontDefaults).recentFiles, expected.recentFiles);
        // The writes outside start-up and exit leave the other values; the new count of two
        // leaves out the files stored beyond it.
        QVERIFY(SaveScaleGeometry(*s, 2000, 3000).ok());
        QVERIFY(SaveFileSection(*s, {u"/new.GRD"_s, u"/b.GRD"_s}, u"/new.GRD"_s).ok());
        QVERIFY(SaveLastFile(*s, u" "_s).ok());
        std::tie(expected.labelColumnWidth, expected.sliderWidth) = std::pair(2000, 3000);
        expected.recentFiles = {u"/new.GRD"_s, u"/b.GRD"_s};
        expected.lastFile.clear();
        QCOMPARE(store()->value(u"File/Last File"_s).toString(), u" "_s);
        QCOMPARE(LoadSettings(*store(), FontDefaults), expected);
        // A folder that is a plain file cannot hold the store, whoever runs the test.
        QVERIFY(Store(path(u"not-a-folder"_s), {}));
        const QString prefix = u"Error writing settings "_s + path(u"not-a-folder/Quillmark.ini"_s);
        const std::function<Result(QSettings&)> saves[] = {
            [](QSettings& s) { return SaveSettings(s, EveryValueSet); },
            [](QSettings& s) { return SaveScaleGeometry(s, 1, 2); },
            [](QSettings& s) { return SaveFileSection(s, {}, {}); },
            [](QSettings& s) { return SaveLastFile(s, u" "_s); }};
        for (const auto& save : saves) { // each on a store of its own, which has not failed yet
            const QString message = save(*store(u"not-a-folder/Quillmark"_s)).message();
            QVERIFY2(FailsWith(message, prefix + u". "_s), qPrintable(message));
        }
    }

    void addRecentFile_data() {
        // Paths joined by spaces.
        const Table<QString, QString, QString> row("before", "added", "after");
        row("duplicate moves to the front", u"/a /b /c"_s, u"/c"_s, u"/c /a /b"_s);
        row("case makes another file", u"/A"_s, u"/a"_s, u"/a /A"_s);
        row("fifth drops the oldest", u"/1 /2 /3 /4"_s, u"/5"_s, u"/5 /1 /2 /3"_s);
        row("empty path is not a file", u"/a"_s, QString(), u"/a"_s);
    }
    void addRecentFile() {
        auto [before, added] = Fetch<QString, QString>();
        QStringList list = before.split(u' ', Qt::SkipEmptyParts);
        AddRecentFile(list, added);
        QTEST(list.join(u' '), "after");
    }

    void blockLayout_data() {
        Columns<QByteArray, int, QByteArray>("block", "offset", "hex");
        const QByteArray t = EncodeTestBlock(fullTest()), s = EncodeStudentBlock(fullStudent());
        // clang-format off
        const std::tuple<const char*, QByteArray, int, const char*> rows[] = {
            {"maxScore 87.5, importance 3, unused, date", t, 0, "0000af42000040400000000031003200"},
            {"note", t, 28, "4e00e900"}, {"note's NUL, calculate grades", t, 536, "00000100"},
            {"scale name", t, 540, "5300"}, {"step count 26, first grade", t, 690, "1a004100"},
            {"first value 4", t, 712, "00008040"}, {"last top score 100", t, 1416, "0000c842"},
            {"first include flags", t, 1420, "310030007800"}, {"last flag", t, 3418, "3100"},
            {"student id, Name as ID -1, name", s, 48, "00d8ffff4d00"},
            {"student note", s, 202, "5400"}, {"student last flag", s, 1450, "3100"},
            {"note's NUL, include flags", s, 650, "000030003100"}};
        // clang-format on
        for (const auto& [name, block, offset, hex] : rows)
            QTest::newRow(name) << block << offset << QByteArray::fromHex(hex);
    }
    void blockLayout() {
        auto [block, offset, hex] = Fetch<QByteArray, int, QByteArray>();
        QCOMPARE(block.mid(offset, hex.size()).toHex(), hex.toHex());
    }

    // Any bytes decode to values within their fields' limits, stable when encoded again; a
    // float that is not finite reads as 0.
    void garbageBlocks_data() {
        QTest::addColumn<QByteArray>("bytes");
        QRandomGenerator random(20240901);
        for (int size : {1, 1451, 1452, 1453, 3419, 3420, 3421, 6841, 10260}) {
            QByteArray bytes(size, '\0');
            std::ranges::generate(bytes, [&] { return char(random.bounded(256)); });
            QTest::addRow("random %d", size) << bytes;
        }
        QTest::newRow("all 0xFF: NaN, count -1") << QByteArray(2 * TestSize, '\xff');
        QTest::newRow("infinities, count 32640") << QByteArray::fromHex("0000807f").repeated(1710);
    }
    void garbageBlocks() {
        QFETCH(QByteArray, bytes);
        const auto tests = DecodeTestBlocks(bytes);
        QCOMPARE(tests.size(), bytes.size() / TestSize);
        for (const TestParams& t : tests) {
            const GradeScale& scale = t.record.scale;
            bool finite = std::isfinite(t.record.maxScore) && std::isfinite(t.record.importance);
            for (const ScaleStep& step : scale.steps)
                finite = finite && std::isfinite(step.value) && std::isfinite(step.topScore);
            QVERIFY(finite && scale.count >= 0 && scale.count <= Limits::MaxSteps);
            QCOMPARE(DecodeTestBlocks(EncodeTestBlock(t)), QList{t});
        }
        if (bytes.startsWith("\xff") || bytes.startsWith(QByteArray::fromHex("0000807f")))
            QCOMPARE(tests[0].record.maxScore, 0.0f);
        const auto students = DecodeStudentBlocks(bytes);
        QCOMPARE(students.size(), bytes.size() / StudentSize);
        for (const StudentRecord& s : students) {
            QVERIFY((s.showAsId == 0 || s.showAsId == 1) && s.savedShowAsId == s.showAsId);
            QCOMPARE(DecodeStudentBlocks(EncodeStudentBlock(s)), QList{s});
        }
    }

    // Blocks decode to what was encoded. A selection's blocks and back: only columns and rows
    // with records, the Total column without flags, the first 1000 students' flags, hidden
    // identities masked.
    void selectionBlocks() {
        QCOMPARE(DecodeTestBlocks(EncodeTestBlock(fullTest())), QList{fullTest()});
        QCOMPARE(DecodeStudentBlocks(EncodeStudentBlock(fullStudent())), QList{fullStudent()});
        Gradebook book, other;
        book.setShape(1002, 4);
        other.setShape(1002, 3);
        book.TestOf(3).maxScore = 50;
        for (int row : {1, 1000, 1001})
            book.setIncluded(row, 3, false);
        const auto tests = DecodeTestBlocks(EncodeTestBlocks(book, 0, 9));
        QCOMPARE(tests.size(), 3);
        QCOMPARE(tests[0].includeFlags, FixedText<FlagUnits>());
        for (int col : {0, 2, 3})
            ApplyTestParams(other, col, tests[2]);
        QCOMPARE(other.TestOf(2), book.TestOf(3));
        QCOMPARE(QList({other.isIncluded(1, 2), other.isIncluded(2, 2), other.isIncluded(1000, 2),
                        other.isIncluded(1001, 2)}),
                 QList({false, true, false, true}));
        // Where a block has no flag (the Total's has none, a smaller class's none beyond its own
        // students), the students keep theirs.
        ApplyTestParams(other, 2, tests[0]);
        QVERIFY(!other.isIncluded(1, 2) && other.isIncluded(2, 2));

        book.StudentOf(1) = fullStudent(u"Ann"_s);
        book.StudentOf(2).name = u"Bob"_s;
        const auto masked =
            DecodeStudentBlocks(EncodeStudentBlocks(book, 0, 2, StudentIdentity::Masked));
        QCOMPARE(shown(masked.value(0)),
                 book.StudentOf(1).id.text() + u'|' + Hidden + u'|' + Hidden);
        QCOMPARE(shown(masked.value(1)), Hidden + u"|Bob|"_s + Hidden);
    }

    void readsSamples() {
        Libraries libs;
        QCOMPARE(ReadLibraries(libs, DataFile({})), QStringList());
        QCOMPARE(QList({libs.scaleCount, libs.importanceCount}), QList({3, 2}));
        QCOMPARE(libs.scales[0], LetterScale(u"Letter grades"_s));
        QCOMPARE(libs.scales[1].steps[0].topScore, 64.99f);
        QCOMPARE(libs.scales[2].name.text() + QString::number(libs.scales[2].count),
                 u"(noname)0"_s);
        QCOMPARE(libs.importanceSets[0],
                 GroupSet({{u"Tests", 50}, {u"Quizzes", 30}, {u"Homework", 20}}, u"Standard"_s));
        QCOMPARE(libs.importanceSets[1], GroupSet({{u"Exams", 100}}, u"Exams only"_s));
        // Written back, they are the same bytes.
        QVERIFY(WriteLibraryFile(path(ScaleLibraryName), libs.scales, 3) &&
                WriteLibraryFile(path(ImportanceLibraryName), libs.importanceSets, 2));
        for (const QString& name : {ScaleLibraryName, ImportanceLibraryName})
            QCOMPARE(Contents(path(name)), Contents(DataFile(name)));
    }

    void entryCounts_data() {
        // Kept: entries read, which stay after an error too; size: 6, growing by 5.
        Columns<QString, QString, int, int>("file", "message", "kept", "size");
        const auto row = [](const char* tag, const QString& file, int kept,
                            const QString& message = {}, int size = 6) {
            QTest::newRow(tag) << file << message << kept << size;
        };
        row("seven entries", DataFile(u"lib-seven.dat"_s), 7, {}, 11);
        row("name and count on one line", DataFile(u"lib-one-line.dat"_s), 2);
        row("empty file", DataFile(u"lib-empty.dat"_s), 0);
        // The 51st entry is never taken; the warning comes with exactly 50 too, as the reader
        // stops without looking further.
        for (const int n : {49, 50, 51}) {
            std::vector<GradeScale> many;
            for (int i = 1; i <= n; ++i)
                many.push_back(LetterScale(u"Scale %1"_s.arg(i)));
            const QString file = m_libraries.filePath(u"%1.dat"_s.arg(n));
            QVERIFY(WriteLibraryFile(file, many, n));
            row(qPrintable(u"%1 entries"_s.arg(n)), file, std::min(n, 50),
                n < 50 ? QString() : u"Warning: Only 50 Entries were loaded!"_s, 51);
        }
        row("count of 27 steps", DataFile(u"lib-count27.dat"_s), 2,
            ReadError + u"Subscript out of range in line 27"_s);
        row("ends inside an entry", DataFile(u"lib-truncated.dat"_s), 1,
            ReadError + u"Input past end of file"_s);
        row("a gradebook is no library", DataFile(u"v1.05s.GRD"_s), 0,
            ReadError + u"Type mismatch in line 3"_s);
    }
    void entryCounts() {
        auto [file, message, kept, size] = Fetch<QString, QString, int, int>();
        std::vector<GradeScale> library;
        const LibraryReadResult read = ReadLibraryFile(file, library);
        // None count after an error.
        QCOMPARE(std::tuple(read.count, read.message, int(library.size())),
                 std::tuple(message.startsWith(ReadError) ? 0 : kept, message, size));
        for (int i = 0; i < size; ++i)
            QCOMPARE(library[std::size_t(i)].name.text().isEmpty(), i >= kept);
        // A count beyond the library writes what there is.
        const QString copy = path(u"copy.dat"_s);
        QVERIFY(WriteLibraryFile(copy, library, 99));
        QCOMPARE(ReadLibraryFile(copy, library).count, std::min(size, 50));
    }

    // The shipped libraries read whole, and a new test on their first scale gives 85 a B. The
    // program reads the user's copy first, then the one beside it, then the installed one; a
    // folder given explicitly is used alone.
    void libraryPlaces() {
        Libraries libs;
        QCOMPARE(ReadLibraries(libs, QStringLiteral(QUILLMARK_RESOURCES)), QStringList());
        QCOMPARE(QList({libs.scaleCount, libs.importanceCount}), QList({7, 4}));
        const TestRecord test = NewTestRecord(libs, QDate(2026, 9, 1));
        QCOMPARE(test.scale.steps[std::size_t(GradeIndex(test, 85))].grade.text(), u"B"_s);
        const QString name = u"tst-storage-%1.dat"_s.arg(QCoreApplication::applicationPid());
        const QDir programDir(QCoreApplication::applicationDirPath());
        const QString beside = programDir.filePath(name), userCopy = QDir(userDir()).filePath(name);
        QCOMPARE(LibraryReadPath(name),
                 QDir::cleanPath(programDir.filePath(u"../share/quillmark/"_s + name)));
        QVERIFY(Store(beside, "x"));
        QCOMPARE(LibraryReadPath(name), beside);
        QCOMPARE(LibraryWritePath(name), userCopy); // which creates the user's folder
        QVERIFY(Store(userCopy, "x"));
        QCOMPARE(LibraryReadPath(name), userCopy);
        QCOMPARE(LibraryReadPath(name, m_dir->path()), path(name));
        QCOMPARE(LibraryWritePath(name, m_dir->path()), path(name));
        QFile::remove(beside);
    }
};

QTEST_GUILESS_MAIN(TestStorage)
#include "tst_storage.moc"
