#include "TestSupport.h"
#include "output/BarChartView.h"
#include "output/DistributionChart.h"

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
};

QTEST_MAIN(TestCharts)
#include "tst_charts.moc"
