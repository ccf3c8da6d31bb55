#include "core/NewGradebook.h"
#include "core/TestCommands.h"
#include "grading/Calculation.h"
#include "grading/Sorting.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// A gradebook of ungraded tests so that cells hold the scores as typed.
void build(Gradebook& book, const QStringList& names, int tests) {
    ResetToNew(book, {});
    book.importanceSet().count = 1;
    book.importanceSet().steps[0].percentOfTotal = 100;
    book.setShape(int(names.size()) + 1, 2);
    for (int i = 0; i < tests; ++i) {
        int col = book.columnCount();
        AddBlankTest(book, col, {}, QDate(2026, 9, 1));
        book.TestOf(col).calculateGrades = 0;
    }
    for (int r = 1; r <= names.size(); ++r) {
        book.SetCellText(r, 0, names[r - 1]);
        book.StudentOf(r).includeFlags = QString(400, u'1');
    }
}

QStringList column(const Gradebook& book, int col) {
    QStringList texts;
    for (int r = 1; r < book.rowCount(); ++r)
        texts << book.GetCellText(r, col);
    return texts;
}

QStringList headers(const Gradebook& book) {
    QStringList texts;
    for (int c = 2; c < book.columnCount(); ++c)
        texts << book.GetCellText(0, c);
    return texts;
}

} // namespace

class TestSorting : public QObject {
    Q_OBJECT
private slots:
    void studentsByName_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("sorted");
        QTest::newRow("plain") << QStringList{u"Cole"_s, u"Abel"_s, u"Bree"_s}
                               << QStringList{u"Abel"_s, u"Bree"_s, u"Cole"_s};
        QTest::newRow("case ignored") << QStringList{u"bree"_s, u"Abel"_s, u"Cole"_s}
                                      << QStringList{u"Abel"_s, u"bree"_s, u"Cole"_s};
        QTest::newRow("case-only twins keep order")
            << QStringList{u"ann"_s, u"Zed"_s, u"ANN"_s, u"Ann"_s}
            << QStringList{u"ann"_s, u"ANN"_s, u"Ann"_s, u"Zed"_s};
        QTest::newRow("prefix first")
            << QStringList{u"Anna"_s, u"Ann"_s} << QStringList{u"Ann"_s, u"Anna"_s};
        QTest::newRow("empty names first")
            << QStringList{u"Bo"_s, u""_s} << QStringList{u""_s, u"Bo"_s};
    }
    void studentsByName() {
        QFETCH(QStringList, names);
        QFETCH(QStringList, sorted);
        Gradebook book;
        build(book, names, 1);
        for (int r = 1; r <= names.size(); ++r) {
            book.SetCellText(r, 2, QString::number(r));
            book.StudentOf(r).id = names[r - 1];
        }
        book.view().studentSortRule = StudentsByName;
        QVERIFY(SortStudents(book, 1));
        QCOMPARE(column(book, 0), sorted);
        // Each student took the whole row and the record along.
        for (int r = 1; r < book.rowCount(); ++r) {
            const int old = book.GetCellText(r, 2).toInt();
            QCOMPARE(names[old - 1], book.GetCellText(r, 0));
            QCOMPARE(book.StudentOf(r).id.text(), book.GetCellText(r, 0));
        }
    }
    void studentsByGradeOnATest() {
        Gradebook book;
        build(book, {u"A"_s, u"B"_s, u"C"_s, u"D"_s, u"E"_s, u"F"_s}, 1);
        const QStringList scores{u"70"_s, u""_s, u"95"_s, u"70"_s, u"120"_s, u"105"_s};
        for (int r = 1; r <= 6; ++r)
            book.SetCellText(r, 2, scores[r - 1]);
        book.view().studentSortRule = StudentsByGrade;
        QVERIFY(SortStudents(book, 2));
        // Scores above the maximum come first, largest first; equal scores keep their order;
        // the empty cell comes last.
        QCOMPARE(column(book, 0), (QStringList{u"E"_s, u"F"_s, u"C"_s, u"A"_s, u"D"_s, u"B"_s}));
    }
    void studentsByTotal() {
        Gradebook book;
        build(book, {u"A"_s, u"B"_s, u"C"_s}, 1);
        book.SetCellText(1, 2, u"60"_s);
        book.SetCellText(2, 2, u"90"_s);
        book.SetCellText(3, 2, u"75"_s);
        book.totalSetup().calculateGrades = 0; // no Total scale here: the totals show bare
        RecalcTotals(book);
        QCOMPARE(column(book, 1), (QStringList{u"60"_s, u"90"_s, u"75"_s}));
        book.view().studentSortRule = StudentsByGrade;
        QVERIFY(SortStudents(book, 1));
        QCOMPARE(column(book, 0), (QStringList{u"B"_s, u"C"_s, u"A"_s}));
    }
    void byGradeNeedsATestColumn() {
        Gradebook book;
        build(book, {u"B"_s, u"A"_s}, 1);
        book.view().studentSortRule = StudentsByGrade;
        book.setModified(false);
        const Result r = SortStudents(book, 0);
        QVERIFY(!r);
        QCOMPARE(r.message(), u"Could not sort - Indefined test!"_s);
        QCOMPARE(column(book, 0), (QStringList{u"B"_s, u"A"_s}));
        QVERIFY(book.isModified());
    }
    void dontSortStillMarksModified() {
        Gradebook book;
        build(book, {u"B"_s, u"A"_s}, 2);
        book.setModified(false);
        QVERIFY(SortStudents(book, 2));
        SortTests(book);
        QCOMPARE(column(book, 0), (QStringList{u"B"_s, u"A"_s}));
        QVERIFY(book.isModified());
    }
    void moreThan999StudentsKeepTiesInOrder() {
        const int n = 1200;
        QStringList names;
        for (int i = 0; i < n; ++i)
            names << u"S%1"_s.arg(i, 4, 10, QChar(u'0'));
        Gradebook book;
        build(book, names, 1);
        for (int r = 1; r <= n; ++r)
            book.SetCellText(r, 2, QString::number(r % 3 == 0 ? 90 : 80));
        book.view().studentSortRule = StudentsByGrade;
        QVERIFY(SortStudents(book, 2));
        QStringList expected;
        for (int score : {90, 80})
            for (int r = 1; r <= n; ++r)
                if ((r % 3 == 0 ? 90 : 80) == score) expected << names[r - 1];
        QCOMPARE(column(book, 0), expected);
    }
    void testsByName() {
        Gradebook book;
        build(book, {u"A"_s}, 3);
        book.SetCellText(0, 2, u"quiz"_s);
        book.SetCellText(0, 3, u"Essay"_s);
        book.SetCellText(0, 4, u"Midterm"_s);
        book.view().testSortRule = TestsByName;
        SortTests(book);
        QCOMPARE(headers(book), (QStringList{u"Essay"_s, u"Midterm"_s, u"quiz"_s}));
        QCOMPARE(book.GetCellText(0, 0), u"Name"_s);
        QCOMPARE(book.GetCellText(0, 1), u"Total"_s);
    }
    void testsByDate_data() {
        QTest::addColumn<QStringList>("dates");
        QTest::addColumn<QStringList>("order"); // test names after sorting
        QTest::newRow("by day") << QStringList{u"10/02/26"_s, u"09/15/26"_s, u"09/30/26"_s}
                                << QStringList{u"T2"_s, u"T3"_s, u"T1"_s};
        QTest::newRow("undated first") << QStringList{u"09/15/26"_s, u""_s, u"09/01/26"_s}
                                       << QStringList{u"T2"_s, u"T3"_s, u"T1"_s};
        QTest::newRow("century window") << QStringList{u"01/01/29"_s, u"12/31/30"_s, u"06/01/99"_s}
                                        << QStringList{u"T2"_s, u"T3"_s, u"T1"_s};
        QTest::newRow("unreadable as undated")
            << QStringList{u"09/15/26"_s, u"13/45/26"_s, u"  /  /  "_s}
            << QStringList{u"T2"_s, u"T3"_s, u"T1"_s};
    }
    void testsByDate() {
        QFETCH(QStringList, dates);
        QFETCH(QStringList, order);
        Gradebook book;
        build(book, {u"A"_s}, 3);
        for (int i = 0; i < 3; ++i) {
            book.SetCellText(0, i + 2, u"T%1"_s.arg(i + 1));
            book.TestOf(i + 2).date = dates[i];
        }
        book.view().testSortRule = TestsByDate;
        SortTests(book);
        QCOMPARE(headers(book), order);
    }
    void testsCarryRecordsAndIgnoreMarks() {
        Gradebook book;
        build(book, {u"A"_s, u"B"_s}, 3);
        const QStringList names{u"C"_s, u"A"_s, u"B"_s};
        for (int i = 0; i < 3; ++i) {
            book.SetCellText(0, i + 2, names[i]);
            book.TestOf(i + 2).maxScore = float(10 * (i + 1));
            book.SetCellText(1, i + 2, QString::number(i + 1));
        }
        book.setIncluded(2, 2, false); // B ignores test "C"
        book.view().testSortRule = TestsByName;
        SortTests(book);
        QCOMPARE(headers(book), (QStringList{u"A"_s, u"B"_s, u"C"_s}));
        QCOMPARE(column(book, 4), (QStringList{u"1"_s, u""_s}));
        QCOMPARE(book.TestOf(4).maxScore, 10.0f);
        QCOMPARE(book.TestOf(2).maxScore, 20.0f);
        QVERIFY(!book.isIncluded(2, 4));
        QVERIFY(book.isIncluded(2, 2));
        QVERIFY(book.isIncluded(2, 3));
    }
};

QTEST_GUILESS_MAIN(TestSorting)
#include "tst_sorting.moc"
