#include "CurveDialog.h"

#include "HelpWindow.h"
#include "core/Gradebook.h"
#include "grading/Calculation.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QRadioButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

CurveDialog::CurveDialog(const Gradebook& book, int col, QWidget* parent)
    : QDialog(parent), m_book(book), m_col(col), m_add(new QRadioButton(tr("&Add points:"))),
      m_multiply(new QRadioButton(tr("&Multiply by:"))),
      m_topToMax(new QRadioButton(tr("Make the &best score the maximum score"))),
      m_points(new QDoubleSpinBox), m_factor(new QDoubleSpinBox),
      m_cap(new QCheckBox(tr("&Cap at the maximum score"))), m_preview(new QTreeWidget) {
    setWindowTitle(tr("Curve Scores: %1").arg(book.GetCellText(0, col)));
    OfferHelp(this, QStringLiteral("tools.html#curve"));
    m_points->setRange(-1000, 1000);
    m_points->setValue(5);
    m_factor->setRange(0, 100);
    m_factor->setSingleStep(0.05);
    m_factor->setValue(1.1);
    m_add->setChecked(true);
    m_cap->setChecked(true);
    m_preview->setHeaderLabels({tr("Student"), tr("Before"), tr("After")});
    m_preview->setRootIsDecorated(false);
    m_points->setAccessibleName(tr("Points to add"));
    m_factor->setAccessibleName(tr("Factor"));
    m_preview->setAccessibleName(tr("Preview"));
    m_preview->setAccessibleDescription(tr("Each student's score and grade before and after"));

    auto* ways = new QGridLayout;
    ways->addWidget(m_add, 0, 0);
    ways->addWidget(m_points, 0, 1);
    ways->addWidget(m_multiply, 1, 0);
    ways->addWidget(m_factor, 1, 1);
    ways->addWidget(m_topToMax, 2, 0, 1, 2);
    ways->addWidget(m_cap, 3, 0, 1, 2);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(ways);
    layout->addWidget(m_preview);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    for (QRadioButton* way : {m_add, m_multiply, m_topToMax})
        connect(way, &QRadioButton::toggled, this, &CurveDialog::preview);
    connect(m_points, &QDoubleSpinBox::valueChanged, this, &CurveDialog::preview);
    connect(m_factor, &QDoubleSpinBox::valueChanged, this, &CurveDialog::preview);
    connect(m_cap, &QCheckBox::toggled, this, &CurveDialog::preview);
    // Room for the preview at any font size, within the screen.
    const QSize room = screen()->availableSize() * 9 / 10;
    resize(std::min(fontMetrics().averageCharWidth() * 84, room.width()),
           std::min(fontMetrics().height() * 28, room.height()));
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
    for (int c = 0; c < m_preview->columnCount(); ++c)
        m_preview->resizeColumnToContents(c);
}
