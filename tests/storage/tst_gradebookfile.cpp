#include "core/NewGradebook.h"
#include "core/TestCommands.h"
#include "grading/Calculation.h"
#include "storage/Fields.h"
#include "storage/GradebookFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace Qt::Literals::StringLiterals;

namespace {

QString dataFile(const QString& name) {
    return QStringLiteral(QUILLMARK_TEST_DATA) + u'/' + name;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool store(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

GradeScale letterScale(const QString& name) {
    GradeScale s;
    s.name = name;
    const char16_t* grades[] = {u"F", u"D", u"C", u"B", u"A"};
    const float tops[] = {59, 69, 79, 89, 100};
    for (int i = 0; i < 5; ++i) {
        s.steps[std::size_t(i)].grade = QStringView(grades[i]);
        s.steps[std::size_t(i)].value = float(i);
        s.steps[std::size_t(i)].topScore = tops[i];
    }
    s.count = 5;
    return s;
}

Libraries testLibraries() {
    Libraries libs;
    libs.scales = {letterScale(u"Library letters"_s), letterScale(u"Library second"_s)};
    ImportanceSet set;
    set.name = u"Library set"_s;
    set.count = 1;
    set.steps[0].name = u"All"_s;
    set.steps[0].percentOfTotal = 100;
    libs.importanceSets = {set};
    return libs;
}

// The state a gradebook is in before Open reads into it.
void resetToNew(Gradebook& book) {
    ResetToNew(book, testLibraries());
}

// A gradebook that survived a failed read can be saved and read back.
bool isSane(Gradebook& book, const QString& dir) {
    const QString path = dir + u"/sane.GRD"_s;
    if (!WriteGradebookFile(book, path)) return false;
    Gradebook copy;
    resetToNew(copy);
    return ReadGradebookFile(copy, path).ok() && copy.rowCount() == book.rowCount() &&
           copy.columnCount() == book.columnCount();
}

QByteArray writtenBytes(const Gradebook& book, const QString& path) {
    return WriteGradebookFile(book, path) ? contents(path) : QByteArray();
}

// The line of the written file that starts with `start`.
QByteArray lineStartingWith(const QByteArray& file, const QByteArray& start) {
    for (const QByteArray& line : file.split('\n'))
        if (line.startsWith(start)) return line;
    return {};
}

// Names in table order, as the sample class sorts them.
const QStringList SampleNames = {u"Adams, Ann"_s, u"Baker, Bob"_s, u"Diaz, Dan"_s, u"Ford, Fay"_s,
                                 u"Gray, Gus"_s,  u"Hill, Hal"_s,  u"King, Kim"_s, u"S-1008"_s};

FieldReader readerOf(const QString& text) {
    return FieldReader(text);
}

} // namespace

class TestGradebookFile : public QObject {
    Q_OBJECT
private slots:
    void init();

    void fieldReader_data();
    void fieldReader();
    void fieldReaderTakesQuotedTextAcrossLines();
    void fieldWriterSeparatesAndEncodes();

    void readsEveryVersion_data();
    void readsEveryVersion();
    void newStudentsStartBlank();
    void readsOddButValidValues();
    void readsGradebookWithoutTests();

    void writeReadWriteGivesSameBytes_data();
    void writeReadWriteGivesSameBytes();
    void canonicalFileIsWrittenBackUnchanged();
    void roundTripKeepsTheDocument();
    void scoreLineLayout_data();
    void scoreLineLayout();
    void ignoredEmptyScoreKeepsItsMark();
    void doubleQuoteInTextsReadsBack();
    void readSortsByTheStoredRules();

    void badFiles_data();
    void badFiles();
    void absurdShapesAllocateNothing_data();
    void absurdShapesAllocateNothing();
    void truncatedAtEveryLine();
    void truncatedAtEveryByteNeverCrashes();
    void missingFileChangesNothing();
    void saveIntoMissingFolderFails();
    void failedSaveKeepsPreviousFile();

private:
    QTemporaryDir m_dir;
};

void TestGradebookFile::init() {
    QVERIFY(m_dir.isValid());
}

// --- fields ---

void TestGradebookFile::fieldReader_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kind"); // int, float, quoted, text
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("error"); // empty when the read succeeds

    QTest::newRow("integer") << u"  12 ,"_s << u"int"_s << u"12"_s << QString();
    QTest::newRow("negative integer at a line end")
        << u"-7\r\n"_s << u"int"_s << u"-7"_s << QString();
    QTest::newRow("smallest 16-bit") << u"-32768"_s << u"int"_s << u"-32768"_s << QString();
    QTest::newRow("largest 16-bit") << u"32767"_s << u"int"_s << u"32767"_s << QString();
    QTest::newRow("16-bit overflow")
        << u"32768"_s << u"int"_s << QString() << u"Overflow in line 1"_s;
    QTest::newRow("16-bit underflow")
        << u"-32769"_s << u"int"_s << QString() << u"Overflow in line 1"_s;
    QTest::newRow("huge integer") << u"99999999999999999999"_s << u"int"_s << QString()
                                  << u"Overflow in line 1"_s;
    QTest::newRow("fraction for integer")
        << u"1.5"_s << u"int"_s << QString() << u"Type mismatch in line 1"_s;
    QTest::newRow("quoted for integer")
        << u"\"1\""_s << u"int"_s << QString() << u"Type mismatch in line 1"_s;
    QTest::newRow("empty field for integer")
        << u"\r\n\r\n5"_s << u"int"_s << QString() << u"Type mismatch in line 1"_s;
    QTest::newRow("sign alone") << u"-"_s << u"int"_s << QString() << u"Type mismatch in line 1"_s;
    QTest::newRow("nothing left") << u"   "_s << u"int"_s << QString()
                                  << u"Input past end of file"_s;

    QTest::newRow("half") << u".5"_s << u"float"_s << u"0.5"_s << QString();
    QTest::newRow("minus a quarter") << u"-.25"_s << u"float"_s << u"-0.25"_s << QString();
    QTest::newRow("exponent") << u"1E+07"_s << u"float"_s << u"10000000"_s << QString();
    QTest::newRow("old exponent letter") << u"2.5D2"_s << u"float"_s << u"250"_s << QString();
    QTest::newRow("trailing point") << u"92."_s << u"float"_s << u"92"_s << QString();
    QTest::newRow("float overflow")
        << u"1E+39"_s << u"float"_s << QString() << u"Overflow in line 1"_s;
    QTest::newRow("double overflow")
        << u"1E+999"_s << u"float"_s << QString() << u"Overflow in line 1"_s;
    QTest::newRow("word for float")
        << u"ten"_s << u"float"_s << QString() << u"Type mismatch in line 1"_s;
    QTest::newRow("exponent without digits")
        << u"1E"_s << u"float"_s << QString() << u"Type mismatch in line 1"_s;
    QTest::newRow("two numbers in a field")
        << u"1 2"_s << u"float"_s << QString() << u"Type mismatch in line 1"_s;

    QTest::newRow("quoted keeps spaces and commas")
        << u"  \" a, b \"  ,x"_s << u"quoted"_s << u" a, b "_s << QString();
    QTest::newRow("bare for quoted")
        << u"abc"_s << u"quoted"_s << QString() << u"Type mismatch in line 1"_s;
    QTest::newRow("unclosed quote")
        << u"\"abc"_s << u"quoted"_s << QString() << u"Input past end of file"_s;
    QTest::newRow("junk after quote")
        << u"\"a\"b,"_s << u"quoted"_s << QString() << u"Type mismatch in line 1"_s;
    QTest::newRow("bare text") << u"  GRD file  \r\n"_s << u"text"_s << u"GRD file"_s << QString();
    QTest::newRow("quoted text") << u"\"V E R 1.05s\""_s << u"text"_s << u"V E R 1.05s"_s
                                 << QString();
}

void TestGradebookFile::fieldReader() {
    QFETCH(QString, text);
    QFETCH(QString, kind);
    QFETCH(QString, expected);
    QFETCH(QString, error);

    FieldReader in = readerOf(text);
    QString got;
    bool ok = false;
    if (kind == u"int") {
        int v = 4242;
        ok = in.integer(v);
        got = QString::number(v);
        if (!ok) QCOMPARE(v, 4242); // a failed read leaves its target alone
    } else if (kind == u"float") {
        float v = 0;
        ok = in.number(v);
        got = QString::number(double(v), 'g', 9);
    } else if (kind == u"quoted") {
        ok = in.quoted(got);
    } else {
        ok = in.text(got);
    }
    QCOMPARE(ok, error.isEmpty());
    QCOMPARE(in.error(), error);
    if (ok) QCOMPARE(got, expected);
    // The first error sticks: nothing more can be read.
    if (!ok) {
        int v = 0;
        QVERIFY(!in.integer(v));
        QCOMPARE(in.error(), error);
    }
}

void TestGradebookFile::fieldReaderTakesQuotedTextAcrossLines() {
    FieldReader in = readerOf(u"\"first\r\nsecond\",3\r\n\r\nnext"_s);
    QString text;
    int n = 0;
    QVERIFY(in.quoted(text));
    QCOMPARE(text, u"first\r\nsecond"_s);
    QVERIFY(in.integer(n));
    QCOMPARE(n, 3);
    QCOMPARE(in.line(), 3);
    QVERIFY(!in.atEnd());
    QVERIFY(in.text(text));
    QCOMPARE(text, u"next"_s);
    QVERIFY(in.atEnd());
}

void TestGradebookFile::fieldWriterSeparatesAndEncodes() {
    FieldWriter out;
    FixedText<6> fixed;
    fixed.set(0, u'A');
    fixed.set(1, u'b');
    out.quoted(u"Café \"Le Ciel\" €"_s);
    out.number(0.5f);
    out.integer(-3);
    out.endLine();
    out.fixed(fixed);
    out.endLine();
    out.quoted(u"łódź"_s);
    out.endLine();
    const QByteArray expected = QByteArray("\"Caf\xe9 'Le Ciel' \x80\",.5,-3\r\n") +
                                QByteArray("\"Ab\0\0\0\0\"\r\n", 10) +
                                "\"?\xf3"
                                "d?\"\r\n";
    QCOMPARE(out.bytes(), expected);
}

// --- reading the samples ---

void TestGradebookFile::readsEveryVersion_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("sections"); // how many of the later sections the version has

    QTest::newRow("1.0s") << u"v1.0s.GRD"_s << 0;
    QTest::newRow("1.00s") << u"v1.00s.GRD"_s << 1;
    QTest::newRow("1.01s") << u"v1.01s.GRD"_s << 2;
    QTest::newRow("1.02s") << u"v1.02s.GRD"_s << 3;
    QTest::newRow("1.03s") << u"v1.03s.GRD"_s << 4;
    QTest::newRow("1.04s") << u"v1.04s.GRD"_s << 5;
    QTest::newRow("1.05s") << u"v1.05s.GRD"_s << 6;
    QTest::newRow("2.00s reads as 1.05s") << u"v2.00s.GRD"_s << 6;
}

void TestGradebookFile::readsEveryVersion() {
    QFETCH(QString, file);
    QFETCH(int, sections);

    Gradebook book;
    resetToNew(book);
    // What the file does not say must be visible: flags off, a password and protection on.
    for (auto& s : book.students())
        s.includeFlags = QString(Limits::MaxTests, u'0');
    book.security().password = u"old"_s;
    book.security().protect = {true, true, true, true};
    book.setFileName(dataFile(file));

    const Result result = ReadGradebookFile(book, dataFile(file));
    QVERIFY2(result.ok(), qPrintable(result.message()));
    QCOMPARE(book.fileName(), dataFile(file));

    // Items present in every version.
    QCOMPARE(book.view().displayMode, DisplayMode::Letters);
    QCOMPARE(book.view().chartSubject, ChartSubject::CurrentTest);
    QCOMPARE(book.view().workingMode, WorkingMode::Edit);
    QCOMPARE(book.totalSetup().importance, -1.0f);
    QCOMPARE(book.totalScales()[0].name.text(), u"Total on scores"_s);
    QCOMPARE(book.totalScales()[1].count, 4);
    QCOMPARE(book.totalScales()[1].steps[3].grade.text(), u"Distinctio"_s);
    QCOMPARE(book.totalScales()[1].steps[2].value, 2.5f);
    QCOMPARE(book.totalScales()[1].steps[1].topScore, 74.5f);
    QCOMPARE(book.rowCount(), 9);
    QCOMPARE(book.columnCount(), 4);
    const QList<int> widths = {2400, 1200, 1500, 1650};
    for (int c = 0; c < 4; ++c)
        QCOMPARE(book.columnWidth(c), widths[c]);
    const QList<int> heights = {285, 285, 300, 285, 255, 285, 285, 285, 420};
    for (int r = 0; r < 9; ++r)
        QCOMPARE(book.rowHeight(r), heights[r]);
    QCOMPARE(book.cell(0, 1), u"Total"_s);
    QCOMPARE(book.cell(0, 2), u"Quiz 1"_s);
    QCOMPARE(book.cell(0, 3), u"Essay"_s);
    const TestRecord& quiz = book.TestOf(2);
    QCOMPARE(quiz.maxScore, 100.0f);
    QCOMPARE(quiz.importance, 0.0f);
    QCOMPARE(quiz.date.text(), u"09/15/25"_s);
    QCOMPARE(quiz.note.noteText(), u"Chapter 1, vocabulary"_s);
    QCOMPARE(quiz.calculateGrades, 1);
    QCOMPARE(quiz.scale.name.text(), u"Letter grades"_s);
    QCOMPARE(quiz.scale.count, 5);
    const TestRecord& essay = book.TestOf(3);
    QCOMPARE(essay.maxScore, 50.0f);
    QCOMPARE(essay.importance, 1.0f);
    QCOMPARE(essay.calculateGrades, 0);
    QCOMPARE(essay.scale.count, 0);
    QCOMPARE(book.view().testSortRule, int(TestsUnsorted));
    QCOMPARE(book.view().studentSortRule, int(StudentsByName));
    for (int r = 1; r < 9; ++r)
        QCOMPARE(book.cell(r, 0), SampleNames[r - 1]);
    QCOMPARE(book.cell(1, 2), u"85     (B)"_s);
    QCOMPARE(book.cell(1, 3), u"92.5"_s);
    QCOMPARE(book.cell(4, 2), u"59.5   (D)"_s);
    QCOMPARE(book.cell(5, 2), u"100    (A)"_s);
    QCOMPARE(book.cell(6, 3), u"12.25"_s);
    QCOMPARE(book.cell(7, 2), QString());
    QCOMPARE(book.cell(8, 3), u"0.5"_s);
    QCOMPARE(book.cell(1, 1), QString()); // totals come from the caller's Refresh
    QCOMPARE(book.StudentOf(1).name.text(), u"Adams, Ann"_s);

    // 14: student notes.
    QCOMPARE(book.StudentOf(1).note.noteText(), sections >= 1 ? u"Left-handed"_s : QString());
    QCOMPARE(book.StudentOf(4).note.noteText(),
             sections >= 1 ? u"Prefers café seating"_s : QString());
    QCOMPARE(book.StudentOf(6).note.noteText(),
             sections >= 1 ? u"Résumé: “excellent”"_s : QString());
    // 15: include flags; without them every score of the file counts, beyond the seventh
    // student too, and the flags beyond the file's tests stay.
    for (int r = 1; r < 9; ++r) {
        const QString flags = book.StudentOf(r).includeFlags.raw();
        if (sections < 2) {
            QVERIFY2(flags.startsWith(u"110"_s), qPrintable(flags.left(3)));
        } else {
            QCOMPARE(flags.size(), 400);
        }
    }
    if (sections >= 2) {
        QCOMPARE(book.StudentOf(2).includeFlags.raw().left(3), u"101"_s);
        QCOMPARE(book.cell(2, 3), u"40      x"_s);
        QCOMPARE(book.cell(3, 2), u"        x"_s); // ignored and empty
        QCOMPARE(book.cell(3, 3), u"47.5"_s);
    } else {
        QCOMPARE(book.cell(2, 3), u"40"_s);
        QCOMPARE(book.cell(3, 2), QString());
    }
    // 16: importance set.
    QCOMPARE(book.importanceSet().name.text(),
             sections >= 3 ? u"Tests and homework"_s : u"Library set"_s);
    if (sections >= 3) {
        QCOMPARE(book.importanceSet().count, 2);
        QCOMPARE(book.importanceSet().steps[1].name.text(), u"Homework"_s);
        QCOMPARE(book.importanceSet().steps[1].percentOfTotal, 40.0f);
    }
    // 17: show total, off in the versions without it.
    QCOMPARE(book.view().showTotalScores, sections >= 4);
    // 18: IDs, Name as ID, names.
    const StudentRecord& shownById = book.StudentOf(8);
    QCOMPARE(shownById.showAsId, sections >= 5 ? 1 : 0);
    QCOMPARE(shownById.id.text(), sections >= 5 ? u"S-1008"_s : QString());
    QCOMPARE(shownById.name.text(), sections >= 5 ? u"Young, Yan"_s : u"S-1008"_s);
    QCOMPARE(book.StudentOf(1).id.text(), sections >= 5 ? u"A-1001"_s : QString());
    // 19, 20: security, cleared in the versions without it.
    QCOMPARE(book.security().password, sections >= 6 ? u"apple pie"_s : QString());
    const std::array<bool, 4> protect =
        sections >= 6 ? std::array<bool, 4>{false, true, true, false} : std::array<bool, 4>{};
    QCOMPARE(book.security().protect, protect);
}

void TestGradebookFile::newStudentsStartBlank() {
    // A gradebook of one student takes in a class of eight from a file without their records.
    Gradebook book;
    QVERIFY(ReadGradebookFile(book, dataFile(u"v1.0s.GRD"_s)));
    QCOMPARE(book.rowCount(), 9);
    for (int r = 2; r < 9; ++r) {
        const StudentRecord& s = book.StudentOf(r);
        QCOMPARE(s.includeFlags.raw(), QString(Limits::MaxTests, u'1'));
        QCOMPARE(s.id.raw(), QString(Limits::IdWidth, u' '));
        QCOMPARE(s.note.raw(), QString(Limits::StudentNoteWidth, u' '));
        QCOMPARE(s.name.text(), SampleNames[r - 1]);
    }
}

void TestGradebookFile::readsOddButValidValues() {
    Gradebook book;
    resetToNew(book);
    const Result result = ReadGradebookFile(book, dataFile(u"odd-values.GRD"_s));
    QVERIFY2(result.ok(), qPrintable(result.message()));

    QCOMPARE(book.view().displayMode, DisplayMode::PercentOfMax);
    QCOMPARE(book.view().chartSubject, ChartSubject::CurrentStudent);
    QCOMPARE(book.view().workingMode, WorkingMode::Analyze);
    // 1, the rule of a gradebook never switched, stays (and means "Scores").
    QCOMPARE(book.totalSetup().importance, 1.0f);
    QVERIFY(UsesScoresRule(book));
    QCOMPARE(book.totalScales()[0].name.text(), u"Total scale"_s);
    QCOMPARE(book.totalScales()[0].name.raw().size(), 75);
    QCOMPARE(book.totalScales()[0].steps[0].topScore, 59.5f);
    QCOMPARE(book.TestOf(1).maxScore, 100.0f);
    QCOMPARE(book.TestOf(1).calculateGrades, 1); // -1 is kept as 1
    QCOMPARE(book.TestOf(2).calculateGrades, 1);
    QCOMPARE(book.TestOf(2).note.noteText(), u"No NUL here"_s);
    // Rules the lists do not have select their first entry.
    QCOMPARE(book.view().testSortRule, int(TestsUnsorted));
    QCOMPARE(book.view().studentSortRule, int(StudentsUnsorted));
    // Heights below 285 twips less two pixels are raised to it.
    QCOMPARE(book.rowHeight(0), 255);
    QCOMPARE(book.rowHeight(1), 255);
    QCOMPARE(book.rowHeight(2), 400);
    // A student note without NUL reads as empty.
    QCOMPARE(book.StudentOf(1).note.noteText(), QString());
    QCOMPARE(book.view().showTotalScores, true);
    QCOMPARE(book.StudentOf(1).showAsId, 1);
    QCOMPARE(book.StudentOf(1).name.text(), u"Poe, Pat"_s); // the cell shows the ID
    QCOMPARE(book.cell(1, 0), u"P-1"_s);
    QCOMPARE(book.StudentOf(2).name.text(), u"Quinn, Quentin"_s);
    QCOMPARE(book.security().password, u"pw"_s);
    QCOMPARE(book.security().protect, (std::array<bool, 4>{true, false, true, true}));
    // A score of 0 and one above the maximum leave a graded cell empty; a negative score on an
    // ungraded test stays as read.
    QCOMPARE(book.cell(1, 2), QString());
    QCOMPARE(book.cell(1, 3), u"-3"_s);
    QCOMPARE(book.cell(2, 2), QString());
    QCOMPARE(book.cell(2, 3), u"18"_s);
}

void TestGradebookFile::readsGradebookWithoutTests() {
    Gradebook book;
    resetToNew(book);
    const Result result = ReadGradebookFile(book, dataFile(u"no-tests.GRD"_s));
    QVERIFY2(result.ok(), qPrintable(result.message()));
    QCOMPARE(book.columnCount(), 2);
    QCOMPARE(book.rowCount(), 3);
    QCOMPARE(book.cell(1, 0), u"Abbott, Al"_s);
    QCOMPARE(book.cell(2, 0), u"Zorn, Zoe"_s);
    QCOMPARE(book.TestOf(1).note.noteText(), u"Totals by grades"_s);
    QCOMPARE(book.StudentOf(1).note.noteText(), u"Only note"_s);
    QCOMPARE(book.StudentOf(2).id.text(), u"X-2"_s);

    const QByteArray written = writtenBytes(book, m_dir.filePath(u"none.GRD"_s));
    QVERIFY(written.endsWith("\"Abbott, Al\"  \r\n\"Zorn, Zoe\"   \r\n"));
}

// --- writing ---

void TestGradebookFile::writeReadWriteGivesSameBytes_data() {
    QTest::addColumn<QString>("file");
    for (const char* f :
         {"v1.0s.GRD", "v1.00s.GRD", "v1.01s.GRD", "v1.02s.GRD", "v1.03s.GRD", "v1.04s.GRD",
          "v1.05s.GRD", "v2.00s.GRD", "no-tests.GRD", "odd-values.GRD"})
        QTest::newRow(f) << QString::fromLatin1(f);
}

void TestGradebookFile::writeReadWriteGivesSameBytes() {
    QFETCH(QString, file);
    Gradebook book;
    resetToNew(book);
    QVERIFY(ReadGradebookFile(book, dataFile(file)));
    const QByteArray first = writtenBytes(book, m_dir.filePath(u"first.GRD"_s));
    QVERIFY(first.startsWith("\"V E R 1.05s\"\r\n"));

    Gradebook again;
    resetToNew(again);
    QVERIFY(ReadGradebookFile(again, m_dir.filePath(u"first.GRD"_s)));
    const QByteArray second = writtenBytes(again, m_dir.filePath(u"second.GRD"_s));
    QCOMPARE(second, first);
}

void TestGradebookFile::canonicalFileIsWrittenBackUnchanged() {
    // The sample was written by hand in the writer's own form, NULs and padding included.
    Gradebook book;
    resetToNew(book);
    QVERIFY(ReadGradebookFile(book, dataFile(u"v1.05s.GRD"_s)));
    const QByteArray original = contents(dataFile(u"v1.05s.GRD"_s));
    const QByteArray written = writtenBytes(book, m_dir.filePath(u"copy.GRD"_s));
    if (written != original) {
        const QList<QByteArray> a = written.split('\n'), b = original.split('\n');
        for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i)
            QCOMPARE(a[i], b[i]);
    }
    QCOMPARE(written.size(), original.size());
}

void TestGradebookFile::roundTripKeepsTheDocument() {
    Gradebook book;
    resetToNew(book);
    const Libraries libs = testLibraries();
    for (int i = 0; i < 3; ++i) {
        int col = book.columnCount();
        QVERIFY(AddBlankTest(book, col, libs, QDate(2025, 9, 1 + i)));
    }
    book.TestOf(3).calculateGrades = 0;
    book.TestOf(4).maxScore = 0.5f;
    book.TestOf(4).note.assignNote(u"Two lines,\r\nwith a comma"_s);
    book.SetCellText(0, 4, u"Ünit test – €"_s);
    book.view().displayMode = DisplayMode::Numbers;
    book.view().showTotalScores = false;
    book.security().password = u"s3cret"_s;
    book.security().protect = {true, false, false, true};
    book.importanceSet().steps[0].testCount = 7;
    book.totalScales()[1].name = u"Grades total"_s;
    book.setColumnWidth(2, 3000);
    book.setRowHeight(3, 600);
    book.setRowHeight(4, 40000); // beyond the 16-bit field: stored as its largest value
    for (int r = 1; r < book.rowCount(); ++r) {
        book.SetCellText(r, 0, u"Student ł"_s + QString::number(r));
        book.StudentOf(r).id = u"ID-"_s + QString::number(r);
        book.StudentOf(r).note.assignNote(u"Note ß "_s + QString::number(r));
        book.SetCellText(r, 2, FormatScoreCell(book, r, 2, QString::number(60 + r * 4)));
        book.SetCellText(r, 3, FormatScoreCell(book, r, 3, u"92.5"_s));
    }
    book.setIncluded(2, 4, false);
    book.SetCellText(2, 4, FormatScoreCell(book, 2, 4, QString()));

    const QString path = m_dir.filePath(u"trip.GRD"_s);
    QVERIFY(WriteGradebookFile(book, path));
    Gradebook copy;
    resetToNew(copy);
    QVERIFY(ReadGradebookFile(copy, path));

    QCOMPARE(copy.rowCount(), book.rowCount());
    QCOMPARE(copy.columnCount(), book.columnCount());
    for (int r = 0; r < book.rowCount(); ++r)
        for (int c = 0; c < book.columnCount(); ++c) {
            if (c == 1 && r > 0) continue; // totals are the caller's Refresh
            QString expected = book.cell(r, c);
            expected.replace(u'ł', u'?'); // Windows-1252 has no ł
            QCOMPARE(copy.cell(r, c), expected);
        }
    QCOMPARE(copy.cell(2, 4), u"        x"_s);
    for (int c = 1; c < book.columnCount(); ++c) {
        QCOMPARE(copy.TestOf(c).maxScore, book.TestOf(c).maxScore);
        QCOMPARE(copy.TestOf(c).date, book.TestOf(c).date);
        QCOMPARE(copy.TestOf(c).note.noteText(), book.TestOf(c).note.noteText());
        QCOMPARE(copy.TestOf(c).calculateGrades, book.TestOf(c).calculateGrades);
        QCOMPARE(copy.TestOf(c).scale, book.TestOf(c).scale);
        QCOMPARE(copy.columnWidth(c), book.columnWidth(c));
    }
    for (int r = 1; r < book.rowCount(); ++r) {
        QCOMPARE(copy.StudentOf(r).id, book.StudentOf(r).id);
        QCOMPARE(copy.StudentOf(r).note, book.StudentOf(r).note);
        QCOMPARE(copy.StudentOf(r).includeFlags, book.StudentOf(r).includeFlags);
    }
    QCOMPARE(copy.rowHeight(3), 600);
    QCOMPARE(copy.rowHeight(4), 32767);
    QCOMPARE(copy.importanceSet(), book.importanceSet());
    QCOMPARE(copy.totalScales(), book.totalScales());
    QCOMPARE(copy.security(), book.security());
    QCOMPARE(copy.view(), book.view());
}

void TestGradebookFile::scoreLineLayout_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("entries"); // typed into a graded, an ungraded test
    QTest::addColumn<bool>("ignoreSecond");
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("short name") << u"Ann"_s << QStringList{u"85"_s, u"92.5"_s} << false
                                << QByteArray("\"Ann\"         , 85  , 92.5  \r");
    QTest::newRow("name filling its zone moves to the next")
        << u"Abcdefghijkl"_s << QStringList{u"70"_s, u".5"_s} << false
        << QByteArray("\"Abcdefghijkl\"              , 70  , .5  \r");
    QTest::newRow("empty cells") << u"Bo"_s << QStringList{QString(), QString()} << false
                                 << QByteArray("\"Bo\"          ,-1  ,-1  \r");
    QTest::newRow("negative and zero written as 0")
        << u"Cy"_s << QStringList{u"120"_s, u"-3"_s} << false
        << QByteArray("\"Cy\"          ,-1  , 0  \r");
    QTest::newRow("ignored score keeps its number")
        << u"Di"_s << QStringList{u"64"_s, u"30"_s} << true
        << QByteArray("\"Di\"          , 64  , 30  \r");
    QTest::newRow("ignored empty score stays empty")
        << u"Ed"_s << QStringList{u"64"_s, QString()} << true
        << QByteArray("\"Ed\"          , 64  ,-1  \r");
    QTest::newRow("large score") << u"Fe"_s << QStringList{u"55"_s, u"12345678"_s} << false
                                 << QByteArray("\"Fe\"          , 55  , 1.234568E+07  \r");
}

void TestGradebookFile::scoreLineLayout() {
    QFETCH(QString, name);
    QFETCH(QStringList, entries);
    QFETCH(bool, ignoreSecond);
    QFETCH(QByteArray, line);

    Gradebook book;
    resetToNew(book);
    const Libraries libs = testLibraries();
    for (int i = 0; i < 2; ++i) {
        int col = book.columnCount();
        QVERIFY(AddBlankTest(book, col, libs, QDate(2025, 9, 1)));
    }
    book.TestOf(3).calculateGrades = 0;
    book.SetCellText(1, 0, name);
    if (ignoreSecond) book.setIncluded(1, 3, false);
    for (int c = 2; c < 4; ++c)
        book.SetCellText(1, c, FormatScoreCell(book, 1, c, entries[c - 2]));

    const QByteArray file = writtenBytes(book, m_dir.filePath(u"line.GRD"_s));
    QCOMPARE(lineStartingWith(file, '"' + name.toLatin1() + '"'), line);
}

void TestGradebookFile::ignoredEmptyScoreKeepsItsMark() {
    Gradebook book;
    resetToNew(book);
    int col = book.columnCount();
    QVERIFY(AddBlankTest(book, col, testLibraries(), QDate(2025, 9, 1)));
    for (const bool graded : {true, false}) {
        book.TestOf(2).calculateGrades = graded ? 1 : 0;
        book.setIncluded(1, 2, false);
        book.SetCellText(1, 2, FormatScoreCell(book, 1, 2, QString()));
        QCOMPARE(book.cell(1, 2), u"        x"_s);
        const QString path = m_dir.filePath(u"mark.GRD"_s);
        QVERIFY(WriteGradebookFile(book, path));
        Gradebook copy;
        resetToNew(copy);
        QVERIFY(ReadGradebookFile(copy, path));
        QCOMPARE(copy.cell(1, 2), u"        x"_s);
        QCOMPARE(copy.cell(2, 2), QString());
    }
}

void TestGradebookFile::doubleQuoteInTextsReadsBack() {
    Gradebook book;
    resetToNew(book);
    int col = book.columnCount();
    QVERIFY(AddBlankTest(book, col, testLibraries(), QDate(2025, 9, 1)));
    book.view().displayMode = DisplayMode::Letters;
    book.SetCellText(1, 0, u"Ann \"Sunny\" Lee"_s);
    book.SetCellText(0, 2, u"The \"big\" test"_s);
    book.TestOf(2).note.assignNote(u"say \"cheese\""_s);
    book.StudentOf(1).id = u"\"7\""_s;
    book.StudentOf(1).note.assignNote(u"a \"quote\""_s);
    book.StudentOf(2).name = u"Bob \"B\""_s;
    book.security().password = u"pa\"ss"_s;
    book.SetCellText(1, 2, FormatScoreCell(book, 1, 2, u"77"_s));

    const QString path = m_dir.filePath(u"quote.GRD"_s);
    QVERIFY(WriteGradebookFile(book, path));
    Gradebook copy;
    resetToNew(copy);
    const Result read = ReadGradebookFile(copy, path);
    QVERIFY2(read.ok(), qPrintable(read.message()));
    QCOMPARE(copy.cell(1, 0), u"Ann 'Sunny' Lee"_s);
    QCOMPARE(copy.cell(0, 2), u"The 'big' test"_s);
    QCOMPARE(copy.TestOf(2).note.noteText(), u"say 'cheese'"_s);
    QCOMPARE(copy.StudentOf(1).id.text(), u"'7'"_s);
    QCOMPARE(copy.StudentOf(1).note.noteText(), u"a 'quote'"_s);
    QCOMPARE(copy.security().password, u"pa'ss"_s);
    QCOMPARE(copy.cell(1, 2), u"77     (C)"_s);
    QCOMPARE(copy.cell(2, 0), QString());
}

void TestGradebookFile::readSortsByTheStoredRules() {
    Gradebook book;
    resetToNew(book);
    const Libraries libs = testLibraries();
    const QStringList tests = {u"Zeta"_s, u"alpha"_s, u"Mid"_s};
    for (const QString& name : tests) {
        int col = book.columnCount();
        QVERIFY(AddBlankTest(book, col, libs, QDate(2025, 9, 1)));
        book.SetCellText(0, col, name);
    }
    book.view().displayMode = DisplayMode::Letters;
    const QStringList names = {u"Young"_s, u"adams"_s, u"Miller"_s};
    book.setShape(4, book.columnCount());
    for (int r = 1; r < 4; ++r) {
        book.SetCellText(r, 0, names[r - 1]);
        book.StudentOf(r).includeFlags = QString(400, u'1');
        book.SetCellText(r, 2, FormatScoreCell(book, r, 2, QString::number(r * 10)));
    }
    book.StudentOf(1).includeFlags.set(0, u'0'); // Young ignores Zeta
    book.view().studentSortRule = StudentsByName;
    book.view().testSortRule = TestsByName;

    const QString path = m_dir.filePath(u"sorted.GRD"_s);
    QVERIFY(WriteGradebookFile(book, path));
    Gradebook copy;
    resetToNew(copy);
    QVERIFY(ReadGradebookFile(copy, path));
    QCOMPARE(copy.cell(0, 2), u"alpha"_s);
    QCOMPARE(copy.cell(0, 3), u"Mid"_s);
    QCOMPARE(copy.cell(0, 4), u"Zeta"_s);
    QCOMPARE(copy.cell(1, 0), u"adams"_s);
    QCOMPARE(copy.cell(2, 0), u"Miller"_s);
    QCOMPARE(copy.cell(3, 0), u"Young"_s);
    // Scores and ignore marks moved with their students and tests.
    QCOMPARE(copy.cell(1, 4), u"20     (F)"_s);
    QCOMPARE(copy.cell(2, 4), u"30     (F)"_s);
    QCOMPARE(copy.cell(3, 4), u"10     (F)x"_s);
    QVERIFY(!copy.isIncluded(3, 4));
    QVERIFY(copy.isIncluded(3, 2));
}

// --- bad files ---

void TestGradebookFile::badFiles_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("formatError"); // else a read error

    QTest::newRow("first line is not a tag") << u"bad-tag.GRD"_s << true;
    QTest::newRow("empty file") << u"bad-empty.GRD"_s << true;
    QTest::newRow("display mode with no button") << u"bad-display-mode.GRD"_s << false;
    QTest::newRow("chart subject with no button") << u"bad-chart-subject.GRD"_s << false;
    QTest::newRow("width beyond 16 bits") << u"bad-width-overflow.GRD"_s << false;
    QTest::newRow("sort rule beyond 16 bits") << u"bad-integer-overflow.GRD"_s << false;
    QTest::newRow("negative width") << u"bad-negative-width.GRD"_s << false;
    QTest::newRow("negative height") << u"bad-negative-height.GRD"_s << false;
    QTest::newRow("word for a float") << u"bad-wrong-kind.GRD"_s << false;
    QTest::newRow("text for an integer") << u"bad-text-for-integer.GRD"_s << false;
    QTest::newRow("scale of 27 steps") << u"bad-scale-count.GRD"_s << false;
}

void TestGradebookFile::badFiles() {
    QFETCH(QString, file);
    QFETCH(bool, formatError);

    Gradebook book;
    resetToNew(book);
    const QString path = dataFile(file);
    book.setFileName(path);
    const Result result = ReadGradebookFile(book, path);
    QVERIFY(!result.ok());
    QCOMPARE(result.message(),
             formatError ? u"Invalid file format!"_s : u"Error reading "_s + path);
    QCOMPARE(book.fileName(), QString()); // a later Save cannot overwrite the file
    QVERIFY(isSane(book, m_dir.path()));
}

void TestGradebookFile::absurdShapesAllocateNothing_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("401 tests") << u"bad-too-many-tests.GRD"_s;
    QTest::newRow("no students") << u"bad-no-students.GRD"_s;
    QTest::newRow("32,767 students") << u"bad-too-many-students.GRD"_s;
    QTest::newRow("no Total column") << u"bad-no-columns.GRD"_s;
}

void TestGradebookFile::absurdShapesAllocateNothing() {
    QFETCH(QString, file);
    Gradebook book;
    resetToNew(book);
    const Result result = ReadGradebookFile(book, dataFile(file));
    QCOMPARE(result.message(), u"Error reading "_s + dataFile(file));
    // The shape was refused before the table changed.
    QCOMPARE(book.rowCount(), Limits::NewGradebookStudents + 1);
    QCOMPARE(book.columnCount(), 2);
    QCOMPARE(book.students().size(), std::size_t(Limits::NewGradebookStudents + 1));
    QVERIFY(isSane(book, m_dir.path()));
}

void TestGradebookFile::truncatedAtEveryLine() {
    const QByteArray good = contents(dataFile(u"v1.05s.GRD"_s));
    const QList<QByteArray> lines = good.split('\n');
    QVERIFY(lines.size() > 100);
    const QString path = m_dir.filePath(u"cut.GRD"_s);
    QByteArray cut;
    // Every prefix of whole lines short of the last score line is incomplete.
    for (qsizetype k = 0; k + 2 < lines.size(); ++k) {
        QVERIFY(store(path, cut));
        Gradebook book;
        resetToNew(book);
        book.setFileName(path);
        const Result result = ReadGradebookFile(book, path);
        const QString expected = k == 0 ? u"Invalid file format!"_s : u"Error reading "_s + path;
        if (result.message() != expected)
            QFAIL(qPrintable(u"%1 lines: %2"_s.arg(k).arg(result.message())));
        QCOMPARE(book.fileName(), QString());
        QVERIFY(isSane(book, m_dir.path()));
        cut += lines[k] + '\n';
    }
}

void TestGradebookFile::truncatedAtEveryByteNeverCrashes() {
    const QByteArray good = contents(dataFile(u"odd-values.GRD"_s));
    const QString path = m_dir.filePath(u"cut.GRD"_s);
    int complete = 0;
    for (qsizetype n = 0; n < good.size(); ++n) {
        QVERIFY(store(path, good.left(n)));
        Gradebook book;
        resetToNew(book);
        const Result result = ReadGradebookFile(book, path);
        if (result.ok()) {
            ++complete;
            continue;
        }
        QVERIFY(result.message() == u"Error reading "_s + path ||
                result.message() == u"Invalid file format!"_s);
        QVERIFY(book.rowCount() >= 2 && book.columnCount() >= 2);
    }
    // Only cuts inside the last score's trailing blanks, or its last digit, still read.
    QVERIFY2(complete <= 5, qPrintable(QString::number(complete)));
}

void TestGradebookFile::missingFileChangesNothing() {
    Gradebook book;
    resetToNew(book);
    book.setFileName(u"keep"_s);
    book.SetCellText(1, 0, u"Kept"_s);
    const QString path = m_dir.filePath(u"missing.GRD"_s);
    const Result result = ReadGradebookFile(book, path);
    QVERIFY(!result.ok());
    const QString prefix = u"Error opening "_s + path + u".  "_s;
    QVERIFY2(result.message().startsWith(prefix), qPrintable(result.message()));
    QVERIFY(result.message().size() > prefix.size()); // the system's description follows
    QCOMPARE(book.fileName(), u"keep"_s);
    QCOMPARE(book.cell(1, 0), u"Kept"_s);
}

void TestGradebookFile::saveIntoMissingFolderFails() {
    Gradebook book;
    resetToNew(book);
    const QString path = m_dir.filePath(u"no/such/folder/X.GRD"_s);
    const Result result = WriteGradebookFile(book, path);
    QVERIFY(!result.ok());
    const QString prefix = u"Error opening "_s + path + u". "_s;
    QVERIFY2(result.message().startsWith(prefix), qPrintable(result.message()));
    QVERIFY(result.message().size() > prefix.size());
    QVERIFY(!QFile::exists(path));
}

void TestGradebookFile::failedSaveKeepsPreviousFile() {
#ifdef Q_OS_UNIX
    const QString dirPath = m_dir.filePath(u"save"_s);
    QVERIFY(QDir().mkpath(dirPath));
    const QString path = dirPath + u"/CLASS.GRD"_s;
    Gradebook small;
    resetToNew(small);
    QVERIFY(WriteGradebookFile(small, path));
    const QByteArray before = contents(path);

    // A bigger class, on a file system that takes no more than a few kilobytes a file.
    Gradebook big;
    resetToNew(big);
    big.setShape(300, 2);
    for (int r = 1; r < big.rowCount(); ++r)
        big.SetCellText(r, 0, u"Student "_s + QString::number(r));
    rlimit saved{};
    QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = rlim_t(before.size() + 4096);
    QVERIFY(setrlimit(RLIMIT_FSIZE, &limited) == 0);
    const Result result = WriteGradebookFile(big, path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!result.ok());
    const QString prefix = u"Error writing "_s + path + u". "_s;
    QVERIFY2(result.message().startsWith(prefix), qPrintable(result.message()));
    QVERIFY(result.message().size() > prefix.size());
    QCOMPARE(contents(path), before);
    QCOMPARE(QDir(dirPath).entryList(QDir::Files | QDir::Hidden), QStringList{u"CLASS.GRD"_s});
#else
    QSKIP("needs a file size limit");
#endif
}

QTEST_GUILESS_MAIN(TestGradebookFile)
#include "tst_gradebookfile.moc"
