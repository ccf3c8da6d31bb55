#include "core/NewGradebook.h"
#include "core/ScoreCell.h"
#include "core/TestCommands.h"
#include "grading/Calculation.h"
#include "grading/Scale.h"
#include "storage/LibraryFile.h"
#include "storage/TextExchange.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

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
    libs.scales = {letterScale(u"Letters"_s), letterScale(u"Totals"_s)};
    ImportanceSet all;
    all.name = u"All"_s;
    all.count = 1;
    all.steps[0].name = u"All"_s;
    all.steps[0].percentOfTotal = 100;
    libs.importanceSets = {all};
    return libs;
}

// Two students and two tests: "Quiz 1" graded out of 100, "Essay" ungraded out of 20.
// Totals: Smith (85 + 75) / 2 = 80 (B), Lee (92.5 + 0) / 2 = 46 (F).
struct SmallClass {
    Libraries libs = testLibraries();
    Gradebook book;

    explicit SmallClass(DisplayMode mode = DisplayMode::Letters) {
        ResetToNew(book, libs);
        book.view().displayMode = mode;
        book.setShape(3, 2);
        for (const QString& name : {u"Quiz 1"_s, u"Essay"_s}) {
            int col = book.columnCount();
            QVERIFY(AddBlankTest(book, col, libs, QDate(2026, 9, 1)).ok());
            book.SetCellText(0, col, name);
        }
        book.TestOf(3).maxScore = 20;
        book.TestOf(3).calculateGrades = 0;
        book.SetCellText(1, 0, u"Smith, John"_s);
        book.SetCellText(2, 0, u"Lee, Ann"_s);
        score(1, 2, u"85"_s);
        score(1, 3, u"15"_s);
        score(2, 2, u"92.5"_s);
        RecalcAll(book);
    }
    void score(int row, int col, const QString& entry) {
        book.SetCellText(row, col, FormatScoreCell(book, row, col, entry));
    }
};

TextExchangeOptions options(const QString& separator, const QString& delimiter, bool names = true,
                            bool testNames = true, bool grades = false) {
    TextExchangeOptions o;
    o.separatorText = separator;
    o.delimiterText = delimiter;
    o.studentNamesColumn = names;
    o.testNamesRow = testNames;
    o.includeGrades = grades;
    return o;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// "row,col=text" for every cell that is not empty, row by row.
QStringList filledCells(const Gradebook& book) {
    QStringList out;
    for (int r = 0; r < book.rowCount(); ++r)
        for (int c = 0; c < book.columnCount(); ++c)
            if (c != 1 && !book.cell(r, c).isEmpty())
                out << u"%1,%2=%3"_s.arg(r).arg(c).arg(book.cell(r, c));
    return out;
}

} // namespace

class TestTextExchange : public QObject {
    Q_OBJECT
private slots:
    void init();
    void splitImportLine_data();
    void splitImportLine();
    void exportText_data();
    void exportText();
    void exportSelection_data();
    void exportSelection();
    void exportWritesWindows1252();
    void exportToAMissingFolderIsReported();
    void roundTrip_data();
    void roundTrip();
    void importFillsTheTable_data();
    void importFillsTheTable();
    void importedTestsAndStudents();
    void badScoreStopsTheImport_data();
    void badScoreStopsTheImport();
    void testLimit_data();
    void testLimit();
    void importOfAMissingFileIsReported();
    void shippedLibrariesRead_data();
    void shippedLibrariesRead();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    // Imports `text`, saved as in.txt, into `book` reset to the new state.
    Result importBytes(Gradebook& book, const QByteArray& text, const TextExchangeOptions& o) {
        if (!writeFile(path(u"in.txt"_s), text)) return Result::failure(u"not written"_s);
        ResetToNew(book, m_libs);
        return ImportText(book, path(u"in.txt"_s), o, m_libs);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    const Libraries m_libs = testLibraries();
};

void TestTextExchange::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestTextExchange::splitImportLine_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("delimiter");
    QTest::addColumn<QStringList>("fields");
    const QString q = u"\""_s;
    QTest::newRow("plain") << u"a,b,c"_s << u","_s << q << QStringList{u"a"_s, u"b"_s, u"c"_s};
    QTest::newRow("empty fields") << u",,x,"_s << u","_s << QString()
                                  << QStringList{QString(), QString(), u"x"_s, QString()};
    QTest::newRow("separator inside delimiters")
        << u"\"Smith, John\",85"_s << u","_s << q << QStringList{u"Smith, John"_s, u"85"_s};
    QTest::newRow("unclosed delimiter splits at the separator")
        << u"\"Smith, John"_s << u","_s << q << QStringList{u"Smith"_s, u" John"_s};
    QTest::newRow("text after the closing delimiter stays")
        << u"\"Smith\" Jr,4"_s << u","_s << q << QStringList{u"Smith\" Jr"_s, u"4"_s};
    QTest::newRow("delimiter alone") << u"\",5"_s << u","_s << q << QStringList{QString(), u"5"_s};
    QTest::newRow("delimiter inside a field is kept")
        << u"O'Neil;5"_s << u";"_s << u"'"_s << QStringList{u"O'Neil"_s, u"5"_s};
    QTest::newRow("long separator passes one character")
        << u"Ann, 5, 6"_s << u", "_s << q << QStringList{u"Ann"_s, u" 5"_s, u" 6"_s};
    QTest::newRow("no separator: one field")
        << u"Ann,5"_s << QString() << q << QStringList{u"Ann,5"_s};
    QTest::newRow("long delimiter")
        << u"<<a,b<<,c"_s << u","_s << u"<<"_s << QStringList{u"a,b"_s, u"c"_s};
}

void TestTextExchange::splitImportLine() {
    QFETCH(QString, line);
    QFETCH(QString, separator);
    QFETCH(QString, delimiter);
    QFETCH(QStringList, fields);
    QCOMPARE(SplitImportLine(line, separator, delimiter), fields);
}

void TestTextExchange::exportText_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<TextExchangeOptions>("opts");
    QTest::addColumn<QString>("expected");
    const int letters = int(DisplayMode::Letters);
    const int numbers = int(DisplayMode::Numbers);
    const int percent = int(DisplayMode::PercentOfMax);
    const QString q = u"\""_s;
    QTest::newRow("whole table, tab and double quote")
        << letters << options(u"{TAB}"_s, q)
        << u"\"Name\"\t\"Total\"\t\"Quiz 1\"\t\"Essay\"\r\n"
           "\"Smith, John\"\t80\t85\t15\r\n"
           "\"Lee, Ann\"\t46\t92.5\t\r\n"_s;
    QTest::newRow("without names the header starts with the separator")
        << letters << options(u"{TAB}"_s, q, false)
        << u"\t\"Total\"\t\"Quiz 1\"\t\"Essay\"\r\n"
           "80\t85\t15\r\n"
           "46\t92.5\t\r\n"_s;
    QTest::newRow("letters with grades")
        << letters << options(u","_s, q, true, true, true)
        << u"\"Name\",\"Total\",\"Total Grades\",\"Quiz 1\",\"Quiz 1 Grades\",\"Essay\","
           "\"Essay Grades\"\r\n"
           "\"Smith, John\",80,\"B\",85,\"B\",15,\r\n"
           "\"Lee, Ann\",46,\"F\",92.5,\"A\",,\r\n"_s;
    QTest::newRow("numbers with grades are not delimited")
        << numbers << options(u";"_s, u"'"_s, true, false, true)
        << u"'Smith, John';80;3.0;85;3.0;15;\r\n"
           "'Lee, Ann';46;0.0;92.5;4.0;;\r\n"_s;
    QTest::newRow("percent of max with grades") << percent << options(u";"_s, q, false, false, true)
                                                << u"80;;85;\"85%\";15;\r\n"
                                                   "46;;92.5;\"93%\";;\r\n"_s;
    QTest::newRow("space and no delimiter") << letters << options(u"{SPACE}"_s, u"{NONE}"_s)
                                            << u"Name Total Quiz 1 Essay\r\n"
                                               "Smith, John 80 85 15\r\n"
                                               "Lee, Ann 46 92.5 \r\n"_s;
}

void TestTextExchange::exportText() {
    QFETCH(int, mode);
    QFETCH(TextExchangeOptions, opts);
    QFETCH(QString, expected);
    SmallClass c{DisplayMode(mode)};
    const QString file = path(u"out.txt"_s);
    QVERIFY(ExportText(c.book, file, opts).ok());
    QCOMPARE(QString::fromLatin1(readAll(file)), expected);
}

void TestTextExchange::exportSelection_data() {
    QTest::addColumn<QList<int>>("block"); // first row, first column, last row, last column
    QTest::addColumn<QString>("expected");
    QTest::newRow("one student, both tests") << QList<int>{2, 2, 2, 3}
                                             << u"\"Name\"\t\"Quiz 1\"\t\"Essay\"\r\n"
                                                "\"Lee, Ann\"\t92.5\t\r\n"_s;
    QTest::newRow("header row and name column are options, not scores")
        << QList<int>{0, 0, 1, 2}
        << u"\"Name\"\t\"Total\"\t\"Quiz 1\"\r\n"
           "\"Smith, John\"\t80\t85\r\n"_s;
    QTest::newRow("beyond the table is cut") << QList<int>{1, 3, 40, 90}
                                             << u"\"Name\"\t\"Essay\"\r\n"
                                                "\"Smith, John\"\t15\r\n"
                                                "\"Lee, Ann\"\t\r\n"_s;
}

void TestTextExchange::exportSelection() {
    QFETCH(QList<int>, block);
    QFETCH(QString, expected);
    SmallClass c;
    TextExchangeOptions o = options(u"{TAB}"_s, u"\""_s);
    o.selectionOnly = true;
    o.firstRow = block[0];
    o.firstColumn = block[1];
    o.lastRow = block[2];
    o.lastColumn = block[3];
    const QString file = path(u"block.txt"_s);
    QVERIFY(ExportText(c.book, file, o).ok());
    QCOMPARE(QString::fromLatin1(readAll(file)), expected);
}

void TestTextExchange::exportWritesWindows1252() {
    SmallClass c;
    c.book.SetCellText(1, 0, u"Zoë Ærø – €uro Łukasz"_s);
    const QString file = path(u"cp1252.txt"_s);
    QVERIFY(ExportText(c.book, file, options(u","_s, u"{NONE}"_s, true, false)).ok());
    const QByteArray expected("Zo\xEB \xC6r\xF8 \x96 \x80uro ?ukasz,80,85,15\r\n");
    QCOMPARE(readAll(file).left(expected.size()), expected);

    // Read back, the name is what the code page could hold.
    Gradebook back;
    ResetToNew(back, c.libs);
    QVERIFY(ImportText(back, file, options(u","_s, u"{NONE}"_s, true, false), c.libs).ok());
    QCOMPARE(back.cell(1, 0), u"Zoë Ærø – €uro ?ukasz"_s);
}

void TestTextExchange::exportToAMissingFolderIsReported() {
    SmallClass c;
    const QString file = path(u"missing/out.txt"_s);
    const Result result = ExportText(c.book, file, TextExchangeOptions());
    QVERIFY(!result.ok());
    QVERIFY2(result.message().startsWith(u"Error opening "_s + file + u". "_s),
             qPrintable(result.message()));
    QVERIFY(result.message().size() > (u"Error opening "_s + file + u". "_s).size());
    QVERIFY(!QFile::exists(file));
}

void TestTextExchange::roundTrip_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<TextExchangeOptions>("opts");
    QTest::newRow("letters, tab, double quote")
        << int(DisplayMode::Letters) << options(u"{TAB}"_s, u"\""_s);
    QTest::newRow("numbers, comma inside names")
        << int(DisplayMode::Numbers) << options(u","_s, u"\""_s);
    QTest::newRow("space separator, apostrophes")
        << int(DisplayMode::Letters) << options(u"{SPACE}"_s, u"'"_s);
    QTest::newRow("letters with grades")
        << int(DisplayMode::Letters) << options(u","_s, u"\""_s, true, true, true);
    QTest::newRow("numbers with grades, typed delimiter")
        << int(DisplayMode::Numbers) << options(u";"_s, u"|"_s, true, true, true);
}

void TestTextExchange::roundTrip() {
    QFETCH(int, mode);
    QFETCH(TextExchangeOptions, opts);
    SmallClass c{DisplayMode(mode)};
    const QString file = path(u"trip.txt"_s);
    QVERIFY(ExportText(c.book, file, opts).ok());
    Gradebook back;
    ResetToNew(back, c.libs);
    QVERIFY(ImportText(back, file, opts, c.libs).ok());

    // Grade columns come back as tests of their own; every test is found under its title.
    QCOMPARE(back.rowCount(), Limits::NewGradebookStudents + 1);
    QCOMPARE(back.columnCount(), opts.includeGrades ? 7 : 4);
    auto titled = [&](const QString& title) {
        for (int k = 2; k < back.columnCount(); ++k)
            if (back.cell(0, k) == title) return k;
        return -1;
    };
    for (int col = 2; col < c.book.columnCount(); ++col) {
        const int at = titled(c.book.cell(0, col));
        QVERIFY(at >= 2);
        for (int r = 1; r < c.book.rowCount(); ++r)
            QCOMPARE(ScoreOfCell(back.cell(r, at)), ScoreOfCell(c.book.cell(r, col)));
    }
    QCOMPARE(back.cell(1, 0), u"Smith, John"_s);
    QCOMPARE(back.cell(2, 0), u"Lee, Ann"_s);
    // Each test's maximum is its highest imported score, and nothing is graded yet.
    QCOMPARE(back.TestOf(titled(u"Quiz 1"_s)).maxScore, 92.5f);
    QCOMPARE(back.TestOf(titled(u"Essay"_s)).maxScore, 15.0f);
    QCOMPARE(back.cell(1, titled(u"Quiz 1"_s)), u"85"_s);
}

void TestTextExchange::importFillsTheTable_data() {
    QTest::addColumn<TextExchangeOptions>("opts");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QStringList>("cells");
    const QString q = u"\""_s;
    QTest::newRow("three lines leave the other new rows empty")
        << options(u"{TAB}"_s, q)
        << QByteArray("\"Name\"\t\"Total\"\t\"T1\"\r\n\"A\"\t\t1\r\n\"B\"\t\t2\r\n\"C\"\t\t3\r\n")
        << 3 << QStringList{u"0,0=Name"_s, u"0,2=T1"_s, u"1,0=A"_s, u"1,2=1"_s,
                            u"2,0=B"_s,    u"2,2=2"_s,  u"3,0=C"_s, u"3,2=3"_s};
    QTest::newRow("none: empty field between separators")
        << options(u","_s, u"{NONE}"_s, true, false) << QByteArray("Ann,,5,,7\r\n") << 5
        << QStringList{u"0,0=Name"_s, u"1,0=Ann"_s, u"1,2=5"_s, u"1,4=7"_s};
    QTest::newRow("data line longer than the header")
        << options(u","_s, q) << QByteArray("Name,Total,T1\r\nAnn,,5,6,7\r\n") << 5
        << QStringList{u"0,0=Name"_s, u"0,2=T1"_s, u"1,0=Ann"_s,
                       u"1,2=5"_s,    u"1,3=6"_s,  u"1,4=7"_s};
    QTest::newRow("without names the scores start at the first test")
        << options(u","_s, q, false, false) << QByteArray("5,6\r\n7\r\n") << 4
        << QStringList{u"0,0=Name"_s, u"1,2=5"_s, u"1,3=6"_s, u"2,2=7"_s};
    QTest::newRow("double quotes in names become apostrophes")
        << options(u";"_s, u"'"_s) << QByteArray("'N';'T';'Q\"1'\r\n'O\"Neil';;4\r\n") << 3
        << QStringList{u"0,0=Name"_s, u"0,2=Q'1"_s, u"1,0=O'Neil"_s, u"1,2=4"_s};
    QTest::newRow("delimited and padded scores are numbers")
        << options(u","_s, q, true, false) << QByteArray("\"Ann\",\"\",\"85\", 7 ,-2\r\n") << 5
        << QStringList{u"0,0=Name"_s, u"1,0=Ann"_s, u"1,2=85"_s, u"1,3=7"_s, u"1,4=-2"_s};
    QTest::newRow("text that is no number is kept")
        << options(u","_s, q, true, false) << QByteArray("Ann,,abs,-,.\r\n") << 5
        << QStringList{u"0,0=Name"_s, u"1,0=Ann"_s, u"1,2=abs"_s, u"1,3=-"_s, u"1,4=."_s};
    QTest::newRow("line feeds alone and a last line without end")
        << options(u","_s, q, true, false) << QByteArray("A,,1\nB,,2") << 3
        << QStringList{u"0,0=Name"_s, u"1,0=A"_s, u"1,2=1"_s, u"2,0=B"_s, u"2,2=2"_s};
    QTest::newRow("empty file") << options(u","_s, q) << QByteArray() << 2
                                << QStringList{u"0,0=Name"_s};
}

void TestTextExchange::importFillsTheTable() {
    QFETCH(TextExchangeOptions, opts);
    QFETCH(QByteArray, file);
    QFETCH(int, columns);
    QFETCH(QStringList, cells);
    Gradebook book;
    const Result result = importBytes(book, file, opts);
    QVERIFY2(result.ok(), qPrintable(result.message()));
    QCOMPARE(book.rowCount(), Limits::NewGradebookStudents + 1);
    QCOMPARE(book.columnCount(), columns);
    QCOMPARE(filledCells(book), cells);
}

void TestTextExchange::importedTestsAndStudents() {
    QByteArray text = "Name,Total,Low,High\r\n";
    for (int i = 0; i < 10; ++i) // more students than a new gradebook has rows
        text += "S" + QByteArray::number(i) + ",," + QByteArray::number(-i) + "," +
                QByteArray::number(i * 1.5) + "\r\n";
    Gradebook book;
    QVERIFY(importBytes(book, text, options(u","_s, u"\""_s)).ok());

    QCOMPARE(book.rowCount(), 11);
    QCOMPARE(book.columnCount(), 4);
    QCOMPARE(book.TestOf(2).maxScore, 0.0f); // no score above 0
    QCOMPARE(book.TestOf(3).maxScore, 13.5f);
    for (int c = 2; c < 4; ++c) {
        const TestRecord& t = book.TestOf(c);
        QCOMPARE(t.importance, 0.0f);
        QCOMPARE(t.calculateGrades, std::int16_t(0));
        QCOMPARE(t.scale, m_libs.scale(0));
        QCOMPARE(t.date.text(), QString());
        QCOMPARE(t.note.noteText(), QString());
        QCOMPARE(book.columnWidth(c), 3750);
    }
    QCOMPARE(book.columnWidth(0), Limits::DefaultColumnWidth);
    for (int r = 1; r <= 10; ++r) {
        const StudentRecord& s = book.StudentOf(r);
        QCOMPARE(s.includeFlags.raw(), QString(Limits::MaxTests, u'1'));
        QCOMPARE(s.note.raw(), QString(Limits::StudentNoteWidth, u' '));
        QCOMPARE(s.id.raw(), QString(Limits::IdWidth, u' '));
        QCOMPARE(book.rowHeight(r), Limits::DefaultRowHeight);
    }
    // Scores count towards totals: S9 has 13.5 of 13.5 on High and -9 (nothing) on Low.
    QCOMPARE(book.cell(10, 3), u"13.5"_s);
    QVERIFY(!book.cell(10, 1).isEmpty());
}

void TestTextExchange::badScoreStopsTheImport_data() {
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QByteArray>("badLine");
    QTest::addColumn<QString>("description");
    QTest::newRow("letters after digits")
        << u","_s << QByteArray("Bad,,85abc") << u"Line 3, field 3: \"85abc\" is not a number."_s;
    QTest::newRow("decimal comma")
        << u";"_s << QByteArray("Bad;;7,5") << u"Line 3, field 3: \"7,5\" is not a number."_s;
    QTest::newRow("percent sign") << u","_s << QByteArray("Bad,,60,85%")
                                  << u"Line 3, field 4: \"85%\" is not a number."_s;
    QTest::newRow("more than a cell holds")
        << u","_s << QByteArray("Bad,,1234567")
        << u"Line 3, field 3: 1234567 is too long for a score."_s;
}

void TestTextExchange::badScoreStopsTheImport() {
    QFETCH(QString, separator);
    QFETCH(QByteArray, badLine);
    QFETCH(QString, description);
    const QByteArray s = separator.toLatin1();
    const QByteArray text = "Name" + s + "Total" + s + "T1\r\nGood" + s + s + "9\r\n" + badLine +
                            "\r\nLater" + s + s + "5\r\n";
    Gradebook book;
    const Result result = importBytes(book, text, options(separator, u"\""_s));
    QCOMPARE(result.message(),
             u"Error importing from "_s + path(u"in.txt"_s) + u". "_s + description);
    // The lines before stay, imported and recalculated; the bad line and the rest do not.
    QCOMPARE(book.cell(1, 0), u"Good"_s);
    QCOMPARE(book.cell(1, 2), u"9"_s);
    QCOMPARE(book.TestOf(2).maxScore, 9.0f);
    QVERIFY(!book.cell(1, 1).isEmpty());
    QCOMPARE(book.cell(2, 0), QString());
    QCOMPARE(book.cell(3, 0), QString());
    QCOMPARE(book.columnCount(), 3);
}

void TestTextExchange::testLimit_data() {
    QTest::addColumn<int>("headerTests");
    QTest::addColumn<int>("dataTests");
    QTest::addColumn<bool>("names");
    QTest::addColumn<int>("refusedLine"); // 0: all imported
    QTest::addColumn<int>("columns");
    QTest::newRow("401 tests in the header") << 401 << 1 << true << 1 << 2;
    QTest::newRow("400 tests in a line") << 1 << 400 << true << 0 << 402;
    QTest::newRow("401 tests in a line") << 1 << 401 << true << 3 << 3;
    QTest::newRow("401 tests without names") << 1 << 401 << false << 3 << 3;
}

void TestTextExchange::testLimit() {
    QFETCH(int, headerTests);
    QFETCH(int, dataTests);
    QFETCH(bool, names);
    QFETCH(int, refusedLine);
    QFETCH(int, columns);
    QByteArray text = "Name,Total";
    for (int k = 1; k <= headerTests; ++k)
        text += ",T" + QByteArray::number(k);
    text += names ? "\r\nFirst,,1\r\nAnn," : "\r\n1\r\n";
    for (int k = 1; k <= dataTests; ++k)
        text += (k > 1 || names ? "," : "") + QByteArray::number(k % 90 + 1);
    Gradebook book;
    const Result result = importBytes(book, text, options(u","_s, u"\""_s, names));
    if (refusedLine == 0)
        QVERIFY(result.ok());
    else
        QCOMPARE(result.message(), u"Error importing from %1. Line %2 holds more than 400 tests."_s
                                       .arg(path(u"in.txt"_s))
                                       .arg(refusedLine));
    QCOMPARE(book.columnCount(), columns);
}

void TestTextExchange::importOfAMissingFileIsReported() {
    Gradebook book;
    ResetToNew(book, m_libs);
    const QString name = path(u"nowhere.txt"_s);
    const Result result = ImportText(book, name, TextExchangeOptions(), m_libs);
    QVERIFY(!result.ok());
    QVERIFY(result.message().startsWith(u"Error opening "_s + name + u". "_s));
    QVERIFY(result.message().size() > (u"Error opening "_s + name + u". "_s).size());
    QCOMPARE(book.columnCount(), 2);
    QCOMPARE(book.rowCount(), Limits::NewGradebookStudents + 1);
}

void TestTextExchange::shippedLibrariesRead_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("firstName");
    QTest::newRow("scales") << ScaleLibraryName << 7 << u"Letters A-F"_s;
    QTest::newRow("importance sets") << ImportanceLibraryName << 4 << u"All tests alike"_s;
}

void TestTextExchange::shippedLibrariesRead() {
    QFETCH(QString, fileName);
    QFETCH(int, count);
    QFETCH(QString, firstName);
    const QString file = QDir(QStringLiteral(QUILLMARK_RESOURCES)).filePath(fileName);
    if (fileName == ScaleLibraryName) {
        std::vector<GradeScale> library;
        const LibraryReadResult read = ReadLibraryFile(file, library);
        QVERIFY2(read.message.isEmpty(), qPrintable(read.message));
        QCOMPARE(read.count, count);
        QCOMPARE(library[0].name.text(), firstName);
        for (int i = 0; i < count; ++i) {
            const GradeScale& s = library[std::size_t(i)];
            QVERIFY(s.count >= 2);
            QCOMPARE(s.steps[std::size_t(s.count - 1)].topScore, 100.0f);
            for (int k = 1; k < s.count; ++k) {
                QVERIFY(s.steps[std::size_t(k)].value > s.steps[std::size_t(k - 1)].value);
                QVERIFY(s.steps[std::size_t(k)].topScore > s.steps[std::size_t(k - 1)].topScore);
            }
        }
        // A new test graded on the default scale gives 85 of 100 a B.
        TestRecord test;
        test.maxScore = 100;
        test.scale = library[0];
        QCOMPARE(test.scale.steps[std::size_t(GradeIndex(test, 85))].grade.text(), u"B"_s);
    } else {
        std::vector<ImportanceSet> library;
        const LibraryReadResult read = ReadLibraryFile(file, library);
        QVERIFY2(read.message.isEmpty(), qPrintable(read.message));
        QCOMPARE(read.count, count);
        QCOMPARE(library[0].name.text(), firstName);
        QCOMPARE(library[0].count, 1);
        for (int i = 0; i < count; ++i) {
            const ImportanceSet& set = library[std::size_t(i)];
            float sum = 0;
            for (int k = 0; k < set.count; ++k)
                sum += set.steps[std::size_t(k)].percentOfTotal;
            QCOMPARE(sum, 100.0f);
        }
    }
}

QTEST_GUILESS_MAIN(TestTextExchange)
#include "tst_textexchange.moc"
