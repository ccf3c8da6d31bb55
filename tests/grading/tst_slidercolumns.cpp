#include "TestSupport.h"
#include "grading/SliderColumns.h"

#include <QTest>

#include <numeric>

using namespace Qt::Literals::StringLiterals;

namespace {

// Grades A, B, C, ... with values 0, 1, 2, ... and the given top scores.
GradeScale scaleWithTops(std::initializer_list<float> tops) {
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

std::optional<int> selected(int position) {
    return position < 0 ? std::nullopt : std::optional<int>(position);
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

    void insertStep_data() {
        QTest::addColumn<int>("position"); // -1: nothing selected
        QTest::addColumn<int>("newAt");
        QTest::addColumn<QList<float>>("expectedTops");
        // Four columns of 750 on a 3000 slider; the new one is 250 wide, each other gives 63.
        QTest::newRow("front of second") << 1 << 1 << QList<float>{23, 31, 54, 77, 100};
        QTest::newRow("nothing selected") << -1 << 3 << QList<float>{23, 46, 69, 77, 100};
        QTest::newRow("front of first") << 0 << 0 << QList<float>{8, 31, 54, 77, 100};
    }
    void insertStep() {
        QFETCH(int, position);
        QFETCH(int, newAt);
        QFETCH(QList<float>, expectedTops);
        GradeScale scale = scaleWithTops({25, 50, 75, 100});
        SliderColumns columns = LayOutColumns(scale, 3000);
        QVERIFY(InsertStep(scale, columns, selected(position)));
        QCOMPARE(scale.count, 5);
        QCOMPARE(scale.steps[std::size_t(newAt)].grade.text(), u"X"_s);
        QCOMPARE(scale.steps[std::size_t(newAt)].value, 1.0f);
        QCOMPARE(columns.widths[std::size_t(newAt)], 250);
        QCOMPARE(std::accumulate(columns.widths.begin(), columns.widths.end(), 0), 3000);
        QCOMPARE(tops(scale), expectedTops);
        QCOMPARE(scale.steps[4].grade.text(), u"D"_s); // the top grade stays last
    }

    void insertLimits() {
        GradeScale full;
        full.count = 26;
        SliderColumns columns{3000, std::vector<int>(26, 115)};
        QVERIFY(!InsertStep(full, columns, 3));
        QCOMPARE(full.count, 26);
        GradeScale scale = scaleWithTops({50, 100});
        SliderColumns c2 = LayOutColumns(scale, 3000);
        QVERIFY(!InsertStep(scale, c2, 25));
        QCOMPARE(scale.count, 2);
        GradeScale empty;
        SliderColumns c3{3000, {}};
        QVERIFY(InsertStep(empty, c3, std::nullopt));
        QCOMPARE(empty.count, 1);
        QCOMPARE(empty.steps[0].topScore, 100.0f);
    }

    void deleteStep_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("grades");
        QTest::newRow("second") << 1 << u"ACD"_s;
        QTest::newRow("nothing selected takes the last") << -1 << u"ABC"_s;
    }
    void deleteStep() {
        QFETCH(int, position);
        QFETCH(QString, grades);
        GradeScale scale = scaleWithTops({25, 50, 75, 100});
        SliderColumns columns = LayOutColumns(scale, 3000);
        QVERIFY(DeleteStep(scale, columns, selected(position)));
        QCOMPARE(tops(scale), (QList<float>{33, 67, 100}));
        QString got;
        for (int i = 0; i < scale.count; ++i)
            got += scale.steps[std::size_t(i)].grade.text();
        QCOMPARE(got, grades);
        GradeScale single = scaleWithTops({100});
        SliderColumns one = LayOutColumns(single, 3000);
        QVERIFY(!DeleteStep(single, one, 0));
        QCOMPARE(single.count, 1);
    }

    void setTopScore_data() {
        QTest::addColumn<int>("step");
        QTest::addColumn<double>("percent");
        QTest::addColumn<QList<float>>("expectedTops"); // empty: refused
        QTest::newRow("within neighbours") << 1 << 72.0 << QList<float>{59, 72, 79, 89, 100};
        QTest::newRow("fraction rounds") << 0 << 55.4 << QList<float>{55, 69, 79, 89, 100};
        QTest::newRow("zero for the lowest") << 0 << 0.0 << QList<float>{0, 69, 79, 89, 100};
        QTest::newRow("above 100") << 1 << 105.0 << QList<float>{};
        QTest::newRow("negative") << 1 << -1.0 << QList<float>{};
        QTest::newRow("last step fixed") << 4 << 95.0 << QList<float>{};
        QTest::newRow("past next neighbour") << 1 << 80.0 << QList<float>{};
        QTest::newRow("equal to neighbour") << 1 << 59.0 << QList<float>{};
    }
    void setTopScore() {
        QFETCH(int, step);
        QFETCH(double, percent);
        QFETCH(QList<float>, expectedTops);
        GradeScale scale = TestSupport::LetterScale();
        const QList<float> before = tops(scale);
        SliderColumns columns = LayOutColumns(scale, 3000);
        QCOMPARE(SetTopScore(scale, columns, step, percent), !expectedTops.isEmpty());
        QCOMPARE(tops(scale), expectedTops.isEmpty() ? before : expectedTops);
    }

    void valueAndGrade() {
        GradeScale scale = scaleWithTops({50, 100});
        SetValue(scale, 0, 2.5);
        SetGrade(scale, 1, u"Excellent++"_s);
        QCOMPARE(scale.steps[0].value, 2.5f);
        QCOMPARE(scale.steps[1].grade.text(), u"Excellent+"_s);
    }

    void groups_data() {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("group");
        QTest::addColumn<double>("percent");
        QTest::addColumn<QList<float>>("expected"); // empty: refused
        QTest::newRow("insert") << u"insert"_s << 1 << 0.0 << QList<float>{37, 8, 37, 17};
        QTest::newRow("delete middle") << u"delete"_s << 1 << 0.0 << QList<float>{60, 40};
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
        ImportanceSet set = TestSupport::GroupSet({{u"A", 40}, {u"B", 40}, {u"C", 20}});
        SliderColumns columns = LayOutColumns(set, 3000);
        const bool done = operation == u"insert"   ? InsertGroup(set, columns, group)
                          : operation == u"delete" ? DeleteGroup(set, columns, group)
                                                   : SetPercent(set, columns, group, percent);
        QCOMPARE(done, !expected.isEmpty());
        QCOMPARE(percents(set), expected.isEmpty() ? (QList<float>{40, 40, 20}) : expected);
    }
};

QTEST_GUILESS_MAIN(TestSliderColumns)
#include "tst_slidercolumns.moc"
