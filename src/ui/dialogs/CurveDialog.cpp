#include "CurveDialog.h"

#include "core/Gradebook.h"
#include "grading/Calculation.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QRadioButton>
#include <QTreeWidget>

CurveDialog::CurveDialog(const Gradebook& book, int col, QWidget* parent)
    : PreviewDialog({tr("Student"), tr("Before"), tr("After")},
                    tr("Each student's score and grade before and after"),
                    QStringLiteral("tools.html#curve"), parent),
      m_book(book), m_col(col), m_add(new QRadioButton(tr("&Add points:"))),
      m_multiply(new QRadioButton(tr("&Multiply by:"))),
      m_topToMax(new QRadioButton(tr("Make the &best score the maximum score"))),
      m_points(new QDoubleSpinBox), m_factor(new QDoubleSpinBox),
      m_cap(new QCheckBox(tr("&Cap at the maximum score"))) {
    setWindowTitle(tr("Curve Scores: %1").arg(book.GetCellText(0, col)));
    m_points->setRange(-1000, 1000);
    m_points->setValue(5);
    m_factor->setRange(0, 100);
    m_factor->setSingleStep(0.05);
    m_factor->setValue(1.1);
    m_add->setChecked(true);
    m_cap->setChecked(true);
    m_points->setAccessibleName(tr("Points to add"));
    m_factor->setAccessibleName(tr("Factor"));

    auto* ways = new QGridLayout;
    ways->addWidget(m_add, 0, 0);
    ways->addWidget(m_points, 0, 1);
    ways->addWidget(m_multiply, 1, 0);
    ways->addWidget(m_factor, 1, 1);
    ways->addWidget(m_topToMax, 2, 0, 1, 2);
    ways->addWidget(m_cap, 3, 0, 1, 2);
    layOut(ways, 84);
    for (QRadioButton* way : {m_add, m_multiply, m_topToMax})
        connect(way, &QRadioButton::toggled, this, &CurveDialog::preview);
    connect(m_points, &QDoubleSpinBox::valueChanged, this, &CurveDialog::preview);
    connect(m_factor, &QDoubleSpinBox::valueChanged, this, &CurveDialog::preview);
    connect(m_cap, &QCheckBox::toggled, this, &CurveDialog::preview);
    preview();
}

void CurveDialog::preview() {
    const CurveKind kind = m_add->isChecked()        ? CurveKind::Add
                           : m_multiply->isChecked() ? CurveKind::Multiply
                                                     : CurveKind::TopToMax;
    const double amount = kind == CurveKind::Add ? m_points->value() : m_factor->value();
    m_points->setEnabled(kind == CurveKind::Add);
    m_factor->setEnabled(kind == CurveKind::Multiply);
    m_plan = PlanCurve(m_book, m_col, {kind, amount, m_cap->isChecked()});
    m_preview->clear();
    for (const CurvedScore& s : m_plan)
        new QTreeWidgetItem(m_preview,
                            QStringList{m_book.GetCellText(s.row, 0), m_book.cell(s.row, m_col),
                                        FormatScoreCell(m_book, s.row, m_col, s.after)});
    fitColumns();
}
