// The grading engine: scales, score cells and totals, sorting, the table's text and moves, and
// the slider columns that edit scales and groups.
#include "TestSupport.h"
#include "core/NumberText.h"
#include "core/ScoreCell.h"
#include "grading/Calculation.h"
#include "grading/GradingTools.h"
#include "grading/Importance.h"
#include "grading/Scale.h"
#include "grading/ScoreEntry.h"
#include "grading/SliderColumns.h"
#include "grading/Sorting.h"
#include "grading/Statistics.h"
#include "grading/TableTransfer.h"

#include <QRegularExpression>
#include <QTest>

#include <numeric>

using namespace Qt::Literals::StringLiterals;
using namespace TestSupport;

namespace {

TestRecord testOf(float maxScore, const GradeScale& scale) {
    return {.maxScore = maxScore, .date = {}, .note = {}, .calculateGrades = 1, .scale = scale};
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
    NewClass(book, LetterLibraries(), 2).setShape(4, 4);
    book.view().displayMode = DisplayMode::Letters;
    const QStringList cells = Items(u"Ada|80|90|Ben|70|60|Cy||50"_s);
    for (int r = 1; r <= 3; ++r) {
        book.SetCellText(r, 0, cells[3 * r - 3]);
        for (int c = 2; c <= 3; ++c)
            EnterScore(book, r, c, cells[3 * r + c - 4]);
    }
}

// Steps (valued 0, 1, ...) or groups named A, B, ... with the given top scores or shares.
template <class Set> Set Stepped(const QList<float>& tops) {
    Set s;
    for (float top : tops) {
        auto [name, value, topOrShare] = s.steps[std::size_t(s.count)].fields();
        name = QString(QChar(u'A' + s.count));
        value = std::is_same_v<Set, GradeScale> ? float(s.count) : 0;
        topOrShare = top;
        ++s.count;
    }
    return s;
}

// "A 25, B 50": each step's or group's name and top score or share.
template <class Set> QString Listed(const Set& s) {
    QStringList items;
    for (int i = 0; i < s.count; ++i) {
        const auto [name, value, topOrShare] = s.steps[std::size_t(i)].fields();
        items << name.text() + u' ' + QString::number(topOrShare);
    }
    return items.join(u", "_s);
}

} // namespace

class TestGrading : public QObject {
    Q_OBJECT
private slots:
    void roundHalfUp_data() {
        const Table<double, int, double> row("x", "digits", "rounded");
        row("2.5", 2.5, 0, 3.0);
        row("84.49", 84.49, 0, 84.0);
        row("-2.5 goes up", -2.5, 0, -2.0);
        row("two decimals", 1.125, 2, 1.13);
    }
    void roundHalfUp() {
        auto [x, digits] = Fetch<double, int>();
        QTEST(RoundHalfUp(x, digits), "rounded");
    }

    // Steps of the letter scale: F 0, D 1, C 2, B 3, A 4; -1 is no grade.
    void gradeIndex_data() {
        const Table<float, float, int> row("maxScore", "score", "step");
        row("zero has no grade", 100.0f, 0.0f, -1);
        row("smallest score", 100.0f, 0.01f, 0);
        row("equal to a top score", 100.0f, 89.0f, 3);
        row("a hundredth above", 100.0f, 89.01f, 4);
        row("maximum score", 100.0f, 100.0f, 4);
        row("above maximum", 100.0f, 100.5f, -1);
        row("out of 40", 40.0f, 35.6f, 3); // exactly 89 %
        row("out of 40, above", 40.0f, 35.61f, 4);
        row("out of 30, thirds", 30.0f, 26.7f, 3); // 89.0000 in single precision
        row("zero maximum", 0.0f, 5.0f, -1);
    }
    void gradeIndex() {
        auto [maxScore, score] = Fetch<float, float>();
        QTEST(GradeIndex(testOf(maxScore, LetterScale()), score), "step");
    }

    void autoEven_data() {
        const Table<QList<float>, QList<float>, int> row("values", "tops", "refusedAt");
        row("1 2 3 4", {1, 2, 3, 4}, {37, 62, 87, 100}, -1);
        row("0 1 2", {0, 1, 2}, {25, 75, 100}, -1);
        row("1 1 2 refused", {1, 1, 2}, {}, 1);
        row("descending refused", {1, 2, 5, 3}, {}, 3);
        row("tiny first midpoint", {0, 0.01f, 100}, {1, 50, 100}, -1);
        row("best value below 0", {-3, -2, -1}, {}, 2);
        row("best value 0", {-1, 0}, {}, 1);
        row("one step", {4}, {100}, -1);
    }
    void autoEven() {
        auto [values, tops, refusedAt] = Fetch<QList<float>, QList<float>, int>();
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
            QCOMPARE(std::pair(refusal->step, refusal->message),
                     std::pair(refusedAt, values.back() > 0
                                              ? ValuesOutOfOrderMessage
                                              : BestValueNotAboveZeroMessage(values.back())));
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
        const auto row = [](const char* tag, bool graded, bool ignored, const QString& entry,
                            const QString& cell, DisplayMode mode = DisplayMode::Letters) {
            QTest::newRow(tag) << mode << graded << ignored << entry << cell;
        };
        const DisplayMode percent = DisplayMode::PercentOfMax;
        row("letter", true, false, u"85"_s, u"85     (B)"_s);
        row("number", true, false, u"85"_s, u"85     (3.0)"_s, DisplayMode::Numbers);
        row("percent", true, false, u"42.5"_s, u"42.5   (43%)"_s, percent);
        row("ignored letter", true, true, u"85"_s, u"85     (B)x"_s);
        row("ungraded", false, false, u"85"_s, u"85"_s);
        row("ungraded ignored", false, true, u"85"_s, u"85      x"_s);
        row("ungraded zero stays", false, false, u"0"_s, u"0"_s);
        row("graded zero empties", true, false, u"0"_s, u""_s);
        row("empty ignored", true, true, u""_s, u"        x"_s);
        row("above maximum empties", true, false, u"101"_s, u""_s);
        row("above maximum in percent", true, false, u"101"_s, u""_s, percent);
        row("maximum", true, false, u"100"_s, u"100    (A)"_s);
        row("long entry unpadded", true, false, u"88.12345"_s, u"88.12345(B)"_s);
    }
    void scoreCell() {
        auto [mode, graded, ignored, entry] = Fetch<DisplayMode, bool, bool, QString>();
        Class c(1);
        c.book.view().displayMode = mode;
        c.book.TestOf(2).calculateGrades = graded ? 1 : 0;
        c.book.setIncluded(1, 2, !ignored);
        QTEST(FormatScoreCell(c.book, 1, 2, entry), "cell");
    }

    void rowTotal_data() {
        const Table<Totals, QString> row("c", "cell");
        const auto letters = DisplayMode::Letters, percent = DisplayMode::PercentOfMax;
        // 80 in a 40 % test; 90 and an empty cell in two 60 % homeworks.
        row("empty counts as 0", {{40, 60}, {0, 1, 1}, {80, 90, 0}}, u"59%    (F)"_s);
        row("empty ignored", {{40, 60}, {0, 1, 1}, {80, 90, 0}, u"001"_s}, u"86%    (B)"_s);
        row("one group is the plain mean", {{40, 60}, {1, 1, 1}, {70, 80, 93}}, u"81%    (B)"_s);
        row("no weight leaves the total empty", {{0, 0}, {0, 1}, {80, 90}}, QString());
        row("a 0 % group adds nothing", {{0, 100}, {0, 1}, {80, 90}}, u"90%    (A)"_s);
        // Group 0 (40 %) holds 50, group 1 (60 %) holds 100.
        row("group 2 counts as group 0", {{40, 60}, {2, 1}, {50, 100}}, u"80%    (B)"_s);
        row("group -1 counts as group 0", {{40, 60}, {-1, 1}, {50, 100}}, u"80%    (B)"_s);
        // Under the grades rule a B (value 3 of a best 4) counts 75, where its score is 85.
        row("grades rule", {{100}, {0}, {85}, {}, letters, true}, u"75%    (C)"_s);
        row("grades rule, percent of max uses scores", {{100}, {0}, {85}, {}, percent, true},
            u"85%"_s);
        row("grades rule, ungraded test uses scores", {{100}, {0}, {85}, {}, letters, true, false},
            u"85%    (B)"_s);
        row("score hidden", {{100}, {0}, {85}, {}, letters, false, true, false}, u"       (B)"_s);
        row("percent of max ignores hiding the score",
            {{100}, {0}, {85}, {}, percent, false, true, false}, u"85%"_s);
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
        const Table<int, bool, QString> row("col", "showTotal", "figures");
        row("graded", 2, true, u"2|80.0|80.0|10.0|90.0|70.0"_s);
        row("ungraded", 3, true, u"3|23.33|20.0|20.55|50.0|0.0"_s);
        row("totals", 1, true, u"4|31.25|32.5|23.01|60.0|0.0"_s);
        row("totals shown by grade", 1, false, u"4|31.25|32.5|23.01|60.0|0.0"_s);
    }
    void statistics() {
        auto [col, showTotal] = Fetch<int, bool>();
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
        // The rule, the Total's scale, the two kept, and the total.
        const auto state = [&] {
            return QStringList{QString::number(book.totalSetup().importance),
                               book.totalSetup().scale.name.text(),
                               book.totalScales()[0].name.text(), book.totalScales()[1].name.text(),
                               book.GetCellText(1, 1)};
        };
        const QStringList grades = Items(u"0|Totals|Letters|Totals|75%    (C)"_s);
        QVERIFY(SetAveragingRule(book, false) && book.isModified());
        QCOMPARE(state(), grades);
        // Choosing the rule in force again must not lose either scale.
        QVERIFY(!SetAveragingRule(book, false));
        QCOMPARE(state(), grades);
        book.totalSetup().scale.name = u"Edited"_s;
        QVERIFY(SetAveragingRule(book, true));
        QCOMPARE(state(), Items(u"-1|Letters|Letters|Edited|85%    (B)"_s));
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
        // (Totals: 85 in group 1 (60 %) and -3 in group 1 too.)
        QCOMPARE(Row(c.book, 1).mid(1) << c.book.GetCellText(2, 2),
                 Items(u"41%    (0.0)|85     (3.0)|-3|"_s));
        c.book.setIncluded(1, 2, false);
        RecalcColumn(c.book, 2);
        QCOMPARE(Row(c.book, 1).mid(1, 2), Items(u"|85     (3.0)x"_s));
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
        auto [rule, keyColumn, names, scores] = Fetch<int, int, QStringList, QStringList>();
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
            QCOMPARE(std::pair(book.GetCellText(r, 0), book.GetCellText(r, 2)),
                     std::pair(names[old], scoreOf(old)));
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
        auto [rule, names, dates, order] = Fetch<int, QStringList, QStringList, QStringList>();
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
            QCOMPARE(
                std::tuple(book.GetCellText(0, c), book.GetCellText(1, c), book.isIncluded(2, c)),
                std::tuple(names[old], QString::number(old), old != 0));
        }
    }

    // A block as text, in the class of Fill; its totals are Ada 85, Ben 65, Cy 25.
    void blockText_data() {
        const Table<CellBlock, bool, QString> row("block", "names", "text"); // tests' and students'
        row("one cell", {1, 2, 1, 2}, false, u"80\r\n"_s);
        row("empty score", {3, 2, 3, 3}, false, u"\t50\r\n"_s);
        row("whole rows with names", {1, 1, 2, 3}, true,
            u"Name\tTotal\tTest  1\tTest  2\r\nAda\t85\t80\t90\r\nBen\t65\t70\t60\r\n"_s);
        row("past the table", {3, 3, 9, 9}, false, u"50\r\n"_s);
    }
    void blockText() {
        auto [block, names] = Fetch<CellBlock, bool>();
        Gradebook book;
        Fill(book);
        QTEST(BlockText(book, block, {names, names}), "text");
    }

    // What one gradebook gives, another takes: into the selection only, from its top-left
    // cell, names only when they came with their parameters. Rows 1 to 3 after the paste, "|"
    // between cells; Cy's row stays as Fill left it unless the block covers it.
    void pasteText_data() {
        const Table<QString, CellBlock, bool, bool, QStringList> row("text", "into", "layoutNames",
                                                                     "takeNames", "rows");
        const QString block = u"Name\tTotal\tQuiz\tExam\r\nZed\t0\t10\t20\r\nYu\t0\t30\t40\r\n"_s;
        const QString cy = u"Cy|25%    (F)||50     (F)"_s;
        row("block into one cell", u"11\t12\r\n13\t14\r\n"_s, {2, 3, 2, 3}, false, false,
            QStringList{u"Ada|85%    (B)|80     (B)|90     (A)"_s,
                        u"Ben|41%    (F)|70     (C)|11     (F)"_s, cy});
        row("names and parameters", block, {1, 1, 3, 3}, true, true,
            QStringList{u"Zed|15%    (F)|10     (F)|20     (F)"_s,
                        u"Yu|35%    (F)|30     (F)|40     (F)"_s, cy});
        row("names skipped", block, {1, 1, 3, 3}, true, false,
            QStringList{u"Ada|15%    (F)|10     (F)|20     (F)"_s,
                        u"Ben|35%    (F)|30     (F)|40     (F)"_s, cy});
        row("text of another program, LF only", u"1\n2\n3\n4\n5\n"_s, {1, 2, 3, 2}, false, false,
            QStringList{u"Ada|46%    (F)|1      (F)|90     (A)"_s,
                        u"Ben|31%    (F)|2      (F)|60     (D)"_s,
                        u"Cy|27%    (F)|3      (F)|50     (F)"_s});
    }
    void pasteText() {
        auto [text, into, layoutNames, takeNames, rows] =
            Fetch<QString, CellBlock, bool, bool, QStringList>();
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
        const Table<int, int, int, QString> row("from", "to", "place", "names");
        row("first to the end", 2, 9, 4, u"B|C|A"_s);
        row("last to the front", 4, 2, 2, u"C|A|B"_s);
        row("in front of the next", 2, 3, 2, u"A|B|C"_s);
        row("onto the totals", 3, 1, 3, u"A|B|C"_s);
    }
    void moveTest() {
        auto [from, to, place] = Fetch<int, int, int>();
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
        QCOMPARE(std::tuple(book.TestOf(place).maxScore, book.columnWidth(place),
                            ScoreOfCell(book.GetCellText(1, place)), book.isIncluded(2, place)),
                 std::tuple(float(from * 10), 1000 + from, QString::number(from), false));
    }

    void clearScores() {
        Gradebook book;
        Fill(book);
        ClearScores(book, {1, 1, 2, 3}); // the totals column is not a score
        QCOMPARE(Column(book, 2), QStringList(3));
        QCOMPARE(Column(book, 1), (QStringList{QString(), QString(), u"25%    (F)"_s}));
    }

    // Laid out and read back, the tops stay; a group keeps the leading blank of its name.
    void layOutAndReadBackAgree() {
        const GradeScale scale = LetterScale();
        const SliderColumns columns = LayOutColumns(scale, 3000);
        QCOMPARE(columns.widths, (std::vector<int>{1770, 300, 300, 300, 330}));
        GradeScale back = scale;
        ReadBackColumns(back, columns);
        QCOMPARE(back, scale);
        ImportanceSet set = GroupSet({{u" A", 0}, {u"B", 0}, {u"C", 0}});
        ReadBackColumns(set, SliderColumns{3000, {1000, 1000, 1000}});
        QCOMPARE(ImportanceListItems(set), Items(u" A (33%)|B (33%)|C (33%)"_s));
    }

    // Steps or groups inserted or deleted at a grid column (0: none selected), given a top
    // score or share (`percent`), or a column dragged to the width `percent`, on a slider of a
    // given width. After: each step or group, or empty when the edit was refused.
    void editSteps_data() {
        Columns<QString, QList<float>, int, double, QString, int, int>(
            "operation", "before", "position", "percent", "after", "slider", "sliderAfter");
        const auto row = [](const char* tag, const QString& operation, const QList<float>& before,
                            int position, const QString& after, double percent = 0,
                            int slider = 3000, int sliderAfter = 0) {
            QTest::newRow(tag) << operation << before << position << percent << after << slider
                               << (sliderAfter ? sliderAfter : slider);
        };
        const auto evenTops = [](int n, int step) {
            QList<float> t;
            for (int i = 1; i <= n; ++i)
                t << float(i < n ? i * step : 100);
            return t;
        };
        const QList<float> four{25, 50, 75, 100}, letters{59, 69, 79, 89, 100}, groups{40, 40, 20};
        // The new step "X" is 250 wide; each other column gives 63.
        const QString insert = u"insert"_s, remove = u"delete"_s, top = u"top"_s, drag = u"drag"_s;
        row("insert in front of the second", insert, four, 2, u"A 23, X 31, B 54, C 77, D 100"_s);
        row("insert with nothing selected", insert, four, 0, u"A 23, B 46, C 69, X 77, D 100"_s);
        row("insert in front of the first", insert, four, 1, u"X 8, A 31, B 54, C 77, D 100"_s);
        row("insert into an empty scale", insert, {}, 0, u"X 100"_s);
        row("insert past the last", insert, {50, 100}, 3, {});
        GradeScale x24 = Stepped<GradeScale>({3,  5,  8,  11, 13, 16, 19, 21, 24, 27, 29, 32, 35,
                                              37, 40, 43, 45, 48, 51, 53, 56, 59, 61, 70, 72, 100});
        for (const std::size_t i : {23, 24, 25})
            x24.steps[i].grade = i < 25 ? u"X"_s : u"Y"_s;
        row("insert at column 24 of 25", insert, evenTops(25, 3), 24, Listed(x24));
        row("insert at column 25", insert, evenTops(25, 3), 25, {});
        row("insert in front of the 25th selected by none", insert, evenTops(25, 3), 0, {});
        row("insert into 26 steps", insert, evenTops(26, 3), 3, {});
        // The narrow columns give only what keeps them 50 wide.
        row("insert beside narrow columns", insert, {2, 4, 100}, 0, u"A 2, B 3, X 12, C 100"_s);
        row("insert with no room", insert, evenTops(24, 4), 2, {}, 0, MinSliderWidth);
        row("delete the second", remove, four, 2, u"A 33, C 67, D 100"_s);
        row("delete with nothing selected takes the last", remove, four, 0, u"A 33, B 67, C 100"_s);
        row("delete past the last", remove, four, 5, {});
        row("delete the only step", remove, {100}, 1, {});
        row("top within neighbours", top, letters, 1, u"A 59, B 72, C 79, D 89, E 100"_s, 72);
        row("top fraction rounds", top, letters, 0, u"A 55, B 69, C 79, D 89, E 100"_s, 55.4);
        row("top fraction rounds onto the one above", top, letters, 1, {}, 78.6);
        row("top fraction rounds onto the one below", top, letters, 1, {}, 59.4);
        row("top zero for the lowest", top, letters, 0, u"A 0, B 69, C 79, D 89, E 100"_s, 0);
        row("top of the last step fixed", top, letters, 4, {}, 95);
        row("top equal to the one below", top, letters, 1, {}, 59);
        row("top equal to the one above", top, letters, 1, {}, 79);
        const QString insertGroup = u"insert group"_s, share = u"share group"_s;
        row("insert group", insertGroup, groups, 2, u"A 37, X 8, B 37, C 17"_s);
        row("insert group, none selected", insertGroup, groups, 0, u"A 37, B 37, X 8, C 17"_s);
        row("delete group", u"delete group"_s, groups, 2, u"A 60, C 40"_s);
        row("share", share, groups, 0, u"A 50, B 30, C 20"_s, 50);
        row("share of last", share, groups, 2, u"A 40, B 30, C 30"_s, 30);
        row("share zero", share, groups, 1, u"A 40, B 0, C 60"_s, 0);
        row("share, neighbour too small", share, groups, 1, {}, 70);
        row("share above 100", share, groups, 0, {}, 101);
        // A border dragged on the grid and released, to the nearest percent.
        row("drag right", drag, letters, 1, u"A 59, B 70, C 79, D 89, E 100"_s, 340);
        row("drag narrower than 50", drag, letters, 1, u"A 59, B 60, C 79, D 89, E 100"_s, 20,
            5000);
        row("drag into the next column", drag, letters, 1, u"A 59, B 77, C 79, D 89, E 100"_s, 600);
        row("drag the last border", drag, letters, 4, Listed(Stepped<GradeScale>(letters)), 630,
            3000, 3300);
        row("drag the last border far in", drag, letters, 4, Listed(Stepped<GradeScale>(letters)),
            -2000, 3000, MinSliderWidth);
        row("drag the last border far out", drag, letters, 4, Listed(Stepped<GradeScale>(letters)),
            100000, 3000, MaxSliderWidth);
        const QString dragGroup = u"drag group"_s;
        row("drag group", dragGroup, groups, 0, u"A 50, B 30, C 20"_s, 1500);
        row("drag group into the next", dragGroup, groups, 0, u"A 78, B 2, C 20"_s, 2500);
        row("drag the last group border", dragGroup, groups, 2, u"A 40, B 40, C 20"_s, 900, 3000,
            3300);
    }
    void editSteps() {
        auto [operation, before, position, percent, after, slider] =
            Fetch<QString, QList<float>, int, double, QString, int>();
        GradeScale scale = Stepped<GradeScale>(before);
        ImportanceSet set = Stepped<ImportanceSet>(before);
        const bool groups = operation.endsWith(u" group"_s);
        SliderColumns columns = groups ? LayOutColumns(set, slider) : LayOutColumns(scale, slider);
        std::vector<int> dragged = columns.widths;
        if (std::size_t(position) < dragged.size()) dragged[std::size_t(position)] = int(percent);
        const QString op = operation.section(u' ', 0, 0);
        bool done = true;
        if (op == u"drag" && groups)
            ReadBackColumns(set, columns, dragged);
        else if (op == u"drag")
            ReadBackColumns(scale, columns, dragged);
        else if (groups)
            done = op == u"insert"   ? InsertGroup(set, columns, position)
                   : op == u"delete" ? DeleteGroup(set, columns, position)
                                     : SetPercent(set, columns, position, percent);
        else
            done = op == u"insert"   ? InsertStep(scale, columns, position)
                   : op == u"delete" ? DeleteStep(scale, columns, position)
                                     : SetTopScore(scale, columns, position, percent);
        QCOMPARE(done, !after.isEmpty());
        QCOMPARE(groups ? Listed(set) : Listed(scale),
                 done ? after : Listed(Stepped<GradeScale>(before)));
        QTEST(columns.sliderWidth, "sliderAfter");
        if (op == u"drag" || (op == u"insert" && !groups && done))
            QVERIFY(std::ranges::min(columns.widths) >= 50);
        if (groups) return;
        QCOMPARE(std::accumulate(columns.widths.begin(), columns.widths.end(), 0),
                 columns.sliderWidth);
        if (const auto x = after.split(u", "_s).indexOf(QRegularExpression(u"X .*"_s));
            done && op == u"insert") {
            QCOMPARE(scale.steps[std::size_t(x)].value, 1.0f);
            QCOMPARE(columns.widths[std::size_t(x)], before.isEmpty() ? 3000 : 250);
        }
    }

    // One student's five scores (Q1 Q2 Q3 in a quiz group, E1 E2 in an exam group, half the
    // total each; "-" empty, "x" ignored) and the tests dropped, in the order chosen.
    void dropLowest_data() {
        const Table<QString, int, QString> row("scores", "count", "dropped");
        row("weights, not the lowest percentage", u"50 90 90 60 100"_s, 1, u"E1"_s);
        row("a group's last score stays", u"50 90 90 60 x100"_s, 1, u"Q1"_s);
        row("an empty score is a 0", u"80 - 90 70 100"_s, 1, u"Q2"_s);
        row("ties to the earlier test", u"70 70 90 80 80"_s, 1, u"Q1"_s);
        row("one after the other", u"50 60 90 60 100"_s, 2, u"E1 Q1"_s);
        row("everything ignored", u"x50 x60 x70 x80 x90"_s, 1, QString());
    }
    void dropLowest() {
        const auto [scores, count, dropped] = Fetch<QString, int, QString>();
        Gradebook book;
        NewClass(book, LetterLibraries(), 5);
        book.importanceSet() = GroupSet({{u"Quizzes", 50}, {u"Exams", 50}}, u"Two"_s);
        const QStringList entries = scores.split(u' ');
        for (int c = 2; c <= 6; ++c) {
            book.SetCellText(0, c, (c < 5 ? u"Q%1"_s : u"E%1"_s).arg(c < 5 ? c - 1 : c - 4));
            book.TestOf(c).importance = c < 5 ? 0 : 1;
            const QString entry = entries[c - 2];
            EnterScore(book, 1, c, entry == u"-"_s ? QString() : entry.mid(entry.startsWith(u'x')));
            if (entry.startsWith(u'x')) SetIgnored(book, {1}, {c}, true);
        }
        RecalcAll(book);
        const float before = RowTotal(book, 1);
        const std::vector<StudentDrops> plan = PlanDropLowest(book, {count, std::nullopt, true});
        QCOMPARE(RowTotal(book, 1), before); // planning leaves the gradebook alone
        QStringList names;
        for (const StudentDrops& s : plan)
            for (const DroppedScore& d : s.drops)
                names << book.GetCellText(0, d.col);
        QVERIFY(plan.empty() || plan.back().row == 1); // blank students have nothing to drop
        QCOMPARE(names.join(u' '), dropped);
        ApplyDrops(book, plan);
        if (!plan.empty()) QCOMPARE(RowTotal(book, 1), plan.front().totalAfter);
    }

    // A test of maximum 50 scored 45, 25, empty and ignored 30: the changed scores.
    void curve_data() {
        const Table<int, double, bool, QString> row("kind", "amount", "cap", "curved");
        row("add, capped", int(CurveKind::Add), 10, true, u"1:50.0 2:35.0"_s);
        row("add beyond the maximum", int(CurveKind::Add), 10, false, u"1:55.0 2:35.0"_s);
        row("multiply", int(CurveKind::Multiply), 1.1, true, u"1:49.5 2:27.5"_s);
        row("best to the maximum", int(CurveKind::TopToMax), 0, true, u"1:50.0 2:27.78"_s);
    }
    void curve() {
        const auto [kind, amount, cap, curved] = Fetch<int, double, bool, QString>();
        Gradebook book;
        NewClass(book, LetterLibraries(), 1);
        book.TestOf(2).maxScore = 50;
        for (int r = 1; r <= 4; ++r)
            EnterScore(book, r, 2, QStringList{u"45"_s, u"25"_s, QString(), u"30"_s}[r - 1]);
        SetIgnored(book, {4}, {2}, true);
        const auto plan = PlanCurve(book, 2, {CurveKind(kind), amount, cap});
        QStringList changed;
        for (const CurvedScore& c : plan)
            changed << u"%1:%2"_s.arg(c.row).arg(c.after);
        QCOMPARE(changed.join(u' '), curved);
        ApplyCurve(book, 2, plan);
        QCOMPARE(CellValue(ScoreOfCell(book.cell(2, 2))), ReadLeadingNumber(plan[1].after));
        QCOMPARE(ScoreOfCell(book.cell(4, 2)), u"30"_s);
    }
};

QTEST_GUILESS_MAIN(TestGrading)
#include "tst_grading.moc"
