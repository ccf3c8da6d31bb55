#include "SliderDialog.h"

#include "HelpWindow.h"
#include "SliderGrid.h"
#include "core/NumberText.h"
#include "ui/main/Prompter.h"
#include "ui/main/TextEntry.h"

#include <QApplication>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

SliderDialog::SliderDialog(Prompter& prompter, const QString& deleteQuestion,
                           const QString& helpPage, QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_header(new QHBoxLayout), m_extras(new QVBoxLayout),
      m_grid(new SliderGrid(this)), m_form(new QFormLayout), m_buttons(new QGridLayout),
      m_deleteQuestion(deleteQuestion) {
    m_grid->setObjectName(QStringLiteral("gs"));
    auto* help = new QToolButton(this);
    help->setObjectName(QStringLiteral("Helpi"));
    help->setText(QStringLiteral("?"));
    help->setToolTip(tr("Help"));
    help->setAccessibleName(tr("Help"));
    help->setAutoRaise(true); // lights up under the pointer
    OfferHelp(this, helpPage);
    connect(help, &QToolButton::clicked, this,
            [this, helpPage] { HelpWindow::Show(this, helpPage); });
    m_header->addStretch();
    m_header->addWidget(help);
    m_lastTabs[2] = help;

    auto* middle = new QHBoxLayout;
    middle->addLayout(m_form);
    middle->addStretch();
    middle->addLayout(m_buttons);
    auto* answers = new QHBoxLayout;
    answers->addStretch();
    const char* captions[] = {"OK", "Cancel"};
    for (int i = 0; i < 2; ++i) {
        auto* button = new QPushButton(tr(captions[i]), this);
        button->setObjectName(QStringLiteral("Command1%1").arg(i));
        button->setAutoDefault(false);
        button->setDefault(i == 0);
        answers->addWidget(button);
        m_lastTabs[std::size_t(i)] = button;
        connect(button, &QPushButton::clicked, this, i == 0 ? &QDialog::accept : &QDialog::reject);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_header);
    layout->addWidget(m_grid);
    layout->addLayout(middle);
    layout->addLayout(m_extras);
    layout->addLayout(answers);
    // The dialog is as wide as the slider the teacher chose, and follows it.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    chainTabs(m_grid);
    connect(m_grid, &SliderGrid::currentColumnChanged, this, &SliderDialog::showEntry);
    connect(m_grid, &SliderGrid::edited, this, &SliderDialog::showEntry);
}

void SliderDialog::setSliderGeometry(int labelColumnWidth, int sliderWidth) {
    m_grid->setLabelColumnWidth(labelColumnWidth);
    m_grid->setSliderWidth(sliderWidth);
}

int SliderDialog::labelColumnWidth() const {
    return m_grid->labelColumnWidth();
}

int SliderDialog::sliderWidth() const {
    return m_grid->sliderWidth();
}

QLineEdit* SliderDialog::addBox(Box index, const QString& label, const QString& toolTip) {
    auto* box = new QLineEdit(this);
    box->setObjectName(QStringLiteral("Text1%1").arg(int(index)));
    box->setToolTip(toolTip);
    if (index == Name) {
        KeepToFileText(box);
        box->setMaxLength(Limits::GradeWidth);
    }
    box->installEventFilter(this);
    m_form->addRow(label, box);
    chainTabs(box);
    m_boxes[std::size_t(index)] = box;
    return box;
}

QPushButton* SliderDialog::addButton(int index, const QString& caption, const QString& toolTip) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QStringLiteral("InsDel%1").arg(index));
    button->setToolTip(toolTip);
    button->setAutoDefault(false);
    m_buttons->addWidget(button, index / 2, index % 2);
    chainTabs(button);
    if (index == 0) connect(button, &QPushButton::clicked, this, &SliderDialog::insertEntry);
    if (index == 1) connect(button, &QPushButton::clicked, this, &SliderDialog::deleteEntry);
    if (index == 2) connect(button, &QPushButton::clicked, this, [this] { loadFromLibrary(); });
    return button;
}

// Tab goes from the grid through the boxes and the buttons in the order they were added, then
// to "OK", "Cancel" and the help button.
void SliderDialog::chainTabs(QWidget* added) {
    if (m_lastAdded) setTabOrder(m_lastAdded, added);
    m_lastAdded = added;
    QWidget* before = added;
    for (QWidget* w : m_lastTabs) {
        setTabOrder(before, w);
        before = w;
    }
}

void SliderDialog::showEntry() {
    const int column = m_grid->currentColumn();
    // With no entry shown there is nothing for the boxes to edit.
    for (QLineEdit* box : m_boxes)
        if (box) box->setEnabled(column >= 1);
    if (column < 1) return;
    const auto step = std::size_t(column - 1);
    const bool scale = m_grid->editsScale();
    if (QLineEdit* box = m_boxes[TopScore]) {
        if (scale) {
            box->setText(FormatWholeOrEmpty(m_grid->scale().steps[step].topScore));
            // The last grade always reaches 100.
            box->setReadOnly(column == m_grid->count());
        } else {
            box->setText(FormatWhole(m_grid->importanceSet().steps[step].percentOfTotal));
        }
    }
    if (QLineEdit* box = m_boxes[Value]; box && scale)
        box->setText(FormatGeneral(m_grid->scale().steps[step].value));
    if (QLineEdit* box = m_boxes[Name])
        box->setText(scale ? m_grid->scale().steps[step].grade.text()
                           : m_grid->importanceSet().steps[step].name.text());
}

bool SliderDialog::eventFilter(QObject* watched, QEvent* event) {
    const auto found = std::find(m_boxes.begin(), m_boxes.end(), watched);
    if (found == m_boxes.end() || !watched) return QDialog::eventFilter(watched, event);
    const auto index = Box(found - m_boxes.begin());
    switch (event->type()) {
    case QEvent::FocusIn:
        m_editColumn = m_grid->currentColumn();
        break;
    case QEvent::FocusOut:
        apply(index);
        break;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) break;
        apply(index);
        m_grid->setFocus(Qt::OtherFocusReason);
        return true;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

// A box is applied to the column that was current when it took the focus, and only when the
// teacher typed into it, so leaving a box untouched never rewrites a name or moves a column.
void SliderDialog::apply(Box index) {
    QLineEdit* box = m_boxes[std::size_t(index)];
    const int column = m_editColumn;
    if (!box->isModified() || column < 1 || column > m_grid->count()) return;
    box->setModified(false);
    if (index == TopScore) {
        if (!m_grid->setPercentAt(column, ReadLeadingNumber(box->text()))) QApplication::beep();
    } else if (index == Value) {
        m_grid->setValueAt(column, ReadLeadingNumber(box->text()));
    } else {
        m_grid->setNameAt(column, box->text());
    }
    showEntry();
}

void SliderDialog::insertEntry() {
    if (!m_grid->insertAt(m_grid->currentColumn())) QApplication::beep();
    keepColumnAfterButton();
}

void SliderDialog::deleteEntry() {
    const int column = m_grid->currentColumn();
    const int count = m_grid->count();
    // Nothing to ask about when nothing would go.
    if (count <= 1 || column > count) return QApplication::beep();
    if (m_prompter.ask(this, m_deleteQuestion, QMessageBox::Ok | QMessageBox::Cancel) !=
        QMessageBox::Ok)
        return;
    m_grid->deleteAt(column);
    keepColumnAfterButton();
}

void SliderDialog::keepColumnAfterButton() {
    const int column = m_grid->currentColumn();
    m_grid->setCurrentColumn(column == 1 ? m_grid->count() - 1 : column);
    showEntry();
}
