#include "ChartPanel.h"

#include "core/Gradebook.h"
#include "core/NumberText.h"
#include "grading/Statistics.h"
#include "output/BarChartView.h"
#include "output/StudentChart.h"
#include "output/TestChart.h"

#include <QButtonGroup>
#include <QChart>
#include <QGraphicsLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QString StatisticsLine(const ScoreStatistics& s) {
    if (s.count == 0) return ChartPanel::tr("No scores count on this test.");
    // A narrow panel wraps the line between figures, never inside one.
    const QString figures =
        ChartPanel::tr("Scores: %1|Mean: %2|Median: %3|Std. dev.: %4|Highest: %5|Lowest: %6")
            .arg(s.count)
            .arg(FormatTwoDecimals(s.mean), FormatTwoDecimals(s.median),
                 FormatTwoDecimals(s.deviation), FormatTwoDecimals(s.highest),
                 FormatTwoDecimals(s.lowest));
    return QString(figures).replace(u' ', QChar::Nbsp).replace(u'|', QStringLiteral("   "));
}

} // namespace

ChartPanel::ChartPanel(Gradebook& book, QWidget* parent)
    : QWidget(parent), m_book(book), m_subjectGroup(new QButtonGroup(this)),
      m_view(new BarChartView(this)), m_statistics(new QLabel(this)), m_redraw(new QTimer(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* options = new QHBoxLayout;
    options->setContentsMargins(6, 4, 6, 0);
    const char* captions[] = {"Current Test", "Current Student"};
    const char* tips[] = {"Chart how the class did on the current test",
                          "Chart the current student's total and tests"};
    for (int i = 0; i < 2; ++i) {
        auto* button = new QRadioButton(tr(captions[i]), this);
        button->setObjectName(QStringLiteral("GraphOpt%1").arg(i));
        button->setAccessibleDescription(tr(tips[i]));
        m_subjectGroup->addButton(button, i);
        options->addWidget(button);
        m_subject[std::size_t(i)] = button;
    }
    options->addStretch(1);
    layout->addLayout(options);
    // The panel is narrow: the bars get the room the chart's own margins would take.
    m_view->chart()->setMargins(QMargins(2, 2, 2, 2));
    m_view->chart()->layout()->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view, 1);
    // One line of figures would be cut off in a narrow panel; it wraps instead.
    m_statistics->setObjectName(QStringLiteral("TestStatistics"));
    m_statistics->setWordWrap(true);
    m_statistics->setContentsMargins(6, 0, 6, 4);
    layout->addWidget(m_statistics);
    connect(m_subjectGroup, &QButtonGroup::idClicked, this, &ChartPanel::onSubjectClicked);

    // A typed score changes cells without a refresh of the panel; the many changes of one
    // command are drawn once, and not at all when the panel's own refresh comes first.
    m_redraw->setSingleShot(true);
    m_redraw->setInterval(0);
    connect(m_redraw, &QTimer::timeout, this, [this] { draw(m_row, m_col); });
    connect(&m_book, &Gradebook::cellsChanged, this, [this] {
        if (isVisible()) m_redraw->start();
    });
}

void ChartPanel::onSubjectClicked(int subject) {
    m_book.view().chartSubject = ChartSubject(subject);
    draw(m_row, m_col);
}

void ChartPanel::draw(int row, int col) {
    m_redraw->stop();
    m_row = row;
    m_col = col;
    const bool test = m_book.view().chartSubject == ChartSubject::CurrentTest;
    m_subject[test ? 0 : 1]->setChecked(true);
    m_view->setChart(test ? TestChart(m_book, col) : StudentChart(m_book, row));
    const bool figures = test && col >= 1 && col < m_book.columnCount();
    m_statistics->setVisible(figures);
    if (figures) m_statistics->setText(StatisticsLine(ColumnStatistics(m_book, col)));
}
