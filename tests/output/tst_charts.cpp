#include "TestSupport.h"
#include "grading/Calculation.h"
#include "output/BarChartView.h"
#include "output/DistributionChart.h"
#include "output/StudentChart.h"
#include "output/TestChart.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QStackedBarSeries>
#include <QTest>
#include <QValueAxis>

using namespace Qt::Literals::StringLiterals;
using namespace TestSupport;

class TestCharts : public QObject {
    Q_OBJECT

private slots:
    // Seven students; the cells not given are empty and count as 0.
    void distribution_data() {
        QTest::addColumn<float>("maxScore");
        QTest::addColumn<QString>("cells");
        QTest::addColumn<QString>("counts"); // bars 1 ... 11
        QTest::addColumn<QString>("labels"); // bars 1 ... 11
        const QString tens = u"|10|20|30|40|50|60|70|80|90|100"_s;
        QTest::newRow("boundaries") << 100.f << u"9.99|10|50|89.99|90|100|85     (B)"_s
                                    << u"1|1|0|0|0|1|0|0|2|2|0"_s << tens;
        QTest::newRow("above the maximum, negative, text")
            << 100.f << u"250|-5|abc"_s << u"6|0|0|0|0|0|0|0|0|1|0"_s << tens;
        QTest::newRow("tenths of 1") << 1.f << u"0.29|0.3|0.7|0.9"_s << u"3|0|1|1|0|0|0|1|0|1|0"_s
                                     << u"|0.1|0.2|0.3|0.4|0.5|0.6|0.7|0.8|0.9|1"_s;
        QTest::newRow("maximum 0")
            << 0.f << u"5"_s << u"0|0|0|0|0|0|0|0|0|7|0"_s << u"|0|0|0|0|0|0|0|0|0|0"_s;
    }
    void distribution() {
        QFETCH(float, maxScore);
        QFETCH(QString, cells);
        Gradebook book;
        NewClass(book, LetterLibraries(), 1);
        book.TestOf(2).maxScore = maxScore;
        const QStringList texts = cells.split(u'|');
        for (int i = 0; i < texts.size(); ++i)
            book.SetCellText(i + 1, 2, texts[i]);
        const ChartData chart = DistributionChart(book, 2);
        QStringList counts, labels;
        for (const ChartBar& bar : chart.bars) {
            counts << QString::number(bar.value);
            labels << bar.label;
        }
        QTEST(counts.join(u'|'), "counts");
        QTEST(labels.join(u'|'), "labels");
        QCOMPARE(QList({chart.bars[2].color, chart.bars[3].color, chart.bars[7].color}),
                 QList<int>({PaletteRed, PaletteBrown, PaletteGreen}));
        // A negative score, which a cell's score part never is, has no bar.
        QCOMPARE(RangeBar(-0.5, maxScore), 0);

        // Shown small, with upright labels, every bar stays (repeated labels too) in its colour.
        BarChartView view;
        view.resize(160, 120);
        view.setChart(DistributionChart(book, -1)); // the same bars, all 0: the next reuses them
        view.setChart(chart);
        QCOMPARE(view.categoryAxis()->count(), int(chart.bars.size()));
        QCOMPARE(view.categoryAxis()->labelsAngle(), -90);
        auto* series = qobject_cast<QStackedBarSeries*>(view.chart()->series().value(0));
        for (std::size_t i = 0; i < chart.bars.size(); ++i)
            for (QBarSet* set : series->barSets()) {
                const bool own = set->color() == PaletteColorOf(chart.bars[i].color);
                QCOMPARE(set->at(qsizetype(i)), own ? chart.bars[i].value : 0);
            }
        QCOMPARE(std::fmod(view.valueAxis()->tickInterval(), 1.0), 0.0); // whole numbers
    }

    // Five students: 95, 85, 100 (the maximum), 50 and an empty cell.
    void testChart_data() {
        Columns<DisplayMode, float, bool, QString, QString>("mode", "max", "graded", "counts",
                                                            "labels");
        QTest::newRow("letters") << DisplayMode::Letters << 100.f << true << u"2|0|0|1|2"_s
                                 << u"F|D|C|B|A"_s;
        QTest::newRow("numbers") << DisplayMode::Numbers << 100.f << true << u"2|0|0|1|2"_s
                                 << u"0.0|1.0|2.0|3.0|4.0"_s;
        QTest::newRow("percent of max, ten ranges")
            << DisplayMode::PercentOfMax << 100.f << true << u"1|0|0|0|0|1|0|0|1|2"_s
            << u"10|20|30|40|50|60|70|80|90|100"_s;
        QTest::newRow("ungraded, maximum 200")
            << DisplayMode::Letters << 200.f << false << u"1|0|1|0|2|1|0|0|0|0"_s
            << u"20|40|60|80|100|120|140|160|180|200"_s;
    }
    void testChart() {
        QFETCH(DisplayMode, mode);
        QFETCH(float, max);
        QFETCH(bool, graded);
        Gradebook book;
        NewClass(book, LetterLibraries(), 1).setShape(6, 3);
        book.view().displayMode = mode;
        book.TestOf(2).maxScore = max;
        book.TestOf(2).calculateGrades = graded;
        for (int r = 1; r <= 4; ++r)
            book.SetCellText(r, 2, FormatScoreCell(book, r, 2, Items(u"95|85|100|50"_s)[r - 1]));
        const ChartData chart = TestChart(book, 2);
        QStringList counts, labels;
        for (const ChartBar& bar : chart.bars) {
            counts << QString::number(bar.value);
            labels << bar.label.chopped(3);
        }
        QTEST(counts.join(u'|'), "counts");
        QTEST(labels.join(u'|'), "labels");
        QCOMPARE(chart.title + u'|' + chart.valueAxisTitle, u"Test: Test  1|# of Students"_s);
        QVERIFY(TestChart(book, 0).bars.empty());
    }

    void thirds() {
        const auto colors = [](int n) {
            QString s;
            for (int p = 1; p <= n; ++p)
                s += QStringView(u"..G.R.B").at(ThirdsColor(p, n));
            return s;
        };
        QCOMPARE(colors(5) + u'|' + colors(6) + u'|' + colors(10), u"BBGGG|RBBGGG|RRBBBGGGGG"_s);
    }

    // 85 on a graded test of 100 (a B, 3 of the best 4), 40 on an ungraded one of 50.
    void studentChart_data() {
        Columns<bool, QString, QString>("gradesRule", "axis", "values");
        QTest::newRow("scores") << false << u"Score %"_s << u"83|85|80"_s;
        QTest::newRow("grades") << true << u"Grade %"_s << u"78|75|80"_s;
    }
    void studentChart() {
        QFETCH(bool, gradesRule);
        Gradebook book;
        NewClass(book, LetterLibraries(), 2);
        book.TestOf(3).calculateGrades = 0;
        book.TestOf(3).maxScore = 50;
        book.SetCellText(1, 0, u"Ada"_s);
        book.SetCellText(1, 2, FormatScoreCell(book, 1, 2, u"85"_s));
        book.SetCellText(1, 3, u"40"_s);
        SetAveragingRule(book, !gradesRule);
        const ChartData chart = StudentChart(book, 1);
        QStringList values;
        for (const ChartBar& bar : chart.bars)
            values << QString::number(bar.value);
        QTEST(values.join(u'|'), "values");
        QTEST(chart.valueAxisTitle, "axis");
        QCOMPARE(chart.title + u'|' + chart.bars[0].label + u'|' + chart.bars[2].label,
                 u"Student: Ada|Total|Test  2"_s);
        QCOMPARE(QList({chart.bars[0].color, chart.bars[1].color}),
                 QList<int>({PaletteLightRed, PaletteLightBlue}));
        QVERIFY(StudentChart(book, 0).bars.empty());
    }
};

QTEST_MAIN(TestCharts)
#include "tst_charts.moc"
