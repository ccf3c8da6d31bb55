#pragma once

#include <QObject>

class ChartPanel;
class ControlPanel;
class Gradebook;
class GradeTableView;
class MainWindow;
class QColor;
class QFont;
class QWidget;

// The panels beside the table: what they show for the current cell, and what their controls do
// to the document. Also the view options that change them: the working mode, hidden controls,
// the table font.
class PanelCommands : public QObject {
    Q_OBJECT
public:
    PanelCommands(MainWindow& window, QWidget* sidePanel);

    // The panels' part of refreshing the current cell (row, col).
    void fill(int row, int col);

    // Shows the document's working mode on the mode buttons and panels, as a click would.
    void showWorkingMode();
    void toggleHideControls();
    bool controlsHidden() const { return m_hideControls; }
    ChartPanel* chartPanel() const { return m_chart; }
    void chooseFont();
    void applyFont(const QFont& font);
    void applyTextColor(const QColor& color);

private:
    void onMaxScoreEdited(const QString& text);
    void onMaxScoreFinished();
    void onImportanceChosen(int index);
    void onCalculateGradesClicked();
    void onIgnoreClicked();
    void onNameAsIdClicked();
    void onShowTotalClicked();
    void onAveragingClicked(int rule);
    void onDisplayModeClicked(int mode);
    void onWorkingModeClicked(int mode);
    void onSortRuleChosen();
    void applyStudentCount();
    bool chartShowing() const;

    MainWindow& m_window;
    Gradebook& m_book;
    GradeTableView* m_table;
    ControlPanel& m_panel;
    QWidget* m_sidePanel;
    ChartPanel* m_chart;
    bool m_hideControls = false;
    bool m_applyingCount = false;
};
