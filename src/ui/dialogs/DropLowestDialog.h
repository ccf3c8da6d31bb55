#pragma once

#include "grading/GradingTools.h"

#include "PreviewDialog.h"

class Gradebook;
class QCheckBox;
class QComboBox;
class QSpinBox;

// "Drop Lowest Scores": how many scores per student, from which tests, and whether only while
// the total rises or stays; the preview lists each student's drops and total before and after,
// and a student unticked there keeps every score. The caller applies plan() after OK.
class DropLowestDialog : public PreviewDialog {
    Q_OBJECT
public:
    DropLowestDialog(Gradebook& book, QWidget* parent = nullptr);

    // The drops of the students still ticked.
    std::vector<StudentDrops> plan() const;

private:
    void preview();

    Gradebook& m_book;
    QSpinBox* m_count;
    QComboBox* m_tests;
    QCheckBox* m_onlyIfNotLower;
    std::vector<StudentDrops> m_plan;
};
