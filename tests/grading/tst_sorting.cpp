#include "TestSupport.h"
#include "grading/Calculation.h"
#include "grading/Sorting.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace TestSupport;

namespace {

// A gradebook of ungraded tests, so that cells and totals hold the scores as typed.
void build(Gradebook& book, const QStringList& names, int tests) {
    ResetToNew(book, {});
    book.importanceSet().count = 1;
    book.importanceSet().steps[0].percentOfTotal = 100;
    book.totalSetup().calculateGrades = 0;
    book.setShape(int(names.size()) + 1, 2);
    AddTests(book, tests);
    for (int r = 1; r <= names.size(); ++r)
        book.SetCellText(r, 0, names[r - 1]);
    for (int c = 2; c < book.columnCount(); ++c)
        book.TestOf(c).calculateGrades = 0;
}

} // namespace

class TestSorting : public QObject {
    Q_OBJECT
private slots:
    void sortStudents_data() {
        QTest::addColumn<int>("rule");
        QTest::addColumn<int>("keyColumn");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("scores"); // of the one test; none: the row numbers
        QTest::addColumn<QStringList>("sorted");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* tag, int rule, int key, const QString& names,
                            const QString& scores, const QString& sorted,
                            const QString& message = {}) {
            QTest::newRow(tag) << rule << key << Items(names)
                               << (scores.isNull() ? QStringList() : Items(scores)) << Items(sorted)
                               << message;
        };
        const int name = StudentsByName, grade = StudentsByGrade;
        row("case ignored", name, 1, u"bree|Abel|Cole"_s, {}, u"Abel|bree|Cole"_s);
        row("case-only twins keep order", name, 1, u"ann|Zed|ANN|Ann"_s, {}, u"ann|ANN|Ann|Zed"_s);
        // (Letters such as "Ø" stay out: some languages put them after "Z".)
        row("accents among their letters", name, 1, u"Zoe|Émile|Oscar|Eve|éclair"_s, {},
            u"éclair|Émile|Eve|Oscar|Zoe"_s);
        // Scores above the maximum come first, largest first; equal scores keep their order;
        // the empty cell comes last.
        row("by grade on a test", grade, 2, u"A|B|C|D|E|F"_s, u"70||95|70|120|105"_s,
            u"E|F|C|A|D|B"_s);
        row("by grade on the total", grade, 1, u"A|B|C"_s, u"60|90|75"_s, u"B|C|A"_s);
        row("by grade needs a test column", grade, 0, u"B|A"_s, u"1|2"_s, u"B|A"_s,
            u"Could not sort - Indefined test!"_s);
        row("don't sort", StudentsUnsorted, 2, u"B|A"_s, u"1|2"_s, u"B|A"_s);
        // Keys hold positions beyond three digits, so ties keep their order past row 999.
        QStringList names, scores, sorted[2];
        for (int i = 0; i < 1200; ++i) {
            names << u"S%1"_s.arg(i, 4, 10, QChar(u'0'));
            scores << (i % 3 == 2 ? u"90"_s : u"80"_s);
            sorted[i % 3 == 2 ? 0 : 1] << names.back();
        }
        row("1200 students", grade, 2, names.join(u'|'), scores.join(u'|'),
            (sorted[0] + sorted[1]).join(u'|'));
    }
    void sortStudents() {
        QFETCH(int, rule);
        QFETCH(int, keyColumn);
        QFETCH(QStringList, names);
        QFETCH(QStringList, scores);
        QFETCH(QStringList, sorted);
        QFETCH(QString, message);
        const auto scoreOf = [&](int i) {
            return scores.isEmpty() ? QString::number(i) : scores[i];
        };
        Gradebook book;
        build(book, names, 1);
        for (int r = 1; r <= names.size(); ++r) {
            book.SetCellText(r, 2, scoreOf(r - 1));
            book.StudentOf(r).id = QString::number(r - 1);
        }
        RecalcTotals(book);
        book.setModified(false);
        book.view().studentSortRule = rule;
        QCOMPARE(SortStudents(book, keyColumn).message(), message);
        QVERIFY(book.isModified());
        QCOMPARE(Column(book, 0), sorted);
        // Each student took the whole row and the record along.
        for (int r = 1; r < book.rowCount(); ++r) {
            const int old = book.StudentOf(r).id.text().toInt();
            QCOMPARE(book.GetCellText(r, 0), names[old]);
            QCOMPARE(book.GetCellText(r, 2), scoreOf(old));
        }
    }

    void sortTests_data() {
        QTest::addColumn<int>("rule");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("dates");
        QTest::addColumn<QStringList>("order"); // test names after sorting
        const auto row = [](const char* tag, int rule, const QString& dates, const QString& order,
                            const QString& names = u"T1|T2|T3"_s) {
            QTest::newRow(tag) << rule << Items(names) << Items(dates) << Items(order);
        };
        const int byDate = TestsByDate;
        row("by name", TestsByName, u"||"_s, u"Essay|Midterm|quiz"_s, u"quiz|Essay|Midterm"_s);
        row("don't sort", TestsUnsorted, u"10/02/26|09/15/26|"_s, u"T1|T2|T3"_s);
        row("by day", byDate, u"10/02/26|09/15/26|09/30/26"_s, u"T2|T3|T1"_s);
        row("undated first", byDate, u"09/15/26||09/01/26"_s, u"T2|T3|T1"_s);
        row("unreadable as undated", byDate, u"09/15/26|13/45/26|  /  /  "_s, u"T2|T3|T1"_s);
    }
    void sortTests() {
        QFETCH(int, rule);
        QFETCH(QStringList, names);
        QFETCH(QStringList, dates);
        QFETCH(QStringList, order);
        Gradebook book;
        build(book, {u"A"_s, u"B"_s}, 3);
        for (int i = 0; i < 3; ++i) {
            book.SetCellText(0, i + 2, names[i]);
            book.TestOf(i + 2).date = dates[i];
            book.TestOf(i + 2).maxScore = float(i);
            book.SetCellText(1, i + 2, QString::number(i));
        }
        book.setIncluded(2, 2, false); // B ignores the first test
        book.setModified(false);
        book.view().testSortRule = rule;
        SortTests(book);
        QVERIFY(book.isModified());
        QCOMPARE(Row(book, 0), QStringList({u"Name"_s, u"Total"_s}) + order);
        // Each test took its scores, record and ignore marks along.
        for (int c = 2; c < 5; ++c) {
            const int old = int(book.TestOf(c).maxScore);
            QCOMPARE(book.GetCellText(0, c), names[old]);
            QCOMPARE(book.GetCellText(1, c), QString::number(old));
            QCOMPARE(book.isIncluded(2, c), old != 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestSorting)
#include "tst_sorting.moc"
