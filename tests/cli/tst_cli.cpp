#include "core/Gradebook.h"
#include "core/NewGradebook.h"
#include "grading/Refresh.h"
#include "storage/GradebookFile.h"
#include "storage/LibraryFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

Outcome runCli(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(QUILLMARK_CLI), args);
    if (!process.waitForFinished(60000)) process.kill();
    process.waitForFinished();
    const int code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return {code, QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QString sample(const QString& name) {
    return QStringLiteral(QUILLMARK_TEST_DATA) + u"/cli/"_s + name;
}

// Files in the gradebook and library layout: CR LF lines. The texts here are all Latin-1,
// whose bytes Windows-1252 shares.
QByteArray crlfLines(const QStringList& lines) {
    return (lines.join(u"\r\n"_s) + u"\r\n"_s).toLatin1();
}

QString fixed(const QString& text, int width) {
    return u'"' + text.leftJustified(width) + u'"';
}

// One library entry: name and count on their own lines, then text, value and top per step.
QStringList libraryEntry(const QString& name, const QStringList& steps) {
    QStringList lines = {fixed(name, 75), QString::number(steps.size() / 3)};
    for (qsizetype i = 0; i < steps.size(); i += 3)
        lines << fixed(steps[i], 10) << steps[i + 1] << steps[i + 2];
    return lines;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString row(const QStringList& cells) {
    return cells.join(u'\t');
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void show_data();
    void show();
    void exportText_data();
    void exportText();
    void importText_data();
    void importText();
    void convert_data();
    void convert();
    void failures_data();
    void failures();
    void usage_data();
    void usage();
    void helpAndVersion();

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QStringList withLibrary(QStringList args) const { return args << u"--library-dir"_s << m_lib; }
    // Reads a gradebook as the tool does, then refreshes it.
    void readRefreshed(Gradebook& book, const QString& file) const;

    QTemporaryDir m_dir;
    QString m_lib;   // small libraries of our own
    QString m_noLib; // a folder without libraries
};

void TestCli::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_lib = path(u"lib"_s);
    m_noLib = path(u"nolib"_s);
    QVERIFY(QDir().mkpath(m_lib) && QDir().mkpath(m_noLib));
    const QStringList letters = {u"F"_s,  u"0"_s,  u"59"_s, u"D"_s,  u"1"_s,
                                 u"69"_s, u"C"_s,  u"2"_s,  u"79"_s, u"B"_s,
                                 u"3"_s,  u"89"_s, u"A"_s,  u"4"_s,  u"100"_s};
    const QStringList passFail = {u"Fail"_s, u"0"_s, u"49"_s, u"Pass"_s, u"1"_s, u"100"_s};
    writeFile(m_lib + u"/scales.dat"_s, crlfLines(libraryEntry(u"Letters"_s, letters) +
                                                  libraryEntry(u"Pass/Fail"_s, passFail)));
    writeFile(m_lib + u"/importan.dat"_s,
              crlfLines(libraryEntry(
                  u"Two groups"_s, {u"Quizzes"_s, u"0"_s, u"40"_s, u"Essays"_s, u"0"_s, u"60"_s})));
}

void TestCli::readRefreshed(Gradebook& book, const QString& file) const {
    Libraries libs;
    ReadLibraryFile(LibraryReadPath(ScaleLibraryName, m_lib), libs.scales);
    ReadLibraryFile(LibraryReadPath(ImportanceLibraryName, m_lib), libs.importanceSets);
    ResetToNew(book, libs);
    const Result read = ReadGradebookFile(book, file);
    QVERIFY2(read.ok(), qPrintable(read.message()));
    QVERIFY(Refresh(book, 1).ok());
}

void TestCli::show_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("table");
    QTest::addColumn<QString>("note"); // what stderr says; empty: nothing

    const QString lettersHeader = row({u"Name"_s, u"Total"_s, u"Quiz 1"_s, u"Essay"_s, u"Bonus"_s});
    const QStringList lettersTable = QStringList{
        lettersHeader,
        row({u"Ada Lovelace"_s, u"82%    (B)"_s, u"8      (B)"_s, u"45     (A)"_s, u"3"_s}),
        row({u"Blaise Pascal"_s, u"40%    (F)"_s, u"10     (A)"_s, u""_s, u"5"_s}),
        row({u"Carl Gauss"_s, u"30%    (F)"_s, u"6      (D)x"_s, u"25     (F)"_s, u"0"_s}),
        row({u"Zoë Ames"_s, u"75%    (C)"_s, u"7      (C)"_s, u"        x"_s, u"4"_s})};
    QTest::newRow("letters from the file")
        << sample(u"letters.grd"_s) << withLibrary({}) << lettersTable << QString();
    QTest::newRow("numbers by option")
        << sample(u"letters.grd"_s) << withLibrary({u"--mode"_s, u"numbers"_s})
        << QStringList{lettersHeader,
                       row({u"Ada Lovelace"_s, u"82%    (3.0)"_s, u"8      (3.0)"_s,
                            u"45     (4.0)"_s, u"3"_s}),
                       row({u"Blaise Pascal"_s, u"40%    (0.0)"_s, u"10     (4.0)"_s, u""_s,
                            u"5"_s}),
                       row({u"Carl Gauss"_s, u"30%    (0.0)"_s, u"6      (1.0)x"_s,
                            u"25     (0.0)"_s, u"0"_s}),
                       row({u"Zoë Ames"_s, u"75%    (2.0)"_s, u"7      (2.0)"_s, u"        x"_s,
                            u"4"_s})}
        << QString();
    QTest::newRow("percent of max")
        << sample(u"letters.grd"_s) << withLibrary({u"--mode"_s, u"percent"_s})
        << QStringList{lettersHeader,
                       row({u"Ada Lovelace"_s, u"82%"_s, u"8      (80%)"_s, u"45     (90%)"_s,
                            u"3"_s}),
                       row({u"Blaise Pascal"_s, u"40%"_s, u"10     (100%)"_s, u""_s, u"5"_s}),
                       row({u"Carl Gauss"_s, u"30%"_s, u"6      (60%)x"_s, u"25     (50%)"_s,
                            u"0"_s}),
                       row({u"Zoë Ames"_s, u"75%"_s, u"7      (70%)"_s, u"        x"_s, u"4"_s})}
        << QString();
    // A gradebook file carries its scales and groups; missing libraries only warn.
    QTest::newRow("without libraries")
        << sample(u"letters.grd"_s) << QStringList{u"--library-dir"_s, m_noLib} << lettersTable
        << u"Error reading parameters! "_s;

    // Grades rule in numbers mode; students by total, best first; tests by name, each taking
    // Cy's ignore flag along.
    const QString sortedHeader = row({u"Name"_s, u"Total"_s, u"Alpha"_s, u"Zeta"_s});
    QTest::newRow("sorted, grades rule")
        << sample(u"sorted.grd"_s) << withLibrary({})
        << QStringList{sortedHeader,
                       row({u"Ben Brown"_s, u"100%   (4.0)"_s, u"10     (4.0)"_s,
                            u"20     (4.0)"_s}),
                       row({u"Ann Avery"_s, u"50%    (0.0)"_s, u"9      (4.0)"_s,
                            u"10     (0.0)"_s}),
                       row({u"Cy Cole"_s, u"25%    (0.0)"_s, u"6      (1.0)"_s,
                            u"15     (2.0)x"_s})}
        << QString();
    // Percent of max averages the scores, whatever the rule.
    QTest::newRow("sorted, percent")
        << sample(u"sorted.grd"_s) << withLibrary({u"--mode"_s, u"percent"_s})
        << QStringList{sortedHeader,
                       row({u"Ben Brown"_s, u"100%"_s, u"10     (100%)"_s, u"20     (100%)"_s}),
                       row({u"Ann Avery"_s, u"70%"_s, u"9      (90%)"_s, u"10     (50%)"_s}),
                       row({u"Cy Cole"_s, u"60%"_s, u"6      (60%)"_s, u"15     (75%)x"_s})}
        << QString();

    // An old file without groups takes the library's first set (40 % and 60 %: 79 is a C,
    // 48 an F); without the library no group carries weight and every total is empty. Nor
    // does it say to show the total's score.
    const QString oldHeader = row({u"Name"_s, u"Total"_s, u"Quiz"_s, u"Project"_s});
    QTest::newRow("1.01s with the library")
        << sample(u"old101.grd"_s) << withLibrary({})
        << QStringList{oldHeader,
                       row({u"Hana Ito"_s, u"       (C)"_s, u"18     (A)"_s, u"72     (Pass)"_s}),
                       row({u"Ivo Jansen"_s, u"       (F)"_s, u"9.5    (F)"_s,
                            u"40     (Fail)x"_s})}
        << QString();
    QTest::newRow("1.01s without the library")
        << sample(u"old101.grd"_s) << QStringList{u"--library-dir"_s, m_noLib}
        << QStringList{oldHeader, row({u"Hana Ito"_s, u""_s, u"18     (A)"_s, u"72     (Pass)"_s}),
                       row({u"Ivo Jansen"_s, u""_s, u"9.5    (F)"_s, u"40     (Fail)x"_s})}
        << u"Error reading parameters! "_s;

    // Names are protected: IDs until the right password; Finn, shown by his ID by choice,
    // stays so. The rows follow the names as shown.
    const QString protectedHeader = row({u"Name"_s, u"Total"_s, u"Test 1"_s});
    const QStringList hidden = {protectedHeader,
                                row({u"S-101"_s, u"95%    (A)"_s, u"95     (A)"_s}),
                                row({u"S-102"_s, u"85%    (B)"_s, u"85     (B)"_s}),
                                row({u"S-103"_s, u"70%    (C)"_s, u"70     (C)"_s})};
    QTest::newRow("protected, right password")
        << sample(u"protected.grd"_s) << withLibrary({u"--password"_s, u"s3cret"_s})
        << QStringList{protectedHeader, row({u"Eve Adams"_s, u"70%    (C)"_s, u"70     (C)"_s}),
                       row({u"Gus Clark"_s, u"85%    (B)"_s, u"85     (B)"_s}),
                       row({u"S-101"_s, u"95%    (A)"_s, u"95     (A)"_s})}
        << QString();
    QTest::newRow("protected, no password") << sample(u"protected.grd"_s) << withLibrary({})
                                            << hidden << u"Authorization was not verified."_s;
    QTest::newRow("protected, password in the wrong case")
        << sample(u"protected.grd"_s) << withLibrary({u"--password"_s, u"S3CRET"_s}) << hidden
        << u"Password Incorrect"_s;
    QTest::newRow("protected, mode with the password")
        << sample(u"protected.grd"_s)
        << withLibrary({u"--password"_s, u"s3cret"_s, u"--mode"_s, u"percent"_s})
        << QStringList{protectedHeader, row({u"Eve Adams"_s, u"70%"_s, u"70     (70%)"_s}),
                       row({u"Gus Clark"_s, u"85%"_s, u"85     (85%)"_s}),
                       row({u"S-101"_s, u"95%"_s, u"95     (95%)"_s})}
        << QString();
}

void TestCli::show() {
    QFETCH(QString, file);
    QFETCH(QStringList, args);
    QFETCH(QStringList, table);
    QFETCH(QString, note);
    const Outcome run = runCli(QStringList{u"show"_s, file} + args);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, table.join(u'\n') + u'\n');
    if (note.isEmpty())
        QCOMPARE(run.err, QString());
    else
        QVERIFY2(run.err.contains(note), qPrintable(run.err));
}

void TestCli::exportText_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("lines");

    const QString letters = sample(u"letters.grd"_s);
    QTest::newRow("defaults")
        << letters << QStringList{}
        << QStringList{u"\"Name\"\t\"Total\"\t\"Quiz 1\"\t\"Essay\"\t\"Bonus\""_s,
                       u"\"Ada Lovelace\"\t82\t8\t45\t3"_s, u"\"Blaise Pascal\"\t40\t10\t\t5"_s,
                       u"\"Carl Gauss\"\t30\t6\t25\t"_s, u"\"Zoë Ames\"\t75\t7\t\t4"_s};
    QTest::newRow("letter grades")
        << letters << QStringList{u"--grades"_s}
        << QStringList{u"\"Name\"\t\"Total\"\t\"Total Grades\"\t\"Quiz 1\"\t\"Quiz 1 Grades\"\t"
                       u"\"Essay\"\t\"Essay Grades\"\t\"Bonus\"\t\"Bonus Grades\""_s,
                       u"\"Ada Lovelace\"\t82\t\"B\"\t8\t\"B\"\t45\t\"A\"\t3\t"_s,
                       u"\"Blaise Pascal\"\t40\t\"F\"\t10\t\"A\"\t\t\t5\t"_s,
                       u"\"Carl Gauss\"\t30\t\"F\"\t6\t\"D\"\t25\t\"F\"\t\t"_s,
                       u"\"Zoë Ames\"\t75\t\"C\"\t7\t\"C\"\t\t\t4\t"_s};
    QTest::newRow("number grades, comma, no delimiter")
        << letters << QStringList{u"--grades"_s, u"--mode"_s,      u"numbers"_s, u"--separator"_s,
                                  u"comma"_s,    u"--delimiter"_s, u"none"_s}
        << QStringList{u"Name,Total,Total Grades,Quiz 1,Quiz 1 Grades,Essay,Essay Grades,Bonus,"
                       u"Bonus Grades"_s,
                       u"Ada Lovelace,82,3.0,8,3.0,45,4.0,3,"_s,
                       u"Blaise Pascal,40,0.0,10,4.0,,,5,"_s, u"Carl Gauss,30,0.0,6,1.0,25,0.0,,"_s,
                       u"Zoë Ames,75,2.0,7,2.0,,,4,"_s};
    QTest::newRow("no names, semicolon, apostrophe")
        << letters
        << QStringList{u"--no-student-names"_s, u"--separator"_s, u"semicolon"_s, u"--delimiter"_s,
                       u"apostrophe"_s}
        << QStringList{u";'Total';'Quiz 1';'Essay';'Bonus'"_s, u"82;8;45;3"_s, u"40;10;;5"_s,
                       u"30;6;25;"_s, u"75;7;;4"_s};
    QTest::newRow("no test names, space")
        << letters << QStringList{u"--no-test-names"_s, u"--separator"_s, u"space"_s}
        << QStringList{u"\"Ada Lovelace\" 82 8 45 3"_s, u"\"Blaise Pascal\" 40 10  5"_s,
                       u"\"Carl Gauss\" 30 6 25 "_s, u"\"Zoë Ames\" 75 7  4"_s};
    // A locked gradebook exports what it shows: the IDs.
    QTest::newRow("protected") << sample(u"protected.grd"_s) << QStringList{}
                               << QStringList{u"\"Name\"\t\"Total\"\t\"Test 1\""_s,
                                              u"\"S-101\"\t95\t95"_s, u"\"S-102\"\t85\t85"_s,
                                              u"\"S-103\"\t70\t70"_s};
    QTest::newRow("protected, password")
        << sample(u"protected.grd"_s) << QStringList{u"--password"_s, u"s3cret"_s}
        << QStringList{u"\"Name\"\t\"Total\"\t\"Test 1\""_s, u"\"Eve Adams\"\t70\t70"_s,
                       u"\"Gus Clark\"\t85\t85"_s, u"\"S-101\"\t95\t95"_s};
}

void TestCli::exportText() {
    QFETCH(QString, file);
    QFETCH(QStringList, args);
    QFETCH(QStringList, lines);
    const QString out = path(u"export-%1.txt"_s.arg(QLatin1StringView(QTest::currentDataTag())));
    const Outcome run = runCli(withLibrary(QStringList{u"export"_s, file, out} + args));
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QString());
    QCOMPARE(readFile(out), crlfLines(lines));
}

void TestCli::importText_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("firstName");

    QTest::newRow("tab, quote") << QStringList{u"\"Name\"\t\"Total\"\t\"Quiz\"\t\"Lab\""_s,
                                               u"\"Ann\"\t99\t8\t15"_s, u"\"Bob\"\t99\t10\t"_s,
                                               u"\"Zoë\"\t99\t6\t20"_s}
                                << QStringList{} << u"Ann"_s;
    // A separator inside a delimited name stays in the name.
    QTest::newRow("comma, apostrophe")
        << QStringList{u"'Name','Total','Quiz','Lab'"_s, u"'Smith, Jo',99,8,15"_s,
                       u"'Bob',99,10,"_s, u"'Zoë',99,6,20"_s}
        << QStringList{u"--separator"_s, u"comma"_s, u"--delimiter"_s, u"apostrophe"_s}
        << u"Smith, Jo"_s;
}

void TestCli::importText() {
    QFETCH(QStringList, lines);
    QFETCH(QStringList, args);
    QFETCH(QString, firstName);
    const QString in = path(u"import-%1.txt"_s.arg(QLatin1StringView(QTest::currentDataTag())));
    const QString out = path(u"import-%1.grd"_s.arg(QLatin1StringView(QTest::currentDataTag())));
    writeFile(in, crlfLines(lines));
    const Outcome run = runCli(withLibrary(QStringList{u"import"_s, in, out} + args));
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QString());

    // Each test's maximum is its best imported score; the class keeps the seven new rows.
    const QStringList written = QString::fromLatin1(readFile(out)).split(u"\r\n"_s);
    QCOMPARE(written.first(), u"\"V E R 1.05s\""_s);
    const QString namePart = u'"' + firstName + u'"';
    for (const QString& line : {u"3,7"_s, u"\"Quiz\",10,0"_s, u"\"Lab\",20,0"_s,
                                namePart + QString(14 - namePart.size(), u' ') + u", 8  , 15  "_s,
                                u"\"Bob\"         , 10  ,-1  "_s, u"\"\"            ,-1  ,-1  "_s})
        QVERIFY2(written.contains(line), qPrintable(line));

    // Imported tests have no grades; totals use the library's first scale and groups.
    const Outcome shown = runCli(withLibrary({u"show"_s, out}));
    QCOMPARE(shown.exitCode, 0);
    QStringList table = {row({u"Name"_s, u"Total"_s, u"Quiz"_s, u"Lab"_s}),
                         row({firstName, u"78%    (2.0)"_s, u"8"_s, u"15"_s}),
                         row({u"Bob"_s, u"50%    (0.0)"_s, u"10"_s, u""_s}),
                         row({u"Zoë"_s, u"80%    (3.0)"_s, u"6"_s, u"20"_s})};
    for (int i = 0; i < 4; ++i)
        table << row({u""_s, u""_s, u""_s, u""_s});
    QCOMPARE(shown.out, table.join(u'\n') + u'\n');
}

void TestCli::convert_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("lines"); // lines the written file must hold

    QTest::newRow("1.01s") << sample(u"old101.grd"_s)
                           << QStringList{fixed(u"Two groups"_s, 75) + u",2"_s, u"\"\""_s,
                                          u"\"Hana Ito\"    , 18  , 72  "_s,
                                          u"\"Ivo Jansen\"  , 9.5  , 40  "_s};
    // The ignored empty cell is written empty, not as a score of 0.
    QTest::newRow("letters") << sample(u"letters.grd"_s)
                             << QStringList{u"\"Blaise Pascal\"             , 10  ,-1  , 5  "_s,
                                            u"\"Zoë Ames\"    , 7  ,-1  , 4  "_s};
    // Names are written as the file held them, never hidden.
    QTest::newRow("protected") << sample(u"protected.grd"_s)
                               << QStringList{u"\"s3cret\""_s, u"\"Eve Adams\"   , 70  "_s,
                                              u"\"Gus Clark\"   , 85  "_s,
                                              u"\"S-101\"       , 95  "_s,
                                              fixed(u"Eve Adams"_s, 75)};
    QTest::newRow("sorted") << sample(u"sorted.grd"_s)
                            << QStringList{u"\"Alpha\",10,0"_s, u"\"Ben Brown\"   , 10  , 20  "_s};
}

void TestCli::convert() {
    QFETCH(QString, file);
    QFETCH(QStringList, lines);
    const QString out = path(u"convert-%1.grd"_s.arg(QLatin1StringView(QTest::currentDataTag())));
    const Outcome run = runCli(withLibrary({u"convert"_s, file, out}));
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QString());

    const QByteArray bytes = readFile(out);
    QVERIFY(bytes.endsWith("\r\n"));
    QVERIFY(!bytes.contains("\r\n\r\n") && !QByteArray(bytes).replace("\r\n", "").contains('\n'));
    const QStringList written = QString::fromLatin1(bytes).split(u"\r\n"_s);
    QCOMPARE(written.first(), u"\"V E R 1.05s\""_s);
    for (const QString& line : lines)
        QVERIFY2(written.contains(line), qPrintable(line));

    // The converted file reads back to the gradebook the original gives.
    Gradebook before, after;
    readRefreshed(before, file);
    readRefreshed(after, out);
    QCOMPARE(after.rowCount(), before.rowCount());
    QCOMPARE(after.columnCount(), before.columnCount());
    for (int r = 0; r < before.rowCount(); ++r) {
        QCOMPARE(after.rowHeight(r), before.rowHeight(r));
        for (int c = 0; c < before.columnCount(); ++c)
            QCOMPARE(after.GetCellText(r, c), before.GetCellText(r, c));
    }
    for (int c = 0; c < before.columnCount(); ++c)
        QCOMPARE(after.columnWidth(c), before.columnWidth(c));
    for (int r = 1; r < before.rowCount(); ++r)
        QVERIFY2(after.StudentOf(r) == before.StudentOf(r), qPrintable(u"student %1"_s.arg(r)));
    for (int c = 1; c < before.columnCount(); ++c)
        QVERIFY2(after.TestOf(c) == before.TestOf(c), qPrintable(u"column %1"_s.arg(c)));
    QVERIFY(after.importanceSet() == before.importanceSet());
    QVERIFY(after.totalScales() == before.totalScales());
    QVERIFY(after.security() == before.security());
    QVERIFY(after.view() == before.view());
}

void TestCli::failures_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message"); // stderr starts with it
    QTest::addColumn<QString>("unwritten");

    const QString missing = path(u"missing.GRD"_s);
    const QString noDir = path(u"no/such/folder/out.file"_s);
    const QString badTag = path(u"badtag.grd"_s);
    const QString bareTag = path(u"baretag.grd"_s);
    const QString empty = path(u"empty.grd"_s);
    const QString cut = path(u"cut.grd"_s);
    const QString outOfRange = path(u"outofrange.grd"_s);
    writeFile(badTag, crlfLines({u"\"GRD\""_s, u"1"_s}));
    writeFile(bareTag, crlfLines({u"GRD"_s}));
    writeFile(empty, {});
    const QList<QByteArray> letters = readFile(sample(u"letters.grd"_s)).split('\n');
    writeFile(cut, letters.mid(0, 60).join('\n'));
    QList<QByteArray> tooMany = letters;
    tooMany[28] = "4,40000\r"; // more students than a gradebook holds
    writeFile(outOfRange, tooMany.join('\n'));
    const QString out = path(u"never-written.out"_s);

    QTest::newRow("show, missing file")
        << QStringList{u"show"_s, missing} << u"Error opening "_s + missing + u".  "_s << QString();
    QTest::newRow("show, other tag")
        << QStringList{u"show"_s, badTag} << u"Invalid file format!\n"_s << QString();
    QTest::newRow("show, tag not quoted")
        << QStringList{u"show"_s, bareTag} << u"Invalid file format!\n"_s << QString();
    QTest::newRow("show, empty file")
        << QStringList{u"show"_s, empty} << u"Invalid file format!\n"_s << QString();
    QTest::newRow("show, cut short")
        << QStringList{u"show"_s, cut} << u"Error reading "_s + cut + u'\n' << QString();
    QTest::newRow("show, too many students")
        << QStringList{u"show"_s, outOfRange} << u"Error reading "_s + outOfRange + u'\n'
        << QString();
    QTest::newRow("export, missing file") << QStringList{u"export"_s, missing, out}
                                          << u"Error opening "_s + missing + u".  "_s << out;
    QTest::newRow("export, no such folder")
        << QStringList{u"export"_s, sample(u"letters.grd"_s), noDir}
        << u"Error opening "_s + noDir + u". "_s << noDir;
    QTest::newRow("import, missing file")
        << QStringList{u"import"_s, missing, out} << u"Error opening "_s + missing + u". "_s << out;
    QTest::newRow("convert, bad file")
        << QStringList{u"convert"_s, cut, out} << u"Error reading "_s + cut + u'\n' << out;
    QTest::newRow("convert, no such folder")
        << QStringList{u"convert"_s, sample(u"letters.grd"_s), noDir}
        << u"Error opening "_s + noDir + u". "_s << noDir;
    // The window refuses a display-mode change while the grading rules are locked.
    QTest::newRow("protected mode without password")
        << QStringList{u"show"_s, sample(u"protected.grd"_s), u"--mode"_s, u"numbers"_s}
        << u"Authorization was not verified."_s << QString();
}

void TestCli::failures() {
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    QFETCH(QString, unwritten);
    const Outcome run = runCli(withLibrary(args));
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.out, QString());
    QVERIFY2(run.err.startsWith(message), qPrintable(run.err));
    if (!unwritten.isEmpty()) QVERIFY(!QFile::exists(unwritten));
}

void TestCli::usage_data() {
    QTest::addColumn<QStringList>("args");
    const QString file = sample(u"letters.grd"_s);
    QTest::newRow("nothing") << QStringList{};
    QTest::newRow("unknown command") << QStringList{u"print"_s, file};
    QTest::newRow("show without file") << QStringList{u"show"_s};
    QTest::newRow("export without OUT") << QStringList{u"export"_s, file};
    QTest::newRow("convert with three files") << QStringList{u"convert"_s, file, file, file};
    QTest::newRow("unknown option") << QStringList{u"show"_s, file, u"--colour"_s};
    QTest::newRow("option of another command") << QStringList{u"show"_s, file, u"--grades"_s};
    QTest::newRow("password on import")
        << QStringList{u"import"_s, file, file, u"--password"_s, u"x"_s};
    QTest::newRow("unknown mode") << QStringList{u"show"_s, file, u"--mode"_s, u"colour"_s};
    QTest::newRow("missing mode") << QStringList{u"show"_s, file, u"--mode"_s};
    QTest::newRow("unknown separator")
        << QStringList{u"export"_s, file, file, u"--separator"_s, u"pipe"_s};
    QTest::newRow("unknown delimiter")
        << QStringList{u"export"_s, file, file, u"--delimiter"_s, u"backtick"_s};
}

void TestCli::usage() {
    QFETCH(QStringList, args);
    const QByteArray before = readFile(sample(u"letters.grd"_s));
    const Outcome run = runCli(args);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.out, QString());
    QVERIFY2(run.err.contains(u"Usage: quillmark-cli"_s), qPrintable(run.err));
    QCOMPARE(readFile(sample(u"letters.grd"_s)), before);
}

void TestCli::helpAndVersion() {
    const Outcome help = runCli({u"--help"_s});
    QCOMPARE(help.exitCode, 0);
    QCOMPARE(help.err, QString());
    for (const QString& text : {u"show FILE"_s, u"export FILE OUT"_s, u"import IN OUT"_s,
                                u"convert IN OUT"_s, u"--library-dir"_s, u"Exit status"_s})
        QVERIFY2(help.out.contains(text), qPrintable(text));

    const Outcome version = runCli({u"--version"_s});
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.out, u"quillmark-cli " QUILLMARK_VERSION "\n"_s);
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
