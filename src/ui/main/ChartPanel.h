#pragma once

#include <QWidget>

#include <array>

class BarChartView;
class Gradebook;
class QButtonGroup;
class QLabel;
class QRadioButton;
class QTimer;

// The chart area of the Analyze mode: the chart of the current test or of the current
// student, the two buttons that choose between them, and under the test chart a line of
// the test's statistics.
class ChartPanel : public QWidget {
    Q_OBJECT
public:
    ChartPanel(Gradebook& book, QWidget* parent);

    // Draws the chart the document's chart subject asks for, for the cell (row, col). While
    // the panel shows, a change of the table's cells draws it again for the same cell.
    void draw(int row, int col);

    BarChartView* view() const { return m_view; }
    QLabel* statistics() const { return m_statistics; }

private:
    void onSubjectClicked(int subject);

    Gradebook& m_book;
    std::array<QRadioButton*, 2> m_subject; // GraphOpt: Current Test, Current Student
    QButtonGroup* m_subjectGroup;
    BarChartView* m_view;
    QLabel* m_statistics;
    QTimer* m_redraw;
    int m_row = 1;
    int m_col = 1;
};
