#include "BarChartView.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QFontMetrics>
#include <QSet>
#include <QStackedBarSeries>
#include <QValueAxis>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

namespace {

// Room the axes, their titles and the chart title take around the bars, in lines of text.
constexpr int LinesBesideBars = 6;
constexpr int LinesAboveAndBelowBars = 8;
constexpr int MaxValueTicks = 10;

// Labels for a category axis, which drops a repeated or null label (and its bar with it):
// repeats and the labels left out to thin them get an invisible suffix that spells their
// position in zero-width characters, a few of them a label however many bars there are.
QStringList UniqueCategories(const std::vector<ChartBar>& bars, int every) {
    QStringList categories;
    QSet<QString> seen;
    for (std::size_t i = 0; i < bars.size(); ++i) {
        QString text = QStringLiteral("");
        if (i % std::size_t(every) == 0) text += bars[i].label;
        if (seen.contains(text)) {
            text += QChar(0x2060); // the labels themselves hold none of these characters
            for (std::size_t n = i + 1; n > 0; n /= 2)
                text += QChar(n % 2 ? 0x200C : 0x200B);
        }
        seen.insert(text);
        categories << text;
    }
    return categories;
}

// The least of 1, 2, 5, 10, 20, ... that needs at most `ticks` steps to reach `top`.
double WholeTickInterval(double top, int ticks) {
    for (double magnitude = 1;; magnitude *= 10)
        for (const double m : {1.0, 2.0, 5.0})
            if (top / (m * magnitude) <= ticks) return m * magnitude;
}

} // namespace

QColor PaletteColorOf(int index) {
    static const std::array<QRgb, 16> palette = {
        0x000000, 0x0000AA, 0x00AA00, 0x00AAAA, 0xAA0000, 0xAA00AA, 0xAA5500, 0xAAAAAA,
        0x555555, 0x5555FF, 0x55FF55, 0x55FFFF, 0xFF5555, 0xFF55FF, 0xFFFF55, 0xFFFFFF};
    return index >= 0 && index < int(palette.size()) ? QColor(palette[std::size_t(index)])
                                                     : QColor(Qt::black);
}

BarChartView::BarChartView(QWidget* parent)
    : QChartView(parent), m_categories(new QBarCategoryAxis), m_values(new QValueAxis) {
    setObjectName(QStringLiteral("Graph1"));
    setAccessibleName(tr("Chart"));
    // Nothing in a chart answers keys, so Tab passes it by.
    setFocusPolicy(Qt::NoFocus);
    viewport()->setFocusPolicy(Qt::NoFocus);
    // The view's own chart, which owns the axes and series: a chart set in its place would
    // leave this one to leak, as setChart() lets go of the chart it replaces.
    QChart* chart = QChartView::chart();
    chart->legend()->hide();
    chart->setBackgroundBrush(Qt::white);
    chart->setBackgroundRoundness(0);
    setBackgroundBrush(Qt::white);
    setRenderHint(QPainter::Antialiasing);
    // Upright labels are shortened to "..." when left to the axis; the chart makes room instead.
    m_categories->setTruncateLabels(false);
    chart->addAxis(m_categories, Qt::AlignBottom);
    chart->addAxis(m_values, Qt::AlignLeft);
    m_values->setTickType(QValueAxis::TicksDynamic);
    m_values->setTickAnchor(0);
    m_values->setMinorTickCount(0);
    m_values->setLabelFormat(QStringLiteral("%.0f"));
    setChart(ChartData{});
}

void BarChartView::setChart(const ChartData& data) {
    // The same bars in the same colours (another student, another test of the same scale):
    // new values in the bars there are. Building the series anew costs an item a bar.
    const bool sameBars =
        m_setOfBar.size() == data.bars.size() &&
        std::equal(data.bars.begin(), data.bars.end(), m_data.bars.begin(),
                   [](const ChartBar& a, const ChartBar& b) { return a.color == b.color; });
    m_data = data;
    QChart* c = chart();
    c->setTitle(data.title);
    setAccessibleDescription(data.title);
    m_values->setTitleText(data.valueAxisTitle);
    if (sameBars) {
        // Each set's values in one change: a change a bar lays out every bar again.
        std::map<QBarSet*, QList<qreal>> values;
        for (std::size_t i = 0; i < data.bars.size(); ++i) {
            QList<qreal>& list = values[m_setOfBar[i]];
            list.resize(qsizetype(data.bars.size()));
            list[qsizetype(i)] = data.bars[i].value;
        }
        for (auto& [set, list] : values) {
            set->remove(0, set->count());
            set->append(list);
        }
        fitAxesToSize();
        return;
    }
    c->removeAllSeries();
    m_setOfBar.clear();
    // A stacked series with one set per colour: each bar's value stands in its colour's set
    // and the other sets hold 0 there, so every bar has its own colour and full width.
    auto* series = new QStackedBarSeries;
    std::map<int, QBarSet*> sets;
    for (std::size_t i = 0; i < data.bars.size(); ++i) {
        QBarSet*& set = sets[data.bars[i].color];
        if (!set) {
            set = new QBarSet(QString(), series);
            set->setColor(PaletteColorOf(data.bars[i].color));
            set->setPen(Qt::NoPen); // an empty segment would draw a line across its neighbour
            for (std::size_t j = 0; j < data.bars.size(); ++j)
                set->append(0);
        }
        set->replace(qsizetype(i), data.bars[i].value);
        m_setOfBar.push_back(set);
    }
    for (const auto& [color, set] : sets)
        series->append(set);
    c->addSeries(series);
    series->attachAxis(m_categories);
    series->attachAxis(m_values);
    fitAxesToSize();
}

void BarChartView::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    fitAxesToSize();
}

void BarChartView::fitAxesToSize() {
    const QFontMetrics metrics(m_categories->labelsFont());
    const int line = metrics.lineSpacing();
    const int bars = std::max(1, int(m_data.bars.size()));
    const double perBar = std::max(1, width() - LinesBesideBars * line) / double(bars);
    int widest = 0;
    for (const ChartBar& bar : m_data.bars)
        widest = std::max(widest, metrics.horizontalAdvance(bar.label));
    // Labels side by side while they fit; upright when they do not; upright and only every
    // so many when even upright ones would overlap.
    const bool fits = widest + line / 2 <= perBar;
    m_categories->setLabelsAngle(fits ? 0 : -90);
    const int every = fits ? 1 : std::max(1, int(std::ceil(line * 1.2 / perBar)));
    // Every category is an item of the chart: they are made anew only when a label changed.
    const QStringList categories = UniqueCategories(m_data.bars, every);
    if (categories != m_categories->categories()) m_categories->setCategories(categories);

    double bottom = 0, top = 1;
    for (const ChartBar& bar : m_data.bars) {
        if (!std::isfinite(bar.value)) continue;
        bottom = std::min(bottom, std::floor(bar.value));
        top = std::max(top, std::ceil(bar.value));
    }
    const int ticks =
        std::clamp((height() - LinesAboveAndBelowBars * line) / (2 * line), 1, MaxValueTicks);
    const double interval = WholeTickInterval(top - bottom, ticks);
    m_values->setTickInterval(interval);
    m_values->setRange(std::floor(bottom / interval) * interval,
                       std::ceil(top / interval) * interval);
}
