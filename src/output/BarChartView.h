#pragma once

#include "ChartData.h"

#include <QChartView>

class QBarCategoryAxis;
class QBarSet;
class QValueAxis;

// The colour of an index of the 16-colour palette; an index outside it gives black.
QColor PaletteColorOf(int index);

// Shows a bar chart: each bar in its palette colour, the labels under the bars (turned upright,
// then thinned, when the bars are too narrow for them), whole numbers on the value axis, a
// white background and no legend. Nothing goes to the clipboard or to a file.
class BarChartView : public QChartView {
    Q_OBJECT
public:
    explicit BarChartView(QWidget* parent = nullptr);

    // Draws `data` in place of what was shown.
    void setChart(const ChartData& data);
    const ChartData& chartData() const { return m_data; }
    QBarCategoryAxis* categoryAxis() const { return m_categories; }
    QValueAxis* valueAxis() const { return m_values; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitAxesToSize();

    ChartData m_data;
    std::vector<QBarSet*> m_setOfBar; // the set, owned by the series, that holds each bar
    QBarCategoryAxis* m_categories;
    QValueAxis* m_values;
};
