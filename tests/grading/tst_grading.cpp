// The grading engine: scales, score cells and totals, sorting, and the table's text and moves.
#include "TestSupport.h"
#include "core/NewGradebook.h"
#include "core/NumberText.h"
#include "core/TestCommands.h"
#include "grading/Calculation.h"
#include "grading/Scale.h"
#include "grading/ScoreEntry.h"
#include "grading/Sorting.h"
#include "grading/Statistics.h"
#include "grading/TableTransfer.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace TestSupport;

namespace {

TestRecord testOf(float maxScore, GradeScale scale) {
    TestRecord t;
    t.maxScore = maxScore;
    t.calculateGrades = 1;
    t.scale = scale;
    return t;
}

// A class with `tests` tests of maximum 100 on the letter scale, groups 40 % and 60 %.
struct Class {
    Gradebook book;
    explicit Class(int tests) {
        Libraries libs = LetterLibraries();
        libs.importanceSets = {GroupSet({{u"Tests", 40}, {u"Homework", 60}})};
        NewClass(book, libs, tests);
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

// Three students with names and two tests of scores 80 / 90, 70 / 60, empty / 50.
void Fill(Gradebook& book) {
    NewClass(book, LetterLibraries(), 2);
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

class TestGrading : public QObject {
    Q_OBJECT
private slots:
    void roundHalfUp_data() {
        Columns<double, int, double>("x", "digits", "rounded");
        QTest::newRow("2.5") << 2.5 << 0 << 3.0;
        QTest::newRow("84.49") << 84.49 << 0 << 84.0;
        QTest::newRow("-2.5 goes up") << -2.5 << 0 << -2.0;
        QTest::newRow("two decimals") << 1.125 << 2 << 1.13;
    }
    void roundHalfUp() {
        QFETCH(double, x);
        QFETCH(int, digits);
        QTEST(RoundHalfUp(x, digits), "rounded");
    }

    // Steps of the letter scale: F 0, D 1, C 2, B 3, A 4; -1 is no grade.
    void gradeIndex_data() {
        Columns<float, float, int>("maxScore", "score", "step");
        QTest::newRow("zero has no grade") << 100.0f << 0.0f << -1;
        QTest::newRow("smallest score") << 100.0f << 0.01f << 0;
        QTest::newRow("equal to a top score") << 100.0f << 89.0f << 3;
        QTest::newRow("a hundredth above") << 100.0f << 89.01f << 4;
        QTest::newRow("maximum score") << 100.0f << 100.0f << 4;
        QTest::newRow("above maximum") << 100.0f << 100.5f << -1;
        QTest::newRow("out of 40") << 40.0f << 35.6f << 3; // exactly 89 %
        QTest::newRow("out of 40, above") << 40.0f << 35.61f << 4;
        QTest::newRow("out of 30, thirds") << 30.0f << 26.7f << 3; // 89.0000 in single precision
        QTest::newRow("zero maximum") << 0.0f << 5.0f << -1;
    }
    void gradeIndex() {
        QFETCH(float, maxScore);
        QFETCH(float, score);
        QTEST(GradeIndex(testOf(maxScore, LetterScale()), score), "step");
    }

    void autoEven_data() {
        Columns<QList<float>, QList<float>, int>("values", "tops", "refusedAt");
        QTest::newRow("1 2 3 4") << QList<float>{1, 2, 3, 4} << QList<float>{37, 62, 87, 100} << -1;
        QTest::newRow("0 1 2") << QList<float>{0, 1, 2} << QList<float>{25, 75, 100} << -1;
        QTest::newRow("1 1 2 refused") << QList<float>{1, 1, 2} << QList<float>{} << 1;
        QTest::newRow("descending refused") << QList<float>{1, 2, 5, 3} << QList<float>{} << 3;
        QTest::newRow("tiny first midpoint")
            << QList<float>{0, 0.01f, 100} << QList<float>{1, 50, 100} << -1;
        QTest::newRow("best value below 0") << QList<float>{-3, -2, -1} << QList<float>{} << 2;
        QTest::newRow("best value 0") << QList<float>{-1, 0} << QList<float>{} << 1;
        QTest::newRow("one step") << QList<float>{4} << QList<float>{100} << -1;
    }
    void autoEven() {
        QFETCH(QList<float>, values);
        QFETCH(QList<float>, tops);
        QFETCH(int, refusedAt);
        GradeScale scale;
        scale.count = int(values.size());
        for (int i = 0; i < scale.count; ++i) {
            scale.steps[std::size_t(i)].value = values[i];
            scale.steps[std::size_t(i)].topScore = i == scale.count - 1 ? 100 : 0;
        }
        const auto result = AutoEven(scale);
        if (refusedAt >= 0) {
            const auto* refusal = std::get_if<AutoEvenRefusal>(&result);
            QVERIFY(refusal);
            QCOMPARE(refusal->step, refusedAt);
            QCOMPARE(refusal->message,
                     values.back() > 0
                         ? u"Error: Numeric Values are not in order!"_s
                         : u"Error: The highest Numeric Value (%1) must be above 0!"_s.arg(
                               values.back()));
            return;
        }
        const auto* even = std::get_if<GradeScale>(&result);
        QVERIFY(even);
        for (int i = 0; i < scale.count; ++i)
            QCOMPARE(even->steps[std::size_t(i)].topScore, tops[i]);
        // Evened out, a score of a whole grade value out of the best value gets that grade.
        const float best = values.back();
        for (float v : values)
            if (v >= 1)
                QCOMPARE(even->steps[std::size_t(GradeIndex(testOf(best, *even), v))].value, v);
    }

    void scoreCell_data() {
        Columns<DisplayMode, bool, bool, QString, QString>("mode", "graded", "ignored", "entry",
                                                           "cell");
        const DisplayMode letters = DisplayMode::Letters, percent = DisplayMode::PercentOfMax;
        QTest::newRow("letter") << letters << true << false << u"85"_s << u"85     (B)"_s;
        QTest::newRow("number") << DisplayMode::Numbers << true << false << u"85"_s
                                << u"85     (3.0)"_s;
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
        QFETCH(DisplayMode, mode);
        QFETCH(bool, graded);
        QFETCH(bool, ignored);
        QFETCH(QString, entry);
        Class c(1);
        c.book.view().displayMode = mode;
        c.book.TestOf(2).calculateGrades = graded ? 1 : 0;
        c.book.setIncluded(1, 2, !ignored);
        QTEST(FormatScoreCell(c.book, 1, 2, entry), "cell");
    }

    void rowTotal_data() {
        Columns<Totals, QString>("c", "cell");
        const auto letters = DisplayMode::Letters, percent = DisplayMode::PercentOfMax;
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
        QTest::newRow("grades rule, percent of max uses scores")
            << Totals{{100}, {0}, {85}, {}, percent, true} << u"85%"_s;
        QTest::newRow("grades rule, ungraded test uses scores")
            << Totals{{100}, {0}, {85}, {}, letters, true, false} << u"85%    (B)"_s;
        QTest::newRow("score hidden")
            << Totals{{100}, {0}, {85}, {}, letters, false, true, false} << u"       (B)"_s;
        QTest::newRow("percent of max ignores hiding the score")
            << Totals{{100}, {0}, {85}, {}, percent, false, true, false} << u"85%"_s;
    }
    void rowTotal() {
        QFETCH(Totals, c);
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
        QTEST(book.GetCellText(1, 1), "cell");
        // Unknown groups became group 0, and each group holds this student's count of tests.
        for (int g = 0; g < groups.count; ++g) {
            int counted = 0;
            for (int i = 0; i < c.scores.size(); ++i)
                counted += book.TestOf(i + 2).importance == float(g) && !ignored(i);
            QCOMPARE(groups.steps[std::size_t(g)].testCount, float(counted));
        }
    }

    // Five students: the fifth's graded score is ignored, "abs" is text, "0" a score, and the
    // third has no score. Figures: count, mean, median, deviation, highest, lowest.
    void statistics_data() {
        Columns<int, bool, QString>("col", "showTotal", "figures");
        QTest::newRow("graded") << 2 << true << u"2|80.0|80.0|10.0|90.0|70.0"_s;
        QTest::newRow("ungraded") << 3 << true << u"3|23.33|20.0|20.55|50.0|0.0"_s;
        QTest::newRow("totals") << 1 << true << u"4|31.25|32.5|23.01|60.0|0.0"_s;
        QTest::newRow("totals shown by grade") << 1 << false << u"4|31.25|32.5|23.01|60.0|0.0"_s;
    }
    void statistics() {
        QFETCH(int, col);
        QFETCH(bool, showTotal);
        Class k(2);
        k.book.setShape(6, 4);
        k.book.view().showTotalScores = showTotal;
        k.book.TestOf(3).calculateGrades = 0;
        k.book.setIncluded(5, 2, false);
        for (int r = 1; r <= 5; ++r) {
            k.score(r, 2, Items(u"70|90||0|100"_s)[r - 1]);
            k.score(r, 3, Items(u"50|abs||0|20"_s)[r - 1]);
        }
        RecalcTotals(k.book);
        const ScoreStatistics s = ColumnStatistics(k.book, col);
        QStringList figures{QString::number(s.count)};
        for (const double x : {s.mean, s.median, s.deviation, s.highest, s.lowest})
            figures << FormatTwoDecimals(x);
        QTEST(figures.join(u'|'), "figures");
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
        QCOMPARE(Row(c.book, 1).mid(1),
                 (QStringList{u"41%    (0.0)"_s, u"85     (3.0)"_s, u"-3"_s}));
        QCOMPARE(c.book.GetCellText(2, 2), QString());
        // (Totals: 85 in group 1 (60 %) and -3 in group 1 too.)
        c.book.setIncluded(1, 2, false);
        RecalcColumn(c.book, 2);
        QCOMPARE(c.book.GetCellText(1, 2), u"85     (3.0)x"_s);
        QCOMPARE(c.book.GetCellText(1, 1), QString());
        // Without tests no student has a total, whatever the column held.
        Class none(0);
        none.book.SetCellText(3, 1, u"stale"_s);
        RecalcAll(none.book);
        QCOMPARE(Column(none.book, 1), QStringList(7));
    }

    void sortStudents_data() {
        // Scores are of the one test; none: the row numbers.
        Columns<int, int, QStringList, QStringList, QStringList, QString>(
            "rule", "keyColumn", "names", "scores", "sorted", "message");
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
        QTEST(SortStudents(book, keyColumn).message(), "message");
        QVERIFY(book.isModified());
        QTEST(Column(book, 0), "sorted");
        // Each student took the whole row and the record along.
        for (int r = 1; r < book.rowCount(); ++r) {
            const int old = book.StudentOf(r).id.text().toInt();
            QCOMPARE(book.GetCellText(r, 0), names[old]);
            QCOMPARE(book.GetCellText(r, 2), scoreOf(old));
        }
    }

    void sortTests_data() {
        Columns<int, QStringList, QStringList, QStringList>("rule", "names", "dates", "order");
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

    // A block as text, in the class of Fill; its totals are Ada 85, Ben 65, Cy 25.
    void blockText_data() {
        Columns<CellBlock, bool, QString>("block", "names", "text"); // names: test and student
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
        Gradebook book;
        Fill(book);
        QTEST(BlockText(book, block, {names, names}), "text");
    }

    // What one gradebook gives, another takes: into the selection only, from its top-left
    // cell, names only when they came with their parameters. Rows 1 to 3 after the paste, "|"
    // between cells; Cy's row stays as Fill left it unless the block covers it.
    void pasteText_data() {
        Columns<QString, CellBlock, bool, bool, QStringList>("text", "into", "layoutNames",
                                                             "takeNames", "rows");
        const QString block = u"Name\tTotal\tQuiz\tExam\r\nZed\t0\t10\t20\r\nYu\t0\t30\t40\r\n"_s;
        const QString cy = u"Cy|25%    (F)||50     (F)"_s;
        QTest::newRow("block into one cell")
            << u"11\t12\r\n13\t14\r\n"_s << CellBlock{2, 3, 2, 3} << false << false
            << QStringList{u"Ada|85%    (B)|80     (B)|90     (A)"_s,
                           u"Ben|41%    (F)|70     (C)|11     (F)"_s, cy};
        QTest::newRow("names and parameters")
            << block << CellBlock{1, 1, 3, 3} << true << true
            << QStringList{u"Zed|15%    (F)|10     (F)|20     (F)"_s,
                           u"Yu|35%    (F)|30     (F)|40     (F)"_s, cy};
        QTest::newRow("names skipped")
            << block << CellBlock{1, 1, 3, 3} << true << false
            << QStringList{u"Ada|15%    (F)|10     (F)|20     (F)"_s,
                           u"Ben|35%    (F)|30     (F)|40     (F)"_s, cy};
        QTest::newRow("text of another program, LF only")
            << u"1\n2\n3\n4\n5\n"_s << CellBlock{1, 2, 3, 2} << false << false
            << QStringList{u"Ada|46%    (F)|1      (F)|90     (A)"_s,
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
        const QString names = takeNames ? u"Quiz|Exam"_s : u"Test  1|Test  2"_s;
        QCOMPARE(Row(book, 0).join(u'|'), u"Name|Total|"_s + names);
        for (int r = 1; r < 4; ++r)
            QCOMPARE(Row(book, r).join(u'|'), rows[r - 1]);
        QVERIFY(book.isModified());
    }

    // A test goes in front of the column it is dropped on, or to the end, with its name, width,
    // record, scores and ignore flags; a drop on its own place or the totals moves nothing.
    void moveTest_data() {
        Columns<int, int, int, QString>("from", "to", "place", "names");
        QTest::newRow("first to the end") << 2 << 9 << 4 << u"B|C|A"_s;
        QTest::newRow("last to the front") << 4 << 2 << 2 << u"C|A|B"_s;
        QTest::newRow("in front of the next") << 2 << 3 << 2 << u"A|B|C"_s;
        QTest::newRow("onto the totals") << 3 << 1 << 3 << u"A|B|C"_s;
    }
    void moveTest() {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, place);
        Gradebook book;
        NewClass(book, LetterLibraries(), 3);
        for (int c = 2; c <= 4; ++c) {
            book.SetCellText(0, c, QString(QChar(u'A' + c - 2)));
            book.TestOf(c).maxScore = float(c * 10);
            book.setColumnWidth(c, 1000 + c);
            EnterScore(book, 1, c, QString::number(c));
        }
        book.setIncluded(2, from, false);
        QCOMPARE(MoveTest(book, from, to), place);
        QTEST(Row(book, 0).mid(2).join(u'|'), "names");
        QCOMPARE(book.TestOf(place).maxScore, float(from * 10));
        QCOMPARE(book.columnWidth(place), 1000 + from);
        QVERIFY(book.GetCellText(1, place).startsWith(QString::number(from)));
        QVERIFY(!book.isIncluded(2, place));
    }

    void clearScores() {
        Gradebook book;
        Fill(book);
        ClearScores(book, {1, 1, 2, 3}); // the totals column is not a score
        QCOMPARE(Column(book, 2), QStringList(3));
        QCOMPARE(Column(book, 1), (QStringList{QString(), QString(), u"25%    (F)"_s}));
    }
};

QTEST_GUILESS_MAIN(TestGrading)
#include "tst_grading.moc"
