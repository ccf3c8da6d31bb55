#include "TestSupport.h"
#include "grading/Calculation.h"
#include "grading/Sorting.h"
#include "storage/Fields.h"
#include "storage/GradebookFile.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace Qt::Literals::StringLiterals;
using namespace TestSupport;

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

} // namespace

class TestGradebookFile : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void fieldReader_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kinds"); // a letter a field: integer, float, quoted, text
        // The values read, joined by "|"; a failed read leaves its target (4242, 0, "") alone.
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("error");
        const auto row = [](const char* tag, const QString& text, const QString& kinds,
                            const QString& expected, const QString& error = {}) {
            QTest::newRow(tag) << text << kinds << expected << error;
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
        QFETCH(QString, text);
        QFETCH(QString, kinds);
        QFETCH(QString, expected);
        QFETCH(QString, error);
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
        QCOMPARE(got.join(u'|'), expected);
        QCOMPARE(in.error(), error);
        // Past the last field nothing is left; after an error the first error sticks.
        int n = 0;
        QVERIFY(!in.integer(n));
        QCOMPARE(in.error(), error.isEmpty() ? u"Input past end of file"_s : error);
    }

    void readsEveryVersion_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("sections"); // how many of the later sections the version has
        const char* versions[] = {"1.0s", "1.00s", "1.01s", "1.02s", "1.03s", "1.04s", "1.05s"};
        for (int i = 0; i < 7; ++i)
            QTest::newRow(versions[i]) << u"v%1.GRD"_s.arg(QLatin1String(versions[i])) << i;
        QTest::newRow("2.00s reads as 1.05s") << u"v2.00s.GRD"_s << 6;
    }
    void readsEveryVersion() {
        QFETCH(QString, file);
        QFETCH(int, sections);
        Gradebook book;
        // What the file does not say must be visible: flags off, a password and protection on.
        for (auto& s : NewClass(book).students())
            s.includeFlags = QString(Limits::MaxTests, u'0');
        book.security() = {u"old"_s, {true, true, true, true}};
        QVERIFY(ReadGradebookFile(book, DataFile(file)));
        // Items present in every version; show total is off where the file has no say.
        QCOMPARE(book.view(), (ViewState{DisplayMode::Letters, ChartSubject::CurrentTest,
                                         WorkingMode::Edit, sections >= 4, StudentsByName}));
        QCOMPARE(book.totalSetup().importance, -1.0f);
        QCOMPARE(book.totalScales()[1].steps[3].grade.text(), u"Distinctio"_s);
        QCOMPARE(book.rowCount(), 9);
        QCOMPARE(book.columnWidth(3), 1650);
        QCOMPARE(book.rowHeight(8), 420);
        QCOMPARE(book.TestOf(2).date.text(), u"09/15/25"_s);
        QCOMPARE(book.TestOf(2).note.noteText(), u"Chapter 1, vocabulary"_s);
        QCOMPARE(book.TestOf(3).maxScore, 50.0f);
        QCOMPARE(book.TestOf(3).importance, 1.0f);
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
        QCOMPARE(book.StudentOf(8).showAsId, sections >= 5 ? 1 : 0);
        QCOMPARE(book.StudentOf(8).name.text(), sections >= 5 ? u"Young, Yan"_s : u"S-1008"_s);
        QCOMPARE(book.StudentOf(1).id.text(), sections >= 5 ? u"A-1001"_s : u""_s);
        QCOMPARE(book.security(),
                 (sections >= 6 ? SecurityRules{u"apple pie"_s, {false, true, true, false}}
                                : SecurityRules{}));
        // Every version is written as 1.05s; that sample was written by hand in the writer's own
        // form, NULs and padding included.
        const QByteArray bytes = writtenBack(book, m_dir.path());
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
        QCOMPARE(book.TestOf(1).calculateGrades, 1);
        // 1, the rule of a gradebook never switched, stays (and means "Scores").
        QVERIFY(book.totalSetup().importance == 1.0f && UsesScoresRule(book));
        QCOMPARE(book.totalScales()[0].steps[0].topScore, 59.5f);
        // Heights below 285 twips less two pixels are raised to it.
        QCOMPARE(book.rowHeight(1), 255);
        // A note field without NUL reads empty; a longer text is a note cut to its field.
        QCOMPARE(book.StudentOf(1).note.noteText(), QString());
        QCOMPARE(book.StudentOf(2).note.noteText(),
                 (u"longer than its field: "_s + u"0123456789"_s.repeated(21)).left(224));
        QCOMPARE(book.StudentOf(1).name.text(), u"Poe, Pat"_s);
        // The ID shows; a score of 0 and one above the maximum leave a graded cell empty, a
        // negative score on an ungraded test stays as read.
        QCOMPARE(rowOf(book, 1), u"P-1|||-3"_s);
        QCOMPARE(rowOf(book, 2), u"Quinn, Quentin|||18"_s);
        QVERIFY(!writtenBack(book, m_dir.path()).isEmpty());
    }

    void roundTripKeepsWhatTheSamplesLack() {
        Gradebook book, copy;
        NewClass(book, LetterLibraries(), 3);
        const QStringList tests = {u"Quiz"_s, u"Essay"_s, u"Ünit \"test\" – €"_s};
        for (int c = 2; c < 5; ++c)
            book.SetCellText(0, c, tests[c - 2]);
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
        QVERIFY(reread(book, copy, m_dir.filePath(u"trip.GRD"_s)));
        // Read back, the table is sorted by the stored rules, every score, mark and record going
        // with its student and test. Windows-1252 has no ł, and the file no escape for a quote.
        SortTests(book);
        SortStudents(book, 1);
        const auto stored = [](QString s) { return s.replace(u'ł', u'?').replace(u'"', u'\''); };
        QCOMPARE(rowOf(copy, 0), u"Name|Total|Essay|Quiz|Ünit 'test' – €"_s);
        QCOMPARE(copy.rowCount(), book.rowCount());
        for (int r = 0; r < book.rowCount(); ++r)
            QCOMPARE(rowOf(copy, r), stored(rowOf(book, r)));
        QCOMPARE(copy.StudentOf(7).id.text(), u"'ID' 1"_s);
        QCOMPARE(copy.TestOf(2).note.noteText(), QString(254, u't'));
        QCOMPARE(copy.rowHeight(4), 32767);
        QCOMPARE(copy.importanceSet(), book.importanceSet());
        QCOMPARE(copy.view(), book.view());
    }

    void scoreLineLayout() {
        // What the 1.05s sample, written back byte for byte, does not already show: a name
        // filling its zone, scores above the maximum and negative, ignored empty scores (not
        // written as 0, which would read back as a score), a large score.
        Gradebook book;
        NewClass(book, LetterLibraries(), 2);
        book.setShape(5, 4);
        book.TestOf(3).calculateGrades = 0;
        const QStringList rows = {u"Abcdefghijkl|70|.5"_s, u"Cy|120|-3"_s, u"Ed||"_s,
                                  u"Fe|55|12345678"_s};
        for (int r = 1; r <= 4; ++r) {
            const QStringList entries = rows[r - 1].split(u'|');
            book.SetCellText(r, 0, entries[0]);
            for (int c = 2; c < 4; ++c) {
                book.setIncluded(r, c, entries[0] != u"Ed");
                book.SetCellText(r, c, FormatScoreCell(book, r, c, entries[c - 1]));
            }
        }
        const QString path = m_dir.filePath(u"lines.GRD"_s);
        QVERIFY(WriteGradebookFile(book, path));
        const QByteArray lines = "\"Abcdefghijkl\"              , 70  , .5  \r\n"
                                 "\"Cy\"          ,-1  , 0  \r\n"
                                 "\"Ed\"          ,-1  ,-1  \r\n"
                                 "\"Fe\"          , 55  , 1.234568E+07  \r\n";
        QCOMPARE(Contents(path).right(lines.size()), lines);
        // Without tests the score lines hold names alone, padded to the first score zone.
        QVERIFY(ReadGradebookFile(NewClass(book), DataFile(u"no-tests.GRD"_s)));
        QVERIFY(
            writtenBack(book, m_dir.path()).endsWith("\"Abbott, Al\"  \r\n\"Zorn, Zoe\"   \r\n"));
    }

    void badFiles_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("formatError");  // else a read error
        QTest::addColumn<bool>("shapeRefused"); // before the table grew
        // The first two are no gradebooks; the last four, 401 tests, no students, 32,767
        // students and no Total column, are refused before the table grows.
        const QStringList files = Items(
            u"tag|empty|display-mode|chart-subject|width-overflow|integer-overflow|negative-width|"
            u"negative-height|wrong-kind|text-for-integer|scale-count|too-many-tests|no-students|"
            u"too-many-students|no-columns"_s);
        for (int i = 0; i < files.size(); ++i)
            QTest::newRow(qPrintable(files[i]))
                << DataFile(u"bad-%1.GRD"_s.arg(files[i])) << (i < 2) << (i >= 11);
    }
    void badFiles() {
        QFETCH(QString, file);
        QFETCH(bool, formatError);
        QFETCH(bool, shapeRefused);
        Gradebook book;
        NewClass(book).setFileName(file);
        QCOMPARE(ReadGradebookFile(book, file).message(),
                 formatError ? u"Invalid file format!"_s : u"Error reading "_s + file);
        QCOMPARE(book.fileName(), QString()); // a later Save cannot overwrite the file
        if (shapeRefused)
            QCOMPARE(QList({book.rowCount(), book.columnCount(), int(book.students().size())}),
                     QList({8, 2, 8}));
        QVERIFY(isSane(book, m_dir.path()));
    }

    // Only cuts inside the last score's trailing blanks and line end, or of its last digit, still
    // read; what any other cut leaves can be saved.
    void truncatedFilesFail() {
        const QByteArray good = Contents(DataFile(u"odd-values.GRD"_s));
        const QString path = m_dir.filePath(u"cut.GRD"_s);
        int complete = 0;
        for (qsizetype n = 0; n < good.size(); ++n) {
            Gradebook book;
            QVERIFY(Store(path, good.left(n)));
            const QString message = ReadGradebookFile(NewClass(book), path).message();
            complete += message.isEmpty() ? 1 : 0;
            const bool inTag = n <= good.indexOf('"', 1);
            QVERIFY2(message.isEmpty() || message == (inTag ? u"Invalid file format!"_s
                                                            : u"Error reading "_s + path),
                     qPrintable(QString::number(n)));
            if (n == 0 || good[n - 1] == '\n') QVERIFY(isSane(book, m_dir.path()));
        }
        QCOMPARE(complete, 5);
    }

    void missingPlacesFail() {
        Gradebook book;
        NewClass(book).setFileName(u"keep"_s);
        book.SetCellText(1, 0, u"Kept"_s);
        const QString missing = m_dir.filePath(u"missing.GRD"_s);
        const QString read = ReadGradebookFile(book, missing).message();
        QVERIFY2(FailsWith(read, u"Error opening "_s + missing + u".  "_s), qPrintable(read));
        QCOMPARE(book.fileName() + book.cell(1, 0), u"keepKept"_s);
        const QString noFolder = m_dir.filePath(u"no/such/folder/X.GRD"_s);
        const QString written = WriteGradebookFile(book, noFolder).message();
        QVERIFY2(FailsWith(written, u"Error opening "_s + noFolder + u". "_s), qPrintable(written));
    }

    // A save that fails midway, whether writing or flushing what was buffered, keeps the file.
    void failedSaveKeepsPreviousFile_data() {
        QTest::addColumn<int>("students");
        QTest::newRow("more than the write buffer holds") << 300;
        QTest::newRow("within the write buffer") << 7;
    }
    void failedSaveKeepsPreviousFile() {
#ifdef Q_OS_UNIX
        QFETCH(int, students);
        const QTemporaryDir dir;
        const QString path = dir.filePath(u"CLASS.GRD"_s);
        Gradebook book;
        NewClass(book).setShape(students + 1, 2);
        QVERIFY(Store(path, "old"));
        // A file system that takes no more than 256 bytes a file.
        rlimit saved{};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limited{256, saved.rlim_max};
        QVERIFY(setrlimit(RLIMIT_FSIZE, &limited) == 0);
        const QString message = WriteGradebookFile(book, path).message();
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        QCOMPARE(Contents(path), "old");
        QVERIFY2(FailsWith(message, u"Error writing "_s + path + u". "_s), qPrintable(message));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{u"CLASS.GRD"_s});
#else
        QSKIP("needs a file size limit");
#endif
    }
};

QTEST_GUILESS_MAIN(TestGradebookFile)
#include "tst_gradebookfile.moc"
