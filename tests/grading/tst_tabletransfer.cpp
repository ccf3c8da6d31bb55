#include "TestSupport.h"
#include "core/TestCommands.h"
#include "grading/ScoreEntry.h"
#include "grading/TableTransfer.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// Three students with names and two tests of scores 80 / 90, 70 / 60, empty / 50.
void Fill(Gradebook& book) {
    TestSupport::NewClass(book, TestSupport::LetterLibraries(), 2);
    book.setShape(4, book.columnCount());
    book.view().displayMode = DisplayMode::Letters;
    const QStringList names{u"Ada"_s, u"Ben"_s, u"Cy"_s};
    const QStringList scores{u"80"_s, u"90"_s, u"70"_s, u"60"_s, QString(), u"50"_s};
    for (int r = 1; r <= 3; ++r) {
        book.SetCellText(r, 0, names[r - 1]);
        for (int c = 2; c <= 3; ++c)
            EnterScore(book, r, c, scores[(r - 1) * 2 + c - 2]);
    }
}

} // namespace

class TestTableTransfer : public QObject {
    Q_OBJECT
private slots:
    void blockText_data() {
        QTest::addColumn<CellBlock>("block");
        QTest::addColumn<bool>("names"); // test and student names both
        QTest::addColumn<QString>("text");
        QTest::newRow("one cell") << CellBlock{1, 2, 1, 2} << false << u"80\r\n"_s;
        QTest::newRow("empty score") << CellBlock{3, 2, 3, 3} << false << u"\t50\r\n"_s;
        QTest::newRow("whole rows with names")
            << CellBlock{1, 1, 2, 3} << true
            << u"Name\tTotal\tTest  1\tTest  2\r\nAda\t85\t80\t90\r\nBen\t65\t70\t60\r\n"_s;
        QTest::newRow("past the table") << CellBlock{3, 3, 9, 9} << false << u"50\r\n"_s;
    }
    void blockText() {
        QFETCH(CellBlock, block);
        QFETCH(bool, names);
        QFETCH(QString, text);
        Gradebook book;
        Fill(book);
        QCOMPARE(BlockText(book, block, {names, names}), text);
    }

    // What one gradebook gives, another takes: into the selection only, from its top-left
    // cell, names only when they came with their parameters.
    void pasteText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<CellBlock>("into");
        QTest::addColumn<bool>("layoutNames");
        QTest::addColumn<bool>("takeNames");
        QTest::addColumn<QStringList>("rows"); // rows 0 to 3 after the paste, "|" between cells
        const QString block = u"Name\tTotal\tQuiz\tExam\r\nZed\t0\t10\t20\r\nYu\t0\t30\t40\r\n"_s;
        QTest::newRow("block into one cell")
            << u"11\t12\r\n13\t14\r\n"_s << CellBlock{2, 3, 2, 3} << false << false
            << QStringList{
                   u"Name|Total|Test  1|Test  2"_s, u"Ada|85%    (B)|80     (B)|90     (A)"_s,
                   u"Ben|41%    (F)|70     (C)|11     (F)"_s, u"Cy|25%    (F)||50     (F)"_s};
        QTest::newRow("names and parameters")
            << block << CellBlock{1, 1, 3, 3} << true << true
            << QStringList{u"Name|Total|Quiz|Exam"_s, u"Zed|15%    (F)|10     (F)|20     (F)"_s,
                           u"Yu|35%    (F)|30     (F)|40     (F)"_s,
                           u"Cy|25%    (F)||50     (F)"_s};
        QTest::newRow("names skipped") << block << CellBlock{1, 1, 3, 3} << true << false
                                       << QStringList{u"Name|Total|Test  1|Test  2"_s,
                                                      u"Ada|15%    (F)|10     (F)|20     (F)"_s,
                                                      u"Ben|35%    (F)|30     (F)|40     (F)"_s,
                                                      u"Cy|25%    (F)||50     (F)"_s};
        QTest::newRow("text of another program, LF only")
            << u"1\n2\n3\n4\n5\n"_s << CellBlock{1, 2, 3, 2} << false << false
            << QStringList{u"Name|Total|Test  1|Test  2"_s,
                           u"Ada|46%    (F)|1      (F)|90     (A)"_s,
                           u"Ben|31%    (F)|2      (F)|60     (D)"_s,
                           u"Cy|27%    (F)|3      (F)|50     (F)"_s};
    }
    void pasteText() {
        QFETCH(QString, text);
        QFETCH(CellBlock, into);
        QFETCH(bool, layoutNames);
        QFETCH(bool, takeNames);
        QFETCH(QStringList, rows);
        Gradebook book;
        Fill(book);
        PasteText(book, into, text, {layoutNames, layoutNames}, {takeNames, takeNames});
        for (int r = 0; r < 4; ++r)
            QCOMPARE(TestSupport::Row(book, r).join(u'|'), rows[r]);
        QVERIFY(book.isModified());
    }

    // A test goes in front of the column it is dropped on, or to the end, with its name, width,
    // record, scores and ignore flags; a drop on its own place or the totals moves nothing.
    void moveTest_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("place");
        QTest::addColumn<QString>("names");
        QTest::newRow("first to the end") << 2 << 9 << 4 << u"B|C|A"_s;
        QTest::newRow("last to the front") << 4 << 2 << 2 << u"C|A|B"_s;
        QTest::newRow("in front of the next") << 2 << 3 << 2 << u"A|B|C"_s;
        QTest::newRow("onto the totals") << 3 << 1 << 3 << u"A|B|C"_s;
    }
    void moveTest() {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, place);
        QFETCH(QString, names);
        Gradebook book;
        TestSupport::NewClass(book, TestSupport::LetterLibraries(), 3);
        for (int c = 2; c <= 4; ++c) {
            book.SetCellText(0, c, QString(QChar(u'A' + c - 2)));
            book.TestOf(c).maxScore = float(c * 10);
            book.setColumnWidth(c, 1000 + c);
            EnterScore(book, 1, c, QString::number(c));
        }
        book.setIncluded(2, from, false);
        QCOMPARE(MoveTest(book, from, to), place);
        QCOMPARE(TestSupport::Row(book, 0).mid(2).join(u'|'), names);
        QCOMPARE(book.TestOf(place).maxScore, float(from * 10));
        QCOMPARE(book.columnWidth(place), 1000 + from);
        QVERIFY(book.GetCellText(1, place).startsWith(QString::number(from)));
        QVERIFY(!book.isIncluded(2, place));
    }

    void clearScores() {
        Gradebook book;
        Fill(book);
        ClearScores(book, {1, 1, 2, 3}); // the totals column is not a score
        QCOMPARE(TestSupport::Column(book, 2), (QStringList{QString(), QString(), QString()}));
        QCOMPARE(TestSupport::Column(book, 1),
                 (QStringList{QString(), QString(), u"25%    (F)"_s}));
    }
};

QTEST_GUILESS_MAIN(TestTableTransfer)
#include "tst_tabletransfer.moc"
