#include "LargeClass.h"
#include "TestSupport.h"
#include "grading/Calculation.h"
#include "storage/GradebookFile.h"
#include "storage/LibraryFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace Qt::Literals::StringLiterals;
using namespace TestSupport;

namespace {

struct Outcome {
    int exitCode = -1;
    QString out, err;
};

// Expected text as it reads, a '|' standing for a TAB.
QString tabbed(const char* text) {
    return QString::fromUtf8(text).replace(u'|', u'\t');
}

// The same as a file holds it: CR LF lines, Windows-1252 (the texts here are all Latin-1).
QByteArray fileBytes(QString text) {
    return text.replace(u"\n"_s, u"\r\n"_s).toLatin1();
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    // Runs the tool with our libraries, files limited to `fileSize` bytes; a later --library-dir
    // in `args` wins.
    Outcome cli(const QStringList& args, rlim_t fileSize = RLIM_INFINITY) const {
        QProcess process;
        process.setChildProcessModifier([fileSize] { LimitFileSize(fileSize); });
        process.start(QStringLiteral(QUILLMARK_CLI), words("--library-dir $tmp/lib") + args);
        if (!process.waitForFinished(60000)) process.kill();
        process.waitForFinished();
        const int code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        return {code, QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }
    // "$cli" stands for the sample gradebooks' folder ("$letters" for one of them), "$data" for
    // the test data, "$tmp" for our own folder and "$out" for a file in it.
    QString expand(QString text) const {
        return text.replace(u"$letters"_s, u"$cli/letters.grd"_s)
            .replace(u"$cli"_s, DataFile(u"cli"_s))
            .replace(u"$data"_s, QStringLiteral(QUILLMARK_TEST_DATA))
            .replace(u"$out"_s, u"$tmp/out"_s)
            .replace(u"$tmp"_s, m_dir.path());
    }
    // A command line written as one string; split first, so that paths may hold spaces.
    QStringList words(const char* line) const {
        QStringList list = QString::fromUtf8(line).split(u' ', Qt::SkipEmptyParts);
        for (QString& word : list)
            word = expand(word);
        return list;
    }

    // Adds a row to a data table: the command line as its words, then the other columns' values,
    // texts as UTF-8.
    template <class... T> void row(const char* tag, const char* args, const T&... values) const {
        QTestData& data = QTest::newRow(tag) << words(args);
        const auto cell = [](const auto& value) {
            if constexpr (std::is_convertible_v<decltype(value), const char*>)
                return QString::fromUtf8(value);
            else
                return value;
        };
        (data << ... << cell(values));
    }

    // The folder of the file a test writes over, emptied.
    bool emptyOld() const {
        QDir old(expand(u"$tmp/old"_s));
        return old.removeRecursively() && old.mkpath(u"."_s);
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid() && QDir(m_dir.path()).mkpath(u"lib"_s));
        QVERIFY(WriteLibraryFile(m_dir.filePath(u"lib/scales.dat"_s), {LetterScale()}, 1).ok());
        const ImportanceSet groups = GroupSet({{u"Quizzes", 40}, {u"Essays", 60}}, u"Two groups"_s);
        QVERIFY(WriteLibraryFile(m_dir.filePath(u"lib/importan.dat"_s), {groups}, 1).ok());
        QVERIFY(Store(expand(u"$tmp/in.txt"_s), fileBytes(u"'Name' 'Total' 'Quiz' 'Lab'\n"
                                                          "'Smith, Jo' 99 8 15\n'Bob' 99 10 \n"
                                                          "'Zoë' 99 6 20\n"_s)));
        // A class of 40 students and 30 tests, more than a page holds.
        Gradebook big;
        NewClass(big, LetterLibraries(), 30);
        big.setShape(41, 32);
        for (int r = 1; r <= 40; ++r) {
            big.SetCellText(r, 0, u"Pupil %1"_s.arg(r, 2, 10, QChar(u'0')));
            for (int c = 2; c < 32; ++c)
                big.SetCellText(r, c, QString::number((r * c) % 100 + 1));
        }
        for (int c = 2; c < 32; ++c)
            big.SetCellText(0, c, u"Unit %1"_s.arg(c - 1));
        QVERIFY(WriteGradebookFile(big, expand(u"$tmp/class.grd"_s)).ok());
        BuildLargeClass(big);
        RecalcAll(big);
        QVERIFY(WriteGradebookFile(big, expand(u"$tmp/big.grd"_s)).ok());
    }

    // show prints the table; export writes it to OUT.
    void tables_data() {
        // The note is what stderr says; empty: nothing. In the table a '|' stands for a TAB.
        Columns<QStringList, QString, QString>("args", "note", "table");
        // Students by total, best first; tests by name, each taking Cy's ignore flag along.
        // Percent of max averages the scores, whatever the rule.
        row("sorted, percent", "show $cli/sorted.grd --mode percent", "", R"(Name|Total|Alpha|Zeta
Ben Brown|100%|10     (100%)|20     (100%)
Ann Avery|70%|9      (90%)|10     (50%)
Cy Cole|60%|6      (60%)|15     (75%)x
)");
        // Without libraries, which only warns, no group carries weight and every total is empty.
        row("1.01s, no libraries", "show $cli/old101.grd --library-dir $tmp",
            "Error reading parameters! ", R"(Name|Total|Quiz|Project
Hana Ito||18     (A)|72     (Pass)
Ivo Jansen||9.5    (F)|40     (Fail)x
)");
        // Names are protected: IDs until the right password; Finn, shown by his ID by choice,
        // stays so. The rows follow the names as shown.
        const char* hidden = R"(Name|Total|Test 1
S-101|95%    (A)|95     (A)
S-102|85%    (B)|85     (B)
S-103|70%    (C)|70     (C)
)";
        row("protected", "show $cli/protected.grd", "Authorization was not verified.", hidden);
        row("protected, password in the wrong case", "show $cli/protected.grd --password S3CRET",
            "Password Incorrect", hidden);
        row("protected, password and mode",
            "show $cli/protected.grd --password s3cret --mode numbers", "", R"(Name|Total|Test 1
Eve Adams|70%    (2.0)|70     (2.0)
Gus Clark|85%    (3.0)|85     (3.0)
S-101|95%    (4.0)|95     (4.0)
)");

        row("export number grades, comma, no delimiter",
            "export $letters $out --grades --mode numbers --separator comma --delimiter none", "",
            R"(Name,Total,Total Grades,Quiz 1,Quiz 1 Grades,Essay,Essay Grades,Bonus,Bonus Grades
Ada Lovelace,82,3.0,8,3.0,45,4.0,3,
Blaise Pascal,40,0.0,10,4.0,,,5,
Carl Gauss,30,0.0,6,1.0,25,0.0,,
Zoë Ames,75,2.0,7,2.0,,,4,
)");
        row("export without names, semicolon, apostrophe",
            "export $letters $out --no-test-names --no-student-names --separator semicolon "
            "--delimiter apostrophe",
            "", "82;8;45;3\n40;10;;5\n30;6;25;\n75;7;;4\n");
        row("stats, Carl's ignored quiz and 0 bonus", "stats $letters", "",
            R"(Test|Scores|Mean|Median|Std. dev.|Highest|Lowest
Total|4|56.75|57.5|22.17|82.0|30.0
Quiz 1|3|8.33|8.0|1.25|10.0|7.0
Essay|2|35.0|35.0|10.0|45.0|25.0
Bonus|4|3.0|3.5|1.87|5.0|0.0
)");
        row("version", "--version", "", "quillmark-cli " QUILLMARK_VERSION "\n");
    }

    void tables() {
        const auto [args, note, text] = Fetch<QStringList, QString, QString>();
        const QString out = expand(u"$out"_s), table = QString(text).replace(u'|', u'\t');
        const Outcome run = cli(args);
        QCOMPARE(std::pair(run.exitCode, run.out),
                 std::pair(0, args.contains(out) ? QString() : table));
        if (args.contains(out)) QCOMPARE(Contents(out), fileBytes(table));
        QVERIFY2(note.isEmpty() ? run.err.isEmpty() : run.err.contains(note), qPrintable(run.err));
    }

    // print and report write PDFs; their text is read back page by page.
    void pdfs_data() {
        // Texts on every page, on some page and on none ('|' between); the least page count.
        Columns<QStringList, QString, QString, QString, int>("args", "everyPage", "somewhere",
                                                             "nowhere", "least");
        // Names and headings on every page; the second band of columns numbers page 2.
        row("print 40 x 30", "print $tmp/class.grd $out", "Name|Pupil 01|Pupil 40|$tmp/class.grd",
            "Total|Unit 1 |Unit 30", "", 2);
        row("print a selection", "print $letters $out --selection 2,3,3,4",
            "Name|Essay|Bonus|Blaise Pascal|Carl Gauss", "", "Total|Quiz 1|Ada|Zoë", 1);
        row("report, names protected", "report $cli/protected.grd $out",
            "Student Report|Class: protected|Student: S-|Test 1|Total", "", "Eve|Gus", 3);
        row("report with the password, one student",
            "report $cli/protected.grd $out --password s3cret --student 1",
            "Student: Eve Adams|70|100|Total", "", "S-101", 1);
    }
    void pdfs() {
        auto [args, everyPage, somewhere, nowhere, least] =
            Fetch<QStringList, QString, QString, QString, int>();
        if (!CanReadPdfs()) QSKIP("pdftotext (poppler-utils) is missing");
        QFile::remove(expand(u"$out"_s));
        const Outcome run = cli(args);
        QCOMPARE(std::pair(run.exitCode, run.out), std::pair(0, QString()));
        // pdftotext gives one blank for a run of them.
        const QStringList pages = PdfPages(expand(u"$out"_s));
        QVERIFY2(pages.size() >= least, qPrintable(QString::number(pages.size())));
        for (int i = 0; i < pages.size(); ++i) {
            const QString page = pages[i].simplified() + u' ';
            for (const QString& t : expand(everyPage).split(u'|'))
                QVERIFY2(page.contains(t),
                         qPrintable(u"page %1 lacks %2: %3"_s.arg(i + 1).arg(t, page)));
            for (const QString& t : nowhere.split(u'|', Qt::SkipEmptyParts))
                QVERIFY2(!page.contains(t), qPrintable(t));
            if (args[0] == u"print"_s) QVERIFY(page.contains(u"Page %1 "_s.arg(i + 1)));
        }
        const QString all = pages.join(u' ').simplified() + u' ';
        for (const QString& t : somewhere.split(u'|', Qt::SkipEmptyParts))
            QVERIFY2(all.contains(t), qPrintable(t));
    }

    // import and convert write a gradebook of version 1.05s with CR LF lines, holding `lines`.
    void writes_data() {
        // The lines, in this order, '|' between.
        Columns<QStringList, QString>("args", "lines");
        // A separator inside a delimited name stays in the name; the class keeps its seven rows.
        row("import", "import $tmp/in.txt $out --separator space --delimiter apostrophe",
            R"(3,7|"Quiz",10,0|"Smith, Jo"   , 8  , 15  |"Bob"         , 10  ,-1  )");
        // Notes and the library's groups come along.
        row("convert 1.01s", "convert $cli/old101.grd $out",
            uR"("pop quiz"|"%1",2|"Ivo Jansen"  , 9.5  , 40  )"_s.arg(u"Two groups"_s, -75));
        // Names are written as the file held them, never hidden.
        row("convert protected", "convert $cli/protected.grd $out",
            uR"("%1"|"s3cret"|"Eve Adams"   , 70  )"_s.arg(u"Eve Adams"_s, -75));
        // Written as refreshed: tests by name, students by total.
        row("convert sorted", "convert $cli/sorted.grd $out",
            R"("Alpha",10,0|"Ben Brown"   , 10  , 20  |"Ann Avery"   , 9  , 10  )");
    }
    void writes() {
        auto [args, lines] = Fetch<QStringList, QString>();
        QFile::remove(expand(u"$out"_s));
        const Outcome run = cli(args);
        QCOMPARE(std::pair(run.exitCode, run.out + run.err), std::pair(0, QString()));
        const QByteArray bytes = Contents(expand(u"$out"_s));
        QVERIFY(bytes.endsWith("\r\n") && bytes.count('\n') == bytes.count("\r\n"));
        const QStringList written = QString::fromLatin1(bytes).split(u"\r\n"_s);
        QCOMPARE(written.first(), u"\"V E R 1.05s\""_s);
        qsizetype at = 0;
        for (const QString& line : Items(lines))
            QVERIFY2((at = written.indexOf(line, at)) > 0, qPrintable(line));
    }

    // drop-lowest and curve print what they changed and save it as the table then shows it.
    void gradingTools_data() {
        const Table<QStringList, QString, QString> row("args", "printed", "shown");
        row("drop-lowest", words("drop-lowest $letters $out --count 1"),
            tabbed("Ada Lovelace|Bonus|3\nBlaise Pascal|Quiz 1|10\nZoë Ames|Quiz 1|7\n"),
            tabbed("Ada Lovelace|86%    (B)|8      (B)|45     (A)|3       x"));
        row("curve", words("curve $letters $out --test Essay --top-to-max"),
            tabbed("Ada Lovelace|45|50.0\nCarl Gauss|25|27.78\n"),
            tabbed("Ada Lovelace|88%    (B)|8      (B)|50     (A)|3"));
    }
    void gradingTools() {
        const auto [args, printed, shown] = Fetch<QStringList, QString, QString>();
        const Outcome run = cli(args);
        QCOMPARE(std::pair(run.exitCode, run.out), std::pair(0, printed));
        QCOMPARE(cli(words("show $out")).out.split(u'\n').value(1), shown);
    }

    void refusals_data() {
        // Status 1: the work failed; 2: the command line is wrong. Stderr starts with the message.
        Columns<QStringList, int, QString>("args", "status", "message");
        // Nothing may be written to $tmp/never; a sample is never named as OUT, lest a fault
        // overwrite it.
        row("no export file", "export $tmp/none $tmp/never", 1, "Error opening $tmp/none.  ");
        row("convert, damaged file", "convert $data/bad-too-many-students.GRD $tmp/never", 1,
            "Error reading $data/bad-too-many-students.GRD\n");
        row("export, no folder", "export $letters $tmp/no/out", 1,
            "Error opening $tmp/no/out. No such file or directory");
        row("no import file", "import $tmp/none $tmp/never", 1,
            "Error opening $tmp/none. No such file or directory");
        // The window refuses a display-mode change while the grading rules are locked.
        row("protected, mode without password", "show $cli/protected.grd --mode numbers", 1,
            "Authorization was not verified.");
        row("nothing", "", 2, "No command given.");
        row("unknown command", "draw $letters", 2, "Unknown command: draw");
        row("print, no folder", "print $letters $tmp/no/out", 1, "Error Printing - $tmp/no/out: ");
        row("selection outside the table", "print $letters $tmp/never --selection 1,1,5,4", 2,
            "--selection must lie within rows 1 ... 4 and columns 1 ... 4.");
        row("selection backwards", "print $letters $tmp/never --selection 3,1,2,1", 2,
            "--selection must be R1,C1,R2,C2 with R1 <= R2 and C1 <= C2, not 3,1,2,1.");
        row("no such student", "report $letters $tmp/never --student 5", 2,
            "--student must be a row from 1 to 4, or all.");
        row("export without OUT", "export $letters", 2, "export needs FILE OUT.");
        row("convert with three files", "convert $letters $tmp/never $cli/old101.grd", 2,
            "Too many arguments for convert: $cli/old101.grd");
        row("unknown option", "show $letters --colour", 2, "Unknown option 'colour'.");
        row("foreign option", "show $letters --grades", 2, "--grades does not apply to show.");
        row("unknown mode", "show $letters --mode colour", 2,
            "--mode must be numbers, letters or percent, not colour.");
        row("unknown separator", "export $letters $tmp/never --separator pipe", 2,
            "--separator must be tab, comma, space or semicolon, not pipe.");
        row("unknown delimiter", "export $letters $tmp/never --delimiter backtick", 2,
            "--delimiter must be quote, apostrophe or none, not backtick.");
    }

    void refusals() {
        auto [args, status, message] = Fetch<QStringList, int, QString>();
        const Outcome run = cli(args);
        QCOMPARE(std::pair(run.exitCode, run.out), std::pair(status, QString()));
        QVERIFY2(run.err.startsWith(expand(message)), qPrintable(run.err));
        QCOMPARE(run.err.contains(u"\nUsage: quillmark-cli "_s), status == 2);
        QVERIFY(!QFile::exists(expand(u"$tmp/never"_s)));
    }

    // A file-size limit fails a save as a full disk does: status 1 and the message; the file
    // that was there stays as it was, and no temporary file is left beside it.
    void sizeLimit_data() {
        Columns<QStringList, QString>("args", "message");
        row("convert", "convert $tmp/big.grd $tmp/old/OLD.GRD", "Error writing $tmp/old/OLD.GRD. ");
        row("export", "export $tmp/big.grd $tmp/old/OLD.TXT", "Error writing $tmp/old/OLD.TXT. ");
        row("print", "print $tmp/big.grd $tmp/old/OLD.pdf", "Error Printing - $tmp/old/OLD.pdf: ");
        // All of it still in the buffer when the file is committed.
        row("print, small", "print $letters $tmp/old/OLD.pdf",
            "Error Printing - $tmp/old/OLD.pdf: ");
    }
    void sizeLimit() {
        auto [args, message] = Fetch<QStringList, QString>();
        const QString old = args.last();
        QVERIFY(emptyOld());
        const QByteArray before = "What was there before\r\n";
        QVERIFY(Store(old, before));
        const Outcome run = cli(args, 4096);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(FailsWith(run.err, expand(message)), qPrintable(run.err));
        QCOMPARE(Contents(old), before);
        QCOMPARE(Files(expand(u"$tmp/old"_s)), QStringList{QFileInfo(old).fileName()});
    }

    // A save killed at any moment leaves the file as it was and nothing a later save trips on.
    void killedSave() {
        const QString old = expand(u"$tmp/old/OLD.GRD"_s);
        QVERIFY(emptyOld());
        const QStringList args = words("--library-dir $tmp/lib convert $tmp/big.grd") << old;
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(cli(args).exitCode, 0); // how long a whole save takes
        const qint64 whole = timer.nsecsElapsed() / 1000;
        const QByteArray before = Contents(old);
        for (int i = 1; i < 10; ++i) {
            QProcess process;
            process.start(QStringLiteral(QUILLMARK_CLI), args);
            QVERIFY(process.waitForStarted());
            QThread::usleep(std::uint64_t(whole * i / 10));
            process.kill();
            QVERIFY(process.waitForFinished());
            QCOMPARE(Contents(old), before);
            QCOMPARE(Files(expand(u"$tmp/old"_s)), QStringList{u"OLD.GRD"_s});
        }
        QCOMPARE(cli(args).exitCode, 0);
    }

    void help() {
        const Outcome help = cli({u"--help"_s});
        QCOMPARE(std::pair(help.exitCode, help.out.section(u'\n', 0, 0)),
                 std::pair(0, u"Usage: quillmark-cli COMMAND ARGUMENTS [OPTIONS]"_s));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
