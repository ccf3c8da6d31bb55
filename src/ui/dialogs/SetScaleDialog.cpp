#include "SetScaleDialog.h"

#include "SliderGrid.h"
#include "grading/Scale.h"
#include "ui/main/Prompter.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

SetScaleDialog::SetScaleDialog(const GradeScale& scale, const QString& testName,
                               const Libraries& libraries, ChooseScale choose, Prompter& prompter,
                               QWidget* parent)
    : SliderDialog(prompter, QStringLiteral("Deleting a Grade"),
                   QStringLiteral("dialogs.html#setscale"), parent),
      m_libraries(libraries), m_choose(std::move(choose)) {
    setObjectName(QStringLiteral("SetScale"));
    setWindowTitle(tr("Set Scale"));
    auto* name = new QLabel(testName, this);
    name->setObjectName(QStringLiteral("Lab"));
    m_header->insertWidget(0, name);
    grid()->setToolTip(tr("Grades and scores they correspond to"));
    grid()->setAccessibleName(tr("Grades"));
    addBox(TopScore, tr("Grade Top Score %:"),
           tr("The upper limit of the score range for this grade"));
    addBox(Value, tr("Numeric Value:"));
    addBox(Name, tr("Letter:"));
    addButton(0, tr("&Ins"), tr("Add new grade"));
    addButton(1, tr("&Del"), tr("Remove selected grade"));
    addButton(2, tr("&Load"), tr("Load presaved scale "));
    connect(
        addButton(3, tr("&Auto Even"), tr("Create a scale which converts grades into themselves")),
        &QPushButton::clicked, this, &SetScaleDialog::autoEven);
    grid()->setScale(scale);
}

GradeScale SetScaleDialog::scale() const {
    return grid()->scale();
}

void SetScaleDialog::setChart(QWidget* chart) {
    delete m_chart;
    m_chart = chart;
    if (!chart) return;
    // The dialog takes its widgets' preferred sizes, and a chart's is too low to read its bars.
    chart->setMinimumHeight(
        std::min(fontMetrics().height() * 17, screen()->availableSize().height() / 3));
    m_extras->addWidget(chart);
}

void SetScaleDialog::loadFromLibrary() {
    GradeScale edited = grid()->scale();
    const int index = m_choose ? m_choose(this, edited) : -1;
    if (index >= 0)
        grid()->setScale(m_libraries.scale(index));
    else if (!(edited.name == grid()->scale().name)) // renamed by "&Add Current"
        grid()->setListName(edited.name.text());
    keepColumnAfterButton();
}

void SetScaleDialog::autoEven() {
    const int column = grid()->currentColumn();
    const auto result = AutoEven(grid()->scale());
    if (const auto* refusal = std::get_if<AutoEvenRefusal>(&result)) {
        m_prompter.tell(this, refusal->message);
        grid()->setCurrentColumn(refusal->step + 1);
    } else {
        grid()->setScale(std::get<GradeScale>(result));
        grid()->setCurrentColumn(column);
    }
    keepColumnAfterButton();
}
