#include "TestSupport.h"
#include "grading/Scale.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

TestRecord testOf(float maxScore, GradeScale scale) {
    TestRecord t;
    t.maxScore = maxScore;
    t.calculateGrades = 1;
    t.scale = scale;
    return t;
}

} // namespace

class TestScale : public QObject {
    Q_OBJECT
private slots:
    void roundHalfUp_data() {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("digits");
        QTest::addColumn<double>("rounded");
        QTest::newRow("2.5") << 2.5 << 0 << 3.0;
        QTest::newRow("84.49") << 84.49 << 0 << 84.0;
        QTest::newRow("-2.5 goes up") << -2.5 << 0 << -2.0;
        QTest::newRow("-3.5 goes up") << -3.5 << 0 << -3.0;
        QTest::newRow("two decimals") << 1.125 << 2 << 1.13;
        QTest::newRow("whole stays") << 59.0 << 0 << 59.0;
    }
    void roundHalfUp() {
        QFETCH(double, x);
        QFETCH(int, digits);
        QFETCH(double, rounded);
        QCOMPARE(RoundHalfUp(x, digits), rounded);
    }

    // Steps of the letter scale: F 0, D 1, C 2, B 3, A 4; -1 is no grade.
    void gradeIndex_data() {
        QTest::addColumn<float>("maxScore");
        QTest::addColumn<float>("score");
        QTest::addColumn<int>("step");
        QTest::newRow("zero has no grade") << 100.0f << 0.0f << -1;
        QTest::newRow("negative has no grade") << 100.0f << -5.0f << -1;
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
        QFETCH(int, step);
        QCOMPARE(GradeIndex(testOf(maxScore, TestSupport::LetterScale()), score), step);
    }

    void autoEven_data() {
        QTest::addColumn<QList<float>>("values");
        QTest::addColumn<QList<float>>("tops");
        QTest::addColumn<int>("refusedAt");
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
};

QTEST_GUILESS_MAIN(TestScale)
#include "tst_scale.moc"
