#pragma once

#include "grading/GradingTools.h"

#include <QDialog>

class Gradebook;
class QCheckBox;
class QDoubleSpinBox;
class QRadioButton;
class QTreeWidget;

// "Curve Scores" for one test: add points, multiply, or scale the best score to the maximum,
// capped at the maximum unless unticked; the preview shows each score and grade before and
// after. The caller applies plan() after OK.
class CurveDialog : public QDialog {
    Q_OBJECT
public:
    CurveDialog(const Gradebook& book, int col, QWidget* parent = nullptr);

    const std::vector<CurvedScore>& plan() const { return m_plan; }

private:
    void preview();

    const Gradebook& m_book;
    int m_col;
    QRadioButton* m_add;
    QRadioButton* m_multiply;
    QRadioButton* m_topToMax;
    QDoubleSpinBox* m_points;
    QDoubleSpinBox* m_factor;
    QCheckBox* m_cap;
    QTreeWidget* m_preview;
    std::vector<CurvedScore> m_plan;
};
