#include "TestSupport.h"
#include "core/NewGradebook.h"
#include "core/TestCommands.h"
#include "grading/Calculation.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

using TestSupport::LetterScale;

ImportanceSet twoGroups(float first, float second) {
    return TestSupport::GroupSet({{u"Tests", first}, {u"Homework", second}});
}

// A class with `tests` tests of maximum 100 on the letter scale, groups 40 % and 60 %.
struct Class {
    Gradebook book;
    Libraries libs;
    explicit Class(int tests) {
        libs.scales = {LetterScale(u"Letters"_s), LetterScale(u"Totals"_s)};
        libs.importanceSets = {twoGroups(40, 60)};
        ResetToNew(book, libs);
        for (int i = 0; i < tests; ++i) {
            int col = book.columnCount();
            AddBlankTest(book, col, libs, QDate(2026, 9, 1));
        }
    }
    void score(int row, int col, const QString& entry) {
        book.SetCellText(row, col, FormatScoreCell(book, row, col, entry));
    }
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
        QTest::newRow("graded negative empties") << letters << true << false << u"-4"_s << u""_s;
        QTest::newRow("empty") << letters << true << false << u""_s << u""_s;
        QTest::newRow("empty ignored") << letters << true << true << u""_s << u"        x"_s;
        QTest::newRow("above maximum empties") << letters << true << false << u"101"_s << u""_s;
        QTest::newRow("above maximum in percent") << percent << true << false << u"101"_s << u""_s;
        QTest::newRow("maximum") << letters << true << false << u"100"_s << u"100    (A)"_s;
        QTest::newRow("long entry unpadded")
            << letters << true << false << u"88.12345"_s << u"88.12345(B)"_s;
        QTest::newRow("seven characters")
            << letters << true << false << u"88.1234"_s << u"88.1234(B)"_s;
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
    void totalCell_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("showTotal");
        QTest::addColumn<QString>("cell");
        QTest::newRow("letters") << int(DisplayMode::Letters) << true << u"85%    (B)"_s;
        QTest::newRow("numbers") << int(DisplayMode::Numbers) << true << u"85%    (3.0)"_s;
        QTest::newRow("score hidden") << int(DisplayMode::Letters) << false << u"       (B)"_s;
        QTest::newRow("percent of max") << int(DisplayMode::PercentOfMax) << true << u"85%"_s;
        QTest::newRow("percent ignores show")
            << int(DisplayMode::PercentOfMax) << false << u"85%"_s;
    }
    void totalCell() {
        QFETCH(int, mode);
        QFETCH(bool, showTotal);
        QFETCH(QString, cell);
        Class c(1);
        c.book.view().displayMode = DisplayMode(mode);
        c.book.view().showTotalScores = showTotal;
        c.score(1, 2, u"85"_s);
        UpdateRowTotal(c.book, 1);
        QCOMPARE(c.book.GetCellText(1, 1), cell);
    }
    void workedTotals_data() {
        QTest::addColumn<bool>("ignoreEmpty");
        QTest::addColumn<QString>("total");
        // 80 in a 40 % test; 90 and an empty cell in two 60 % homeworks.
        QTest::newRow("empty counts as 0") << false << u"59%    (F)"_s;
        QTest::newRow("empty ignored") << true << u"86%    (B)"_s;
    }
    void workedTotals() {
        QFETCH(bool, ignoreEmpty);
        QFETCH(QString, total);
        Class c(3);
        c.book.view().displayMode = DisplayMode::Letters;
        c.book.TestOf(2).importance = 0;
        c.book.TestOf(3).importance = 1;
        c.book.TestOf(4).importance = 1;
        c.book.setIncluded(1, 4, !ignoreEmpty);
        c.score(1, 2, u"80"_s);
        c.score(1, 3, u"90"_s);
        c.score(1, 4, u""_s);
        UpdateRowTotal(c.book, 1);
        QCOMPARE(c.book.GetCellText(1, 1), total);
        QCOMPARE(c.book.importanceSet().steps[1].testCount, ignoreEmpty ? 1.0f : 2.0f);
    }
    void oneGroupIsThePlainMean() {
        Class c(3);
        for (int col = 2; col <= 4; ++col)
            c.book.TestOf(col).importance = 1;
        c.score(1, 2, u"70"_s);
        c.score(1, 3, u"80"_s);
        c.score(1, 4, u"93"_s);
        QCOMPARE(RowTotal(c.book, 1), 81.0f);
        c.book.importanceSet().steps[1].percentOfTotal = 5;
        QCOMPARE(RowTotal(c.book, 1), 81.0f);
    }
    void groupsWithoutWeightLeaveTheTotalEmpty() {
        Class c(2);
        c.book.importanceSet() = twoGroups(0, 0);
        c.score(1, 2, u"80"_s);
        c.score(1, 3, u"90"_s);
        UpdateRowTotal(c.book, 1);
        QCOMPARE(c.book.GetCellText(1, 1), QString());
        // A 0 % group adds nothing while a weighted one carries the total.
        c.book.importanceSet() = twoGroups(0, 100);
        c.book.TestOf(2).importance = 0;
        c.book.TestOf(3).importance = 1;
        QCOMPARE(RowTotal(c.book, 1), 90.0f);
    }
    void unknownGroupsCountAsGroupZero_data() {
        QTest::addColumn<float>("importance");
        QTest::newRow("past the last group") << 5.0f;
        QTest::newRow("the group count itself") << 2.0f;
        QTest::newRow("negative") << -1.0f;
    }
    void unknownGroupsCountAsGroupZero() {
        QFETCH(float, importance);
        Class c(2);
        c.book.TestOf(2).importance = importance;
        c.book.TestOf(3).importance = 1;
        c.score(1, 2, u"50"_s);
        c.score(1, 3, u"100"_s);
        // Group 0 (40 %) holds 50, group 1 (60 %) holds 100.
        QCOMPARE(RowTotal(c.book, 1), 80.0f);
        QCOMPARE(c.book.TestOf(2).importance, 0.0f);
    }
    void gradesRule_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("graded");
        QTest::addColumn<float>("total");
        // A B (value 3 of a best 4) contributes 75; the score itself is 85.
        QTest::newRow("grades") << int(DisplayMode::Letters) << true << 75.0f;
        QTest::newRow("numbers mode too") << int(DisplayMode::Numbers) << true << 75.0f;
        QTest::newRow("percent of max uses scores")
            << int(DisplayMode::PercentOfMax) << true << 85.0f;
        QTest::newRow("ungraded test uses scores") << int(DisplayMode::Letters) << false << 85.0f;
    }
    void gradesRule() {
        QFETCH(int, mode);
        QFETCH(bool, graded);
        QFETCH(float, total);
        Class c(1);
        c.book.view().displayMode = DisplayMode(mode);
        c.book.TestOf(2).calculateGrades = graded ? 1 : 0;
        c.score(1, 2, u"85"_s);
        QVERIFY(SetAveragingRule(c.book, false));
        QCOMPARE(RowTotal(c.book, 1), total);
    }
    void averagingRuleSwapsTotalScales() {
        Class c(1);
        c.book.view().displayMode = DisplayMode::Letters;
        c.score(1, 2, u"85"_s);
        QCOMPARE(c.book.totalSetup().scale.name.text(), u"Letters"_s);
        c.book.setModified(false);

        QVERIFY(SetAveragingRule(c.book, false));
        QCOMPARE(c.book.totalSetup().importance, 0.0f);
        QCOMPARE(c.book.totalSetup().scale.name.text(), u"Totals"_s);
        QCOMPARE(c.book.totalScales()[0].name.text(), u"Letters"_s);
        QVERIFY(c.book.isModified());
        QCOMPARE(c.book.GetCellText(1, 1), u"75%    (C)"_s);

        // Choosing the rule in force again must not lose either scale.
        QVERIFY(!SetAveragingRule(c.book, false));
        QCOMPARE(c.book.totalSetup().scale.name.text(), u"Totals"_s);
        QCOMPARE(c.book.totalScales()[0].name.text(), u"Letters"_s);

        c.book.totalSetup().scale.name = u"Edited"_s;
        QVERIFY(SetAveragingRule(c.book, true));
        QCOMPARE(c.book.totalSetup().importance, -1.0f);
        QCOMPARE(c.book.totalSetup().scale.name.text(), u"Letters"_s);
        QCOMPARE(c.book.totalScales()[1].name.text(), u"Edited"_s);
        QCOMPARE(c.book.GetCellText(1, 1), u"85%    (B)"_s);
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
