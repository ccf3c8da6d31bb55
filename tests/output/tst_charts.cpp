#include "TestSupport.h"
#include "core/ScoreCell.h"
#include "core/Security.h"
#include "grading/Calculation.h"
#include "output/BarChartView.h"
#include "output/DistributionChart.h"
#include "output/PrintLayout.h"
#include "output/StudentChart.h"
#include "output/StudentReport.h"
#include "output/TablePrinter.h"
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
        const Table<float, QString, QString, QString> row("maxScore", "cells", "counts",
                                                          "labels"); // bars
        const QString tens = u"|10|20|30|40|50|60|70|80|90|100"_s;
        row("boundaries", 100.f, u"9.99|10|50|89.99|90|100|85     (B)"_s,
            u"1|1|0|0|0|1|0|0|2|2|0"_s, tens);
        row("above the maximum, negative, text", 100.f, u"250|-5|abc"_s, u"6|0|0|0|0|0|0|0|0|1|0"_s,
            tens);
        row("tenths of 1", 1.f, u"0.29|0.3|0.7|0.9"_s, u"3|0|1|1|0|0|0|1|0|1|0"_s,
            u"|0.1|0.2|0.3|0.4|0.5|0.6|0.7|0.8|0.9|1"_s);
        row("maximum 0", 0.f, u"5"_s, u"0|0|0|0|0|0|0|0|0|7|0"_s, u"|0|0|0|0|0|0|0|0|0|0"_s);
    }
    void distribution() {
        auto [maxScore, cells] = Fetch<float, QString>();
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

    // Lines of 10 units: a page of height h holds h / 10 - 4 rows and a band one more. The page
    // is 100 wide; the name column is the first width.
    void pageLayout_data() {
        const Table<int, QList<int>, CellBlock, QString> row("height", "widths", "range", "pages");
        const QList<int> narrow{30, 20, 20, 20};
        row("one page", 200, narrow, CellBlock{1, 1, 5, 3}, u"1-5:1-3"_s);
        row("one row, one column", 140, narrow, CellBlock{1, 1, 1, 1}, u"1-1:1-1"_s);
        row("band of one row more than rows per page", 140, narrow, CellBlock{1, 1, 11, 3},
            u"1-11:1-3"_s);
        row("one row beyond a band", 140, narrow, CellBlock{1, 1, 12, 3}, u"1-11:1-3 12-12:1-3"_s);
        row("page too short: a row a band", 30, narrow, CellBlock{1, 1, 2, 1},
            u"1-1:1-1 2-2:1-1"_s);
        row("column wider than the page alone", 200, QList<int>{30, 20, 200, 20},
            CellBlock{1, 1, 3, 3}, u"1-3:1-1 1-3:2-2 1-3:3-3"_s);
        // The widths must stay below the page width; filling it exactly goes to the next page.
        row("exactly the page width", 200, QList<int>{40, 30, 30}, CellBlock{1, 1, 2, 2},
            u"1-2:1-1 1-2:2-2"_s);
        row("selection: bands, then blocks in each", 130, QList<int>{30, 99, 25, 25, 25, 25},
            CellBlock{3, 2, 22, 5}, u"3-12:2-3 3-12:4-5 13-22:2-3 13-22:4-5"_s);
    }
    void pageLayout() {
        auto [height, widths, range] = Fetch<int, QList<int>, CellBlock>();
        QStringList pages;
        for (const PrintPage& p : LayOutPages(range, RowsPerPage(height, 10), 100,
                                              std::vector<int>(widths.begin(), widths.end())))
            pages << u"%1-%2:%3-%4"_s.arg(p.rowStart).arg(p.rowEnd).arg(p.colStart).arg(p.colEnd);
        QTEST(pages.join(u' '), "pages");
    }

    void studentReport() {
        Gradebook book;
        NewClass(book, LetterLibraries(), 3);
        book.setFileName(u"/classes/GRADE 7.GRD"_s);
        book.SetCellText(2, 0, u"Ann Avery"_s);
        book.TestOf(4).calculateGrades = 0;
        book.TestOf(2).date = u"10/15/26"_s;
        for (int col : {2, 3, 4})
            book.SetCellText(2, col, u"85"_s);
        book.SetCellText(2, 3, u"40"_s);
        book.setIncluded(2, 3, false);
        book.StudentOf(2).note.assignNote(u"Brings a calculator"_s);
        RecalcAll(book);
        const ImportanceSet groups = book.importanceSet();
        const StudentReport report = MakeStudentReport(book, 2); // the third test not graded
        QCOMPARE(report.tests, (std::vector{Items(u"Test  1|10/15/26|85|100|B|"_s),
                                            Items(u"Test  2|09/01/26|40|100|F|Yes"_s),
                                            Items(u"Test  3|09/01/26|85|100||"_s)}));
        QCOMPARE(QStringList({report.className, report.student, report.note}) + report.total,
                 Items(u"GRADE 7|Ann Avery|Brings a calculator|Total||85%||B|"_s));
        // The working counts the file saves stay as the last calculation left them.
        QCOMPARE(book.importanceSet(), groups);
        // Blank rows are nobody's report; locked names keep the note to themselves.
        QCOMPARE(ReportedRows(book), std::vector<int>{2});
        book.security() = {u"pw"_s, {true, false, false, false}};
        QCOMPARE(MakeStudentReport(book, 2).note, QString());
        // Two blanks before the page number, which text taken back from a PDF cannot show.
        QVERIFY(TablePrinter::titleLine(u"A.GRD"_s, 2, {}).startsWith(u"A.GRD   Page  2   "_s));
    }

    // Five students: 95, 85, 100 (the maximum), 50 and an empty cell; each bar's count and label.
    void testChart_data() {
        const Table<DisplayMode, float, bool, QString> row("mode", "max", "graded", "bars");
        row("letters", DisplayMode::Letters, 100.f, true, u"2 F|0 D|0 C|1 B|2 A"_s);
        row("numbers", DisplayMode::Numbers, 100.f, true, u"2 0.0|0 1.0|0 2.0|1 3.0|2 4.0"_s);
        row("percent of max, ten ranges", DisplayMode::PercentOfMax, 100.f, true,
            u"1 10|0 20|0 30|0 40|0 50|1 60|0 70|0 80|1 90|2 100"_s);
        row("ungraded of 200", DisplayMode::Letters, 200.f, false,
            u"1 20|0 40|1 60|0 80|2 100|1 120|0 140|0 160|0 180|0 200"_s);
    }
    void testChart() {
        auto [mode, max, graded] = Fetch<DisplayMode, float, bool>();
        Gradebook book;
        NewClass(book, LetterLibraries(), 1).setShape(6, 3);
        book.view().displayMode = mode;
        book.TestOf(2).maxScore = max;
        book.TestOf(2).calculateGrades = graded;
        for (int r = 1; r <= 4; ++r)
            book.SetCellText(r, 2, FormatScoreCell(book, r, 2, Items(u"95|85|100|50"_s)[r - 1]));
        const ChartData chart = TestChart(book, 2);
        QStringList bars;
        for (const ChartBar& bar : chart.bars)
            bars << QString::number(bar.value) + u' ' + bar.label.chopped(3);
        QTEST(bars.join(u'|'), "bars");
        QCOMPARE(chart.title + u'|' + chart.valueAxisTitle, u"Test: Test  1|# of Students"_s);
        QVERIFY(TestChart(book, 0).bars.empty());
    }

    void thirds() {
        QString colors;
        for (const int n : {5, 6, 10})
            for (int p = 1; p <= n; ++p)
                colors += QStringView(u"..G.R.B").at(ThirdsColor(p, n));
        QCOMPARE(colors, u"BBGGG|RBBGGG|RRBBBGGGGG"_s.remove(u'|')); // 5, 6 and 10 bars
    }

    // 85 on a graded test of 100 (a B, 3 of the best 4), 40 on an ungraded one of 50: under
    // each rule the total, then each test, in percent.
    void studentChart() {
        Gradebook book;
        NewClass(book, LetterLibraries(), 2).SetCellText(1, 0, u"Ada"_s);
        book.TestOf(3) = {.maxScore = 50, .date = {}, .note = {}, .scale = {}}; // no grades
        book.SetCellText(1, 2, FormatScoreCell(book, 1, 2, u"85"_s));
        book.SetCellText(1, 3, u"40"_s);
        QStringList seen;
        for (const bool scores : {true, false}) {
            SetAveragingRule(book, scores);
            const ChartData chart = StudentChart(book, 1);
            seen << chart.title + u' ' + chart.valueAxisTitle;
            for (const ChartBar& bar : chart.bars)
                seen << u"%1 %2 %3"_s.arg(bar.label).arg(bar.value).arg(bar.color);
        }
        QCOMPARE(seen.join(u'|'), u"Student: Ada Score %|Total 83 12|Test  1 85 9|Test  2 80 9|"
                                  u"Student: Ada Grade %|Total 78 12|Test  1 75 9|Test  2 80 9"_s);
        QVERIFY(StudentChart(book, 0).bars.empty());
    }
};

QTEST_MAIN(TestCharts)
#include "tst_charts.moc"
