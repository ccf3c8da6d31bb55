#include "TestSupport.h"
#include "grading/Importance.h"
#include "grading/SliderColumns.h"

#include <QTest>

#include <numeric>

using namespace Qt::Literals::StringLiterals;

namespace {

// Grades A, B, C, ... with values 0, 1, 2, ... and the given top scores.
GradeScale scaleWithTops(const QList<float>& tops) {
    GradeScale s;
    for (float top : tops) {
        ScaleStep& step = s.steps[std::size_t(s.count)];
        step.grade = QString(QChar(u'A' + s.count));
        step.value = float(s.count);
        step.topScore = top;
        ++s.count;
    }
    return s;
}

QList<float> tops(const GradeScale& s) {
    QList<float> t;
    for (int i = 0; i < s.count; ++i)
        t << s.steps[std::size_t(i)].topScore;
    return t;
}

QList<float> percents(const ImportanceSet& s) {
    QList<float> t;
    for (int i = 0; i < s.count; ++i)
        t << s.steps[std::size_t(i)].percentOfTotal;
    return t;
}

} // namespace

class TestSliderColumns : public QObject {
    Q_OBJECT
private slots:
    void layOutAndReadBackAgree() {
        const GradeScale scale = TestSupport::LetterScale();
        const SliderColumns columns = LayOutColumns(scale, 3000);
        QCOMPARE(columns.widths, (std::vector<int>{1770, 300, 300, 300, 330}));
        GradeScale back = scale;
        ReadBackColumns(back, columns);
        QCOMPARE(tops(back), tops(scale));
        ImportanceSet set = TestSupport::GroupSet({{u"A", 0}, {u"B", 0}, {u"C", 0}});
        ReadBackColumns(set, SliderColumns{3000, {1000, 1000, 1000}});
        QCOMPARE(percents(set), (QList<float>{33, 33, 33}));
    }

    // Steps inserted, deleted or moved on a 3000 wide slider; a refused edit changes nothing.
    void editScale_data() {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QList<float>>("before"); // the tops of grades A, B, ... valued 0, 1, ...
        QTest::addColumn<int>("position");        // insert, delete: grid column, 0 none; top: step
        QTest::addColumn<double>("percent");
        QTest::addColumn<QList<float>>("after"); // empty: refused
        QTest::addColumn<QString>("grades");
        QTest::addColumn<int>("slider");
        const QList<float> four{25, 50, 75, 100}, letters{59, 69, 79, 89, 100};
        const auto row = [](const char* tag, const QString& operation, const QList<float>& before,
                            int position, const QList<float>& after, const QString& grades,
                            double percent = 0, int slider = 3000) {
            QTest::newRow(tag) << operation << before << position << percent << after << grades
                               << slider;
        };
        const auto evenTops = [](int n, int step) {
            QList<float> t;
            for (int i = 1; i <= n; ++i)
                t << float(i < n ? i * step : 100);
            return t;
        };
        // The new step "X" is 250 wide; each other column gives 63.
        const QString insert = u"insert"_s, remove = u"delete"_s, top = u"top"_s;
        row("insert in front of the second", insert, four, 2, {23, 31, 54, 77, 100}, u"AXBCD"_s);
        row("insert with nothing selected", insert, four, 0, {23, 46, 69, 77, 100}, u"ABCXD"_s);
        row("insert in front of the first", insert, four, 1, {8, 31, 54, 77, 100}, u"XABCD"_s);
        row("insert into an empty scale", insert, {}, 0, {100}, u"X"_s);
        row("insert past the last", insert, {50, 100}, 3, {}, u"AB"_s);
        const QString y = u"ABCDEFGHIJKLMNOPQRSTUVWXY"_s;
        row("insert at column 24 of 25", insert, evenTops(25, 3), 24,
            {3,  5,  8,  11, 13, 16, 19, 21, 24, 27, 29, 32, 35,
             37, 40, 43, 45, 48, 51, 53, 56, 59, 61, 70, 72, 100},
            y.left(23) + u"XXY"_s);
        row("insert at column 25", insert, evenTops(25, 3), 25, {}, y);
        row("insert in front of the 25th selected by none", insert, evenTops(25, 3), 0, {}, y);
        row("insert into 26 steps", insert, evenTops(26, 3), 3, {}, y + u"Z"_s);
        // The narrow columns give only what keeps them 50 wide.
        row("insert beside narrow columns", insert, {2, 4, 100}, 0, {2, 3, 12, 100}, u"ABXC"_s);
        row("insert with no room", insert, evenTops(24, 4), 2, {}, y.left(24), 0, MinSliderWidth);
        row("delete the second", remove, four, 2, {33, 67, 100}, u"ACD"_s);
        row("delete with nothing selected takes the last", remove, four, 0, {33, 67, 100},
            u"ABC"_s);
        row("delete past the last", remove, four, 5, {}, u"ABCD"_s);
        row("delete the only step", remove, {100}, 1, {}, u"A"_s);
        row("top within neighbours", top, letters, 1, {59, 72, 79, 89, 100}, u"ABCDE"_s, 72);
        row("top fraction rounds", top, letters, 0, {55, 69, 79, 89, 100}, u"ABCDE"_s, 55.4);
        row("top fraction rounds onto the one above", top, letters, 1, {}, u"ABCDE"_s, 78.6);
        row("top fraction rounds onto the one below", top, letters, 1, {}, u"ABCDE"_s, 59.4);
        row("top zero for the lowest", top, letters, 0, {0, 69, 79, 89, 100}, u"ABCDE"_s, 0);
        row("top of the last step fixed", top, letters, 4, {}, u"ABCDE"_s, 95);
        row("top equal to the one below", top, letters, 1, {}, u"ABCDE"_s, 59);
        row("top equal to the one above", top, letters, 1, {}, u"ABCDE"_s, 79);
    }
    void editScale() {
        QFETCH(QString, operation);
        QFETCH(QList<float>, before);
        QFETCH(int, position);
        QFETCH(double, percent);
        QFETCH(QList<float>, after);
        QFETCH(QString, grades);
        QFETCH(int, slider);
        const QString insert = u"insert"_s;
        GradeScale scale = scaleWithTops(before);
        SliderColumns columns = LayOutColumns(scale, slider);
        const bool done = operation == u"insert"   ? InsertStep(scale, columns, position)
                          : operation == u"delete" ? DeleteStep(scale, columns, position)
                                                   : SetTopScore(scale, columns, position, percent);
        QCOMPARE(done, !after.isEmpty());
        QCOMPARE(tops(scale), after.isEmpty() ? before : after);
        QString got;
        for (int i = 0; i < scale.count; ++i)
            got += scale.steps[std::size_t(i)].grade.text();
        QCOMPARE(got, grades);
        QCOMPARE(std::accumulate(columns.widths.begin(), columns.widths.end(), 0), slider);
        QVERIFY(!done || operation != insert ||
                *std::min_element(columns.widths.begin(), columns.widths.end()) >= 50);
        if (const int x = int(grades.indexOf(u'X')); done && x >= 0) {
            QCOMPARE(scale.steps[std::size_t(x)].value, 1.0f);
            QCOMPARE(columns.widths[std::size_t(x)], before.isEmpty() ? 3000 : 250);
        }
    }

    // A step's value and grade as the scale editor sets them; the grade is cut to its field.
    void valueAndGrade() {
        GradeScale scale = scaleWithTops({50, 100});
        SetValue(scale, 1, 2.5);
        SetGrade(scale, 1, u"Excellent++"_s);
        QCOMPARE(scale.steps[1].value, 2.5f);
        QCOMPARE(scale.steps[1].grade.text(), u"Excellent+"_s);
    }

    void groups_data() {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("group"); // insert, delete: grid column, 0 none; percent: group
        QTest::addColumn<double>("percent");
        QTest::addColumn<QList<float>>("expected"); // empty: refused
        QTest::newRow("insert") << u"insert"_s << 2 << 0.0 << QList<float>{37, 8, 37, 17};
        QTest::newRow("insert, none selected")
            << u"insert"_s << 0 << 0.0 << QList<float>{37, 37, 8, 17};
        QTest::newRow("delete middle") << u"delete"_s << 2 << 0.0 << QList<float>{60, 40};
        QTest::newRow("percent") << u"percent"_s << 0 << 50.0 << QList<float>{50, 30, 20};
        QTest::newRow("percent of last") << u"percent"_s << 2 << 30.0 << QList<float>{40, 30, 30};
        QTest::newRow("percent zero") << u"percent"_s << 1 << 0.0 << QList<float>{40, 0, 60};
        QTest::newRow("neighbour too small") << u"percent"_s << 1 << 70.0 << QList<float>{};
        QTest::newRow("above 100") << u"percent"_s << 0 << 101.0 << QList<float>{};
    }
    void groups() {
        QFETCH(QString, operation);
        QFETCH(int, group);
        QFETCH(double, percent);
        QFETCH(QList<float>, expected);
        ImportanceSet set = TestSupport::GroupSet({{u" A", 40}, {u"B", 40}, {u"C", 20}});
        SliderColumns columns = LayOutColumns(set, 3000);
        const bool done = operation == u"insert"   ? InsertGroup(set, columns, group)
                          : operation == u"delete" ? DeleteGroup(set, columns, group)
                                                   : SetPercent(set, columns, group, percent);
        QCOMPARE(done, !expected.isEmpty());
        QCOMPARE(percents(set), expected.isEmpty() ? (QList<float>{40, 40, 20}) : expected);
        // As listed, a group keeps the leading blank of its name.
        QCOMPARE(ImportanceListItems(set).constLast(), u"C (%1%)"_s.arg(percents(set).constLast()));
        QCOMPARE(ImportanceListItems(set).constFirst().left(4), u" A ("_s);
    }

    // A border dragged on the grid and released: `width` is what the drag left the column.
    void drag_data() {
        QTest::addColumn<bool>("scale"); // else groups
        QTest::addColumn<QList<float>>("before");
        QTest::addColumn<int>("slider");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("width");
        QTest::addColumn<QList<float>>("after");
        QTest::addColumn<int>("sliderAfter");
        const QList<float> letters{59, 69, 79, 89, 100}, groups{40, 40, 20};
        QTest::newRow("right, to the nearest percent")
            << true << letters << 3000 << 1 << 340 << QList<float>{59, 70, 79, 89, 100} << 3000;
        QTest::newRow("narrower than 50")
            << true << letters << 5000 << 1 << 20 << QList<float>{59, 60, 79, 89, 100} << 5000;
        QTest::newRow("into the next column")
            << true << letters << 3000 << 1 << 600 << QList<float>{59, 77, 79, 89, 100} << 3000;
        QTest::newRow("last border") << true << letters << 3000 << 4 << 630 << letters << 3300;
        QTest::newRow("last border, far in")
            << true << letters << 3000 << 4 << -2000 << letters << MinSliderWidth;
        QTest::newRow("last border, far out")
            << true << letters << 3000 << 4 << 100000 << letters << MaxSliderWidth;
        QTest::newRow("group") << false << groups << 3000 << 0 << 1500 << QList<float>{50, 30, 20}
                               << 3000;
        QTest::newRow("group into the next")
            << false << groups << 3000 << 0 << 2500 << QList<float>{78, 2, 20} << 3000;
        QTest::newRow("last group border") << false << groups << 3000 << 2 << 900 << groups << 3300;
    }
    void drag() {
        QFETCH(bool, scale);
        QFETCH(QList<float>, before);
        QFETCH(int, slider);
        QFETCH(int, column);
        QFETCH(int, width);
        QFETCH(QList<float>, after);
        QFETCH(int, sliderAfter);
        GradeScale steps = scaleWithTops(before);
        ImportanceSet set;
        set.count = int(before.size());
        for (int i = 0; i < set.count; ++i)
            set.steps[std::size_t(i)].percentOfTotal = before[i];
        SliderColumns columns = scale ? LayOutColumns(steps, slider) : LayOutColumns(set, slider);
        std::vector<int> resized = columns.widths;
        resized[std::size_t(column)] = width;
        if (scale)
            ReadBackColumns(steps, columns, resized);
        else
            ReadBackColumns(set, columns, resized);
        QCOMPARE(scale ? tops(steps) : percents(set), after);
        QCOMPARE(columns.sliderWidth, sliderAfter);
        QVERIFY(*std::min_element(columns.widths.begin(), columns.widths.end()) >= 50);
    }
};

QTEST_GUILESS_MAIN(TestSliderColumns)
#include "tst_slidercolumns.moc"
