#include "TestSupport.h"
#include "core/NewGradebook.h"
#include "grading/Calculation.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// A class with `tests` tests of maximum 100 on the letter scale, groups 40 % and 60 %.
struct Class {
    Gradebook book;
    explicit Class(int tests) {
        Libraries libs = TestSupport::LetterLibraries();
        libs.importanceSets = {TestSupport::GroupSet({{u"Tests", 40}, {u"Homework", 60}})};
        TestSupport::NewClass(book, libs, tests);
    }
    void score(int row, int col, const QString& entry) {
        book.SetCellText(row, col, FormatScoreCell(book, row, col, entry));
    }
};

// One student's scores on tests of the given groups, and how the total is taken.
struct Totals {
    QList<float> groups;     // each group's share
    QList<float> importance; // each test's group
    QList<float> scores;     // 0: empty
    QString ignored = {};    // "1" where the test is ignored
    DisplayMode mode = DisplayMode::Letters;
    bool gradesRule = false;
    bool graded = true;
    bool showTotal = true;
};

} // namespace

class TestCalculation : public QObject {
    Q_OBJECT
private slots:
    void scoreCell_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("graded");
        QTest::addColumn<bool>("ignored");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("cell");
        const int numbers = int(DisplayMode::Numbers), letters = int(DisplayMode::Letters),
                  percent = int(DisplayMode::PercentOfMax);
        QTest::newRow("letter") << letters << true << false << u"85"_s << u"85     (B)"_s;
        QTest::newRow("number") << numbers << true << false << u"85"_s << u"85     (3.0)"_s;
        QTest::newRow("percent") << percent << true << false << u"42.5"_s << u"42.5   (43%)"_s;
        QTest::newRow("ignored letter") << letters << true << true << u"85"_s << u"85     (B)x"_s;
        QTest::newRow("ungraded") << letters << false << false << u"85"_s << u"85"_s;
        QTest::newRow("ungraded ignored") << letters << false << true << u"85"_s << u"85      x"_s;
        QTest::newRow("ungraded zero stays") << letters << false << false << u"0"_s << u"0"_s;
        QTest::newRow("graded zero empties") << letters << true << false << u"0"_s << u""_s;
        QTest::newRow("empty ignored") << letters << true << true << u""_s << u"        x"_s;
        QTest::newRow("above maximum empties") << letters << true << false << u"101"_s << u""_s;
        QTest::newRow("above maximum in percent") << percent << true << false << u"101"_s << u""_s;
        QTest::newRow("maximum") << letters << true << false << u"100"_s << u"100    (A)"_s;
        QTest::newRow("long entry unpadded")
            << letters << true << false << u"88.12345"_s << u"88.12345(B)"_s;
    }
    void scoreCell() {
        QFETCH(int, mode);
        QFETCH(bool, graded);
        QFETCH(bool, ignored);
        QFETCH(QString, entry);
        QFETCH(QString, cell);
        Class c(1);
        c.book.view().displayMode = DisplayMode(mode);
        c.book.TestOf(2).calculateGrades = graded ? 1 : 0;
        c.book.setIncluded(1, 2, !ignored);
        QCOMPARE(FormatScoreCell(c.book, 1, 2, entry), cell);
    }
    void rowTotal_data() {
        QTest::addColumn<Totals>("c");
        QTest::addColumn<QString>("cell");
        const auto letters = DisplayMode::Letters;
        // 80 in a 40 % test; 90 and an empty cell in two 60 % homeworks.
        QTest::newRow("empty counts as 0")
            << Totals{{40, 60}, {0, 1, 1}, {80, 90, 0}} << u"59%    (F)"_s;
        QTest::newRow("empty ignored")
            << Totals{{40, 60}, {0, 1, 1}, {80, 90, 0}, u"001"_s} << u"86%    (B)"_s;
        QTest::newRow("one group is the plain mean")
            << Totals{{40, 60}, {1, 1, 1}, {70, 80, 93}} << u"81%    (B)"_s;
        QTest::newRow("no weight leaves the total empty")
            << Totals{{0, 0}, {0, 1}, {80, 90}} << QString();
        QTest::newRow("a 0 % group adds nothing")
            << Totals{{0, 100}, {0, 1}, {80, 90}} << u"90%    (A)"_s;
        // Group 0 (40 %) holds 50, group 1 (60 %) holds 100.
        for (const float group : {2.0f, -1.0f})
            QTest::newRow(qPrintable(u"group %1 counts as group 0"_s.arg(group)))
                << Totals{{40, 60}, {group, 1}, {50, 100}} << u"80%    (B)"_s;
        // Under the grades rule a B (value 3 of a best 4) counts 75, where its score is 85.
        QTest::newRow("grades rule")
            << Totals{{100}, {0}, {85}, {}, letters, true} << u"75%    (C)"_s;
        QTest::newRow("grades rule in numbers")
            << Totals{{100}, {0}, {85}, {}, DisplayMode::Numbers, true} << u"75%    (2.0)"_s;
        QTest::newRow("grades rule, percent of max uses scores")
            << Totals{{100}, {0}, {85}, {}, DisplayMode::PercentOfMax, true} << u"85%"_s;
        QTest::newRow("grades rule, ungraded test uses scores")
            << Totals{{100}, {0}, {85}, {}, letters, true, false} << u"85%    (B)"_s;
        QTest::newRow("score hidden")
            << Totals{{100}, {0}, {85}, {}, letters, false, true, false} << u"       (B)"_s;
        QTest::newRow("percent of max ignores hiding the score")
            << Totals{{100}, {0}, {85}, {}, DisplayMode::PercentOfMax, false, true, false}
            << u"85%"_s;
    }
    void rowTotal() {
        QFETCH(Totals, c);
        QFETCH(QString, cell);
        const auto ignored = [&](int i) { return c.ignored.mid(i, 1) == u"1"_s; };
        Class k(int(c.scores.size()));
        Gradebook& book = k.book;
        ImportanceSet& groups = book.importanceSet();
        groups.count = int(c.groups.size());
        for (int g = 0; g < groups.count; ++g)
            groups.steps[std::size_t(g)].percentOfTotal = c.groups[g];
        book.view().displayMode = c.mode;
        book.view().showTotalScores = c.showTotal;
        if (c.gradesRule) QVERIFY(SetAveragingRule(book, false));
        for (int i = 0; i < c.scores.size(); ++i) {
            book.TestOf(i + 2).importance = c.importance[i];
            book.TestOf(i + 2).calculateGrades = c.graded ? 1 : 0;
            book.setIncluded(1, i + 2, !ignored(i));
            k.score(1, i + 2, c.scores[i] == 0 ? QString() : QString::number(c.scores[i]));
        }
        UpdateRowTotal(book, 1);
        QCOMPARE(book.GetCellText(1, 1), cell);
        // Unknown groups became group 0, and each group holds this student's count of tests.
        for (int g = 0; g < groups.count; ++g) {
            int counted = 0;
            for (int i = 0; i < c.scores.size(); ++i)
                counted += book.TestOf(i + 2).importance == float(g) && !ignored(i);
            QCOMPARE(groups.steps[std::size_t(g)].testCount, float(counted));
        }
    }
    void averagingRuleSwapsTotalScales() {
        Class c(1);
        Gradebook& book = c.book;
        book.view().displayMode = DisplayMode::Letters;
        c.score(1, 2, u"85"_s);
        book.setModified(false);
        const auto scales = [&] {
            return book.totalSetup().scale.name.text() + u'|' + book.totalScales()[0].name.text() +
                   u'|' + book.totalScales()[1].name.text();
        };
        QVERIFY(SetAveragingRule(book, false));
        QCOMPARE(book.totalSetup().importance, 0.0f);
        QCOMPARE(scales(), u"Totals|Letters|Totals"_s);
        QVERIFY(book.isModified());
        QCOMPARE(book.GetCellText(1, 1), u"75%    (C)"_s);
        // Choosing the rule in force again must not lose either scale.
        QVERIFY(!SetAveragingRule(book, false));
        QCOMPARE(scales(), u"Totals|Letters|Totals"_s);
        book.totalSetup().scale.name = u"Edited"_s;
        QVERIFY(SetAveragingRule(book, true));
        QCOMPARE(book.totalSetup().importance, -1.0f);
        QCOMPARE(scales(), u"Letters|Letters|Edited"_s);
        QCOMPARE(book.GetCellText(1, 1), u"85%    (B)"_s);
    }
    void recalcReformatsEveryScore() {
        Class c(2);
        c.book.view().displayMode = DisplayMode::Letters;
        c.score(1, 2, u"085.0"_s);
        c.score(2, 2, u"0"_s); // leaves the empty cell of a graded test
        c.book.TestOf(3).calculateGrades = 0;
        c.score(1, 3, u"-3"_s);
        c.book.view().displayMode = DisplayMode::Numbers;
        RecalcAll(c.book);
        QCOMPARE(c.book.GetCellText(1, 2), u"85     (3.0)"_s);
        QCOMPARE(c.book.GetCellText(2, 2), QString());
        QCOMPARE(c.book.GetCellText(1, 3), u"-3"_s);
        // Totals: 85 in group 1 (60 %) and -3 in group 1 too.
        QCOMPARE(c.book.GetCellText(1, 1), u"41%    (0.0)"_s);
        c.book.setIncluded(1, 2, false);
        RecalcColumn(c.book, 2);
        QCOMPARE(c.book.GetCellText(1, 2), u"85     (3.0)x"_s);
        QCOMPARE(c.book.GetCellText(1, 1), QString());
    }
    void noTestsMeansNoTotals() {
        Class c(0);
        c.book.SetCellText(3, 1, u"stale"_s);
        RecalcAll(c.book);
        for (int r = 1; r < c.book.rowCount(); ++r)
            QCOMPARE(c.book.GetCellText(r, 1), QString());
    }
};

QTEST_GUILESS_MAIN(TestCalculation)
#include "tst_calculation.moc"
