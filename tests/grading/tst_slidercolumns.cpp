#include "grading/SliderColumns.h"

#include <QTest>

#include <numeric>

using namespace Qt::Literals::StringLiterals;

namespace {

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

ImportanceSet groupsWith(std::initializer_list<float> percents) {
    ImportanceSet s;
    for (float p : percents) {
        s.steps[std::size_t(s.count)].name = QString(QChar(u'G')) + QString::number(s.count);
        s.steps[std::size_t(s.count)].percentOfTotal = p;
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
    void layOutAndReadBackAgree();
    void insertStep_data();
    void insertStep();
    void insertIsRefusedWhenFull();
    void deleteStep_data();
    void deleteStep();
    void setTopScore_data();
    void setTopScore();
    void valueAndGrade();
    void equalGroupsReadThirtyThree();
    void groupsInsertDeleteAndPercent_data();
    void groupsInsertDeleteAndPercent();
};

void TestSliderColumns::layOutAndReadBackAgree() {
    GradeScale scale = scaleWithTops({59, 69, 79, 89, 100});
    const SliderColumns columns = LayOutColumns(scale, 3000);
    QCOMPARE(columns.widths, (std::vector<int>{1770, 300, 300, 300, 330}));
    GradeScale back = scale;
    ReadBackColumns(back, columns);
    QCOMPARE(tops(back), tops(scale));
}

void TestSliderColumns::insertStep_data() {
    QTest::addColumn<int>("position"); // -1: nothing selected
    QTest::addColumn<int>("newAt");
    QTest::addColumn<QList<float>>("expectedTops");
    // Four columns of 750 on a 3000 slider; the new one is 250 wide, each other gives 63.
    QTest::newRow("front of second") << 1 << 1 << QList<float>{23, 31, 54, 77, 100};
    QTest::newRow("nothing selected") << -1 << 3 << QList<float>{23, 46, 69, 77, 100};
    QTest::newRow("front of first") << 0 << 0 << QList<float>{8, 31, 54, 77, 100};
}

void TestSliderColumns::insertStep() {
    QFETCH(int, position);
    QFETCH(int, newAt);
    QFETCH(QList<float>, expectedTops);
    GradeScale scale = scaleWithTops({25, 50, 75, 100});
    SliderColumns columns = LayOutColumns(scale, 3000);
    QVERIFY(InsertStep(scale, columns, position < 0 ? std::nullopt : std::optional<int>(position)));
    QCOMPARE(scale.count, 5);
    QCOMPARE(scale.steps[std::size_t(newAt)].grade.text(), u"X"_s);
    QCOMPARE(scale.steps[std::size_t(newAt)].value, 1.0f);
    QCOMPARE(columns.widths[std::size_t(newAt)], 250);
    QCOMPARE(std::accumulate(columns.widths.begin(), columns.widths.end(), 0), 3000);
    QCOMPARE(tops(scale), expectedTops);
    QCOMPARE(scale.steps[4].grade.text(), newAt == 4 ? u"X"_s : u"D"_s); // the top grade stays last
}

void TestSliderColumns::insertIsRefusedWhenFull() {
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

void TestSliderColumns::deleteStep_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<QList<float>>("expectedTops");
    QTest::addColumn<QString>("grades");
    QTest::newRow("second") << 1 << QList<float>{33, 67, 100} << u"ACD"_s;
    QTest::newRow("nothing selected takes the last") << -1 << QList<float>{33, 67, 100} << u"ABC"_s;
}

void TestSliderColumns::deleteStep() {
    QFETCH(int, position);
    QFETCH(QList<float>, expectedTops);
    QFETCH(QString, grades);
    GradeScale scale = scaleWithTops({25, 50, 75, 100});
    SliderColumns columns = LayOutColumns(scale, 3000);
    QVERIFY(DeleteStep(scale, columns, position < 0 ? std::nullopt : std::optional<int>(position)));
    QCOMPARE(tops(scale), expectedTops);
    QString got;
    for (int i = 0; i < scale.count; ++i)
        got += scale.steps[std::size_t(i)].grade.text();
    QCOMPARE(got, grades);

    GradeScale single = scaleWithTops({100});
    SliderColumns one = LayOutColumns(single, 3000);
    QVERIFY(!DeleteStep(single, one, 0));
    QCOMPARE(single.count, 1);
}

void TestSliderColumns::setTopScore_data() {
    QTest::addColumn<int>("step");
    QTest::addColumn<double>("percent");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QList<float>>("expectedTops");
    const QList<float> unchanged{59, 69, 79, 89, 100};
    QTest::newRow("within neighbours") << 1 << 72.0 << true << QList<float>{59, 72, 79, 89, 100};
    QTest::newRow("fraction rounds") << 0 << 55.4 << true << QList<float>{55, 69, 79, 89, 100};
    QTest::newRow("zero for the lowest") << 0 << 0.0 << true << QList<float>{0, 69, 79, 89, 100};
    QTest::newRow("above 100") << 1 << 105.0 << false << unchanged;
    QTest::newRow("negative") << 1 << -1.0 << false << unchanged;
    QTest::newRow("last step fixed") << 4 << 95.0 << false << unchanged;
    QTest::newRow("past next neighbour") << 1 << 80.0 << false << unchanged;
    QTest::newRow("equal to neighbour") << 1 << 59.0 << false << unchanged;
}

void TestSliderColumns::setTopScore() {
    QFETCH(int, step);
    QFETCH(double, percent);
    QFETCH(bool, accepted);
    QFETCH(QList<float>, expectedTops);
    GradeScale scale = scaleWithTops({59, 69, 79, 89, 100});
    SliderColumns columns = LayOutColumns(scale, 3000);
    QCOMPARE(SetTopScore(scale, columns, step, percent), accepted);
    QCOMPARE(tops(scale), expectedTops);
}

void TestSliderColumns::valueAndGrade() {
    GradeScale scale = scaleWithTops({50, 100});
    SetValue(scale, 0, 2.5);
    SetGrade(scale, 1, u"Excellent++"_s);
    QCOMPARE(scale.steps[0].value, 2.5f);
    QCOMPARE(scale.steps[1].grade.text(), u"Excellent+"_s);
}

void TestSliderColumns::equalGroupsReadThirtyThree() {
    ImportanceSet set = groupsWith({0, 0, 0});
    ReadBackColumns(set, SliderColumns{3000, {1000, 1000, 1000}});
    QCOMPARE(percents(set), (QList<float>{33, 33, 33}));
}

void TestSliderColumns::groupsInsertDeleteAndPercent_data() {
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("group");
    QTest::addColumn<double>("percent");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QList<float>>("expected");
    const QList<float> unchanged{40, 40, 20};
    QTest::newRow("insert") << u"insert"_s << 1 << 0.0 << true << QList<float>{37, 8, 37, 17};
    QTest::newRow("delete middle") << u"delete"_s << 1 << 0.0 << true << QList<float>{60, 40};
    QTest::newRow("percent") << u"percent"_s << 0 << 50.0 << true << QList<float>{50, 30, 20};
    QTest::newRow("percent of last")
        << u"percent"_s << 2 << 30.0 << true << QList<float>{40, 30, 30};
    QTest::newRow("percent zero") << u"percent"_s << 1 << 0.0 << true << QList<float>{40, 0, 60};
    QTest::newRow("neighbour too small") << u"percent"_s << 1 << 70.0 << false << unchanged;
    QTest::newRow("above 100") << u"percent"_s << 0 << 101.0 << false << unchanged;
}

void TestSliderColumns::groupsInsertDeleteAndPercent() {
    QFETCH(QString, operation);
    QFETCH(int, group);
    QFETCH(double, percent);
    QFETCH(bool, accepted);
    QFETCH(QList<float>, expected);
    ImportanceSet set = groupsWith({40, 40, 20});
    SliderColumns columns = LayOutColumns(set, 3000);
    bool done = false;
    if (operation == u"insert")
        done = InsertGroup(set, columns, group);
    else if (operation == u"delete")
        done = DeleteGroup(set, columns, group);
    else
        done = SetPercent(set, columns, group, percent);
    QCOMPARE(done, accepted);
    QCOMPARE(percents(set), expected);
}

QTEST_GUILESS_MAIN(TestSliderColumns)
#include "tst_slidercolumns.moc"
