#include "DropLowestDialog.h"

#include "core/Gradebook.h"
#include "core/NumberText.h"
#include "grading/Scale.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QSpinBox>
#include <QTreeWidget>

DropLowestDialog::DropLowestDialog(Gradebook& book, QWidget* parent)
    : PreviewDialog({tr("Student"), tr("Scores dropped"), tr("Total")},
                    tr("Each student's dropped scores and total; untick a student to keep theirs"),
                    QStringLiteral("tools.html#droplowest"), parent),
      m_book(book), m_count(new QSpinBox), m_tests(new QComboBox),
      m_onlyIfNotLower(new QCheckBox(tr("&Only when it raises the total or keeps it"))) {
    setWindowTitle(tr("Drop Lowest Scores"));
    m_count->setRange(1, 10);
    m_tests->addItem(tr("Every test"));
    const ImportanceSet& groups = book.importanceSet();
    for (int g = 0; g < groups.used(); ++g)
        m_tests->addItem(
            tr("The tests of %1").arg(groups.steps[std::size_t(g)].name.text().trimmed()));
    m_onlyIfNotLower->setChecked(true);
    m_tests->setAccessibleName(tr("From"));

    auto* form = new QFormLayout;
    form->addRow(tr("Scores to drop per &student:"), m_count);
    form->addRow(tr("&From:"), m_tests);
    form->addRow(m_onlyIfNotLower);
    layOut(form, 92);
    connect(m_count, &QSpinBox::valueChanged, this, &DropLowestDialog::preview);
    connect(m_tests, &QComboBox::currentIndexChanged, this, &DropLowestDialog::preview);
    connect(m_onlyIfNotLower, &QCheckBox::toggled, this, &DropLowestDialog::preview);
    preview();
}

void DropLowestDialog::preview() {
    DropOptions options{m_count->value(), std::nullopt, m_onlyIfNotLower->isChecked()};
    if (m_tests->currentIndex() > 0) options.group = m_tests->currentIndex() - 1;
    m_plan = PlanDropLowest(m_book, options);
    m_preview->clear();
    for (const StudentDrops& student : m_plan) {
        QStringList drops;
        for (const DroppedScore& d : student.drops)
            drops << m_book.GetCellText(0, d.col) + u' ' +
                         (d.score.isEmpty() ? tr("(empty)") : d.score);
        const QString totals = FormatWhole(RoundHalfUp(student.totalBefore, 0)) +
                               QStringLiteral(" → ") +
                               FormatWhole(RoundHalfUp(student.totalAfter, 0));
        auto* item =
            new QTreeWidgetItem(m_preview, QStringList{m_book.GetCellText(student.row, 0),
                                                       drops.join(QStringLiteral(", ")), totals});
        item->setCheckState(0, Qt::Checked);
    }
    fitColumns();
}

std::vector<StudentDrops> DropLowestDialog::plan() const {
    std::vector<StudentDrops> chosen;
    for (std::size_t i = 0; i < m_plan.size(); ++i)
        if (m_preview->topLevelItem(int(i))->checkState(0) == Qt::Checked)
            chosen.push_back(m_plan[i]);
    return chosen;
}
