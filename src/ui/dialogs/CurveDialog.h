#pragma once

#include "grading/GradingTools.h"

#include "PreviewDialog.h"

class Gradebook;
class QCheckBox;
class QDoubleSpinBox;
class QRadioButton;

// "Curve Scores" for one test: add points, multiply, or scale the best score to the maximum,
// capped at the maximum unless unticked; the preview shows each score and grade before and
// after. The caller applies plan() after OK.
class CurveDialog : public PreviewDialog {
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
    std::vector<CurvedScore> m_plan;
};
