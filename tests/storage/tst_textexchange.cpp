#include "TestSupport.h"
#include "core/ScoreCell.h"
#include "grading/Calculation.h"
#include "storage/TextExchange.h"
#include "storage/Windows1252.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace TestSupport;
using Opts = TextExchangeOptions;

namespace {

// The options from the separator and delimiter boxes and the checks turned away from their
// defaults.
enum Flag { NoHeader = 1, NoNames = 2, Grades = 4 };
Opts opts(const QString& separator, const QString& delimiter = u"\""_s, int flags = 0) {
    return {!(flags & NoHeader), !(flags & NoNames), bool(flags & Grades), separator, delimiter};
}

// The default options over the block of rows r1 to r2 and columns c1 to c2.
Opts block(int r1, int c1, int r2, int c2) {
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

} // namespace

class TestTextExchange : public QObject {
    Q_OBJECT

    QString path(const QString& name) const { return m_dir.filePath(name); }
    // Imports `text`, saved as in.txt, into `book` reset to the new state.
    Result importBytes(Gradebook& book, const QByteArray& text, const Opts& o) {
        if (!Store(path(u"in.txt"_s), text)) return Result::failure(u"not written"_s);
        return ImportText(NewClass(book, Libs), path(u"in.txt"_s), o, Libs);
    }

    const QTemporaryDir m_dir; // shared: every file is written afresh before it is read

private slots:
    void splitImportLine_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("delimiter");
        QTest::addColumn<QString>("fields"); // joined by "|"
        const QString q = u"\""_s, c = u","_s;
        QTest::newRow("empty fields") << u",,x,"_s << c << QString() << u"||x|"_s;
        QTest::newRow("separator inside delimiters") << u"\"S, J\",85"_s << c << q << u"S, J|85"_s;
        QTest::newRow("unclosed delimiter") << u"\"Smith, J"_s << c << q << u"Smith| J"_s;
        QTest::newRow("text after the closing delimiter; a delimiter alone")
            << u"\"S\" Jr,\",5"_s << c << q << u"S\" Jr||5"_s;
        QTest::newRow("delimiter within") << u"O'Neil;5"_s << u";"_s << u"'"_s << u"O'Neil|5"_s;
        QTest::newRow("long separator") << u"A, 5, 6"_s << u", "_s << q << u"A| 5| 6"_s;
        QTest::newRow("no separator: one field") << u"Ann,5"_s << QString() << q << u"Ann,5"_s;
        QTest::newRow("long delimiter") << u"<<a,b<<,c"_s << c << u"<<"_s << u"a,b|c"_s;
    }
    void splitImportLine() {
        QFETCH(QString, line);
        QFETCH(QString, separator);
        QFETCH(QString, delimiter);
        QFETCH(QString, fields);
        QCOMPARE(SplitImportLine(line, separator, delimiter), fields.split(u'|'));
    }

    void exportText_data() {
        QTest::addColumn<DisplayMode>("mode");
        QTest::addColumn<Opts>("opts");
        QTest::addColumn<QString>("expected");
        QTest::newRow("whole table by default") << DisplayMode::Letters << Opts{}
                                                << u"\"Name\"\t\"Total\"\t\"Quiz 1\"\t\"Essay\"\r\n"
                                                   "\"Smith, John\"\t80\t85\t15\r\n"
                                                   "\"Lee, Ann €\"\t46\t92.5\t\r\n"_s;
        QTest::newRow("without names the header starts with the separator")
            << DisplayMode::Letters << opts(u"{TAB}"_s, u"\""_s, NoNames)
            << u"\t\"Total\"\t\"Quiz 1\"\t\"Essay\"\r\n80\t85\t15\r\n46\t92.5\t\r\n"_s;
        QTest::newRow("letters with grades")
            << DisplayMode::Letters << opts(u","_s, u"\""_s, Grades)
            << u"\"Name\",\"Total\",\"Total Grades\",\"Quiz 1\",\"Quiz 1 Grades\",\"Essay\","
               "\"Essay Grades\"\r\n\"Smith, John\",80,\"B\",85,\"B\",15,\r\n"
               "\"Lee, Ann €\",46,\"F\",92.5,\"A\",,\r\n"_s;
        QTest::newRow("numbers with grades are not delimited")
            << DisplayMode::Numbers << opts(u";"_s, u"|"_s, Grades)
            << u"|Name|;|Total|;|Total Grades|;|Quiz 1|;|Quiz 1 Grades|;|Essay|;|Essay Grades|\r\n"
               "|Smith, John|;80;3.0;85;3.0;15;\r\n|Lee, Ann €|;46;0.0;92.5;4.0;;\r\n"_s;
        QTest::newRow("percent of max with grades")
            << DisplayMode::PercentOfMax << opts(u";"_s, u"\""_s, NoHeader | NoNames | Grades)
            << u"80;;85;\"85%\";15;\r\n46;;92.5;\"93%\";;\r\n"_s;
        QTest::newRow("numbers, space and apostrophes")
            << DisplayMode::Numbers << opts(u"{SPACE}"_s, u"'"_s)
            << u"'Name' 'Total' 'Quiz 1' 'Essay'\r\n"
               "'Smith, John' 80 85 15\r\n'Lee, Ann €' 46 92.5 \r\n"_s;
        QTest::newRow("selection of one student")
            << DisplayMode::Letters << block(2, 2, 2, 3)
            << u"\"Name\"\t\"Quiz 1\"\t\"Essay\"\r\n\"Lee, Ann €\"\t92.5\t\r\n"_s;
        QTest::newRow("selection over header and names takes scores only")
            << DisplayMode::Letters << block(0, 0, 1, 2)
            << u"\"Name\"\t\"Total\"\t\"Quiz 1\"\r\n\"Smith, John\"\t80\t85\r\n"_s;
        QTest::newRow("selection reversed and beyond the table")
            << DisplayMode::Letters << block(40, 90, 1, 3)
            << u"\"Name\"\t\"Essay\"\r\n\"Smith, John\"\t15\r\n\"Lee, Ann €\"\t\r\n"_s;
    }
    void exportText() {
        QFETCH(DisplayMode, mode);
        QFETCH(Opts, opts);
        QFETCH(QString, expected);
        SmallClass c{mode};
        const QString file = path(u"out.txt"_s);
        QVERIFY(ExportText(c.book, file, opts).ok());
        QCOMPARE(DecodeWindows1252(Contents(file)), expected); // € is one byte
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
        QTest::addColumn<Opts>("opts");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("why"); // empty when the whole file is imported
        QTest::addColumn<QString>("table");
        const Opts semicolon = opts(u";"_s), noHeader = opts(u","_s, u"\""_s, NoHeader);
        QTest::newRow("without names the scores start at the first test")
            << opts(u","_s, u"\""_s, NoHeader | NoNames) << QByteArray("5,6\r\n7\r\n") << QString()
            << u"8x4: 0,0=Name 1,2=5 1,3=6 2,2=7"_s;
        QTest::newRow("Windows-1252, double quotes in names become apostrophes")
            << opts(u";"_s, u"'"_s) << QByteArray("'N';'T';'Q\"1'\r\n'O\"Neil \x80\xEB';;4\r\n")
            << QString() << u"8x3: 0,0=Name 0,2=Q'1 1,0=O'Neil €ë 1,2=4"_s;
        QTest::newRow("delimited and padded scores are numbers")
            << noHeader << QByteArray("\"Ann\",\"\",\"85\", 7 ,-2\r\n") << QString()
            << u"8x5: 0,0=Name 1,0=Ann 1,2=85 1,3=7 1,4=-2"_s;
        QTest::newRow("text that is no number is kept")
            << noHeader << QByteArray("Ann,,abs,-,.\r\n") << QString()
            << u"8x5: 0,0=Name 1,0=Ann 1,2=abs 1,3=- 1,4=."_s;
        QTest::newRow("line ends of every kind, the last line without one")
            << noHeader << QByteArray("A,,1\rB,,2\nC,,3\r\nD,,4") << QString()
            << u"8x3: 0,0=Name 1,0=A 1,2=1 2,0=B 2,2=2 3,0=C 3,2=3 4,0=D 4,2=4"_s;
        QTest::newRow("empty file") << semicolon << QByteArray() << QString() << u"8x2: 0,0=Name"_s;
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
            QTest::newRow(tag) << semicolon << "Name;Total;T\r\nAnn;;1;2\r\n" + line + "\r\nBo;;5"
                               << u"Line 3"_s + why
                               << u"8x%1: 0,0=Name 0,2=T 1,0=Ann 1,2=1 1,3=2 "_s.arg(columns) +
                                      kept;
        };
        third("decimal comma", "Bad;;7,5", u", field 3: \"7,5\" is not a number."_s, u"2,0=Bad"_s);
        third("percent sign", "Bad;;60;85%", u", field 4: \"85%\" is not a number."_s,
              u"2,0=Bad 2,2=60"_s);
        const QByteArray fives = QByteArray(";5").repeated(Limits::MaxTests);
        const QByteArray header = "Name;Total" + QByteArray(";T").repeated(Limits::MaxTests);
        third("401 tests in a line", "Cy;" + fives + ";5", u" holds more than 400 tests."_s,
              u"2,0=Cy "_s + run(2, 2, 401, u"5"_s), 402);
        QTest::newRow("401 tests without names")
            << opts(u";"_s, u"\""_s, NoNames) << "Name;Total;T\r\n1\r\n5" + fives
            << u"Line 3 holds more than 400 tests."_s
            << u"8x402: 0,0=Name 0,2=T 1,2=1 "_s + run(2, 2, 401, u"5"_s);
        QTest::newRow("401 tests in the header")
            << semicolon << header + ";T\r\nFirst;;1" << u"Line 1 holds more than 400 tests."_s
            << u"8x402: 0,0=Name "_s + run(0, 2, 401, u"T"_s);
        QTest::newRow("400 tests in the header and in a line without names")
            << opts(u";"_s, u"\""_s, NoNames) << header + "\r\n5" + fives.mid(2) << QString()
            << u"8x402: 0,0=Name "_s + run(0, 2, 401, u"T"_s) + u' ' + run(1, 2, 401, u"5"_s);
        QTest::newRow("32767 students")
            << opts(u";"_s, u"\""_s, NoHeader | NoNames) << QByteArray("\r\n").repeated(32767)
            << u"The file holds more than 32766 students."_s << u"32767x3: 0,0=Name"_s;
    }
    void importText() {
        QFETCH(Opts, opts);
        QFETCH(QByteArray, file);
        QFETCH(QString, why);
        QFETCH(QString, table);
        Gradebook book;
        const Result result = importBytes(book, file, opts);
        const QString stopped = u"Error importing from "_s + path(u"in.txt"_s) + u". "_s + why;
        QCOMPARE(result.message(), why.isEmpty() ? QString() : stopped);
        QCOMPARE(contents(book), table); // a new gradebook's rows stay
    }

    void importGrowsTheTable() {
        QByteArray text = "Name\tTotal\tLow\tHigh\tNumber\r\n";
        for (int i = 0; i < 10; ++i) // more students than a new gradebook has rows
            text +=
                u"S%1\t\t%2\t%3\t%4\r\n"_s.arg(i).arg(-i).arg(i * 1.5).arg(2023120 + i).toLatin1();
        Gradebook book;
        QVERIFY(importBytes(book, text, Opts{}).ok());
        QCOMPARE(book.rowCount(), 11);
        QCOMPARE(book.TestOf(2).maxScore, 0.0f); // no score of Low is above 0
        QCOMPARE(book.TestOf(2).scale, Libs.scale(0));
        // A student number is a number too; as every score, it is read from its first six
        // characters, which also give the test's maximum.
        QCOMPARE(book.GetCellText(10, 4), u"202312"_s);
        QCOMPARE(book.TestOf(4).maxScore, 202312.0f);
        // Grown rows are blank students who count every test, as the new ones are.
        for (int r = 1; r <= 10; ++r)
            QCOMPARE(book.StudentOf(r), NewStudentRecord());
        // Their scores count towards their totals: S9 has 13.5 of 13.5 on High.
        QVERIFY(!book.cell(10, 1).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTextExchange)
#include "tst_textexchange.moc"
