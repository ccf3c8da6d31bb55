#include "TestInfoDialog.h"

#include "FieldFocus.h"
#include "HelpWindow.h"
#include "core/Gradebook.h"
#include "core/NumberText.h"
#include "core/TestCommands.h"
#include "core/TestDate.h"
#include "grading/Importance.h"
#include "ui/main/Prompter.h"
#include "ui/main/TextEntry.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

TestInfoDialog::TestInfoDialog(Gradebook& book, int firstColumn, Prompter& prompter,
                               std::function<void(int column)> openScale, QWidget* parent)
    : QDialog(parent), m_book(book), m_prompter(prompter), m_openScale(std::move(openScale)),
      m_saved(book.tests()), m_tests(new QComboBox(this)), m_date(new QLineEdit(this)),
      m_maxScore(new QLineEdit(this)), m_group(new QComboBox(this)),
      m_note(new QPlainTextEdit(this)), m_cancel(new QPushButton(tr("Cancel"), this)) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(tr("Test Information"));
    OfferHelp(this, QStringLiteral("dialogs.html#testinfo"));

    auto* form = new QFormLayout;
    const std::pair<const char*, QWidget*> rows[] = {{"Name:", m_tests},
                                                     {"Date:", m_date},
                                                     {"Max Score:", m_maxScore},
                                                     {"Importance:", m_group},
                                                     {"Note:", m_note}};
    const char* names[] = {"Combo1", "Datt", "Text1", "Combo2", "Note"};
    for (int i = 0; i < 5; ++i) {
        rows[i].second->setObjectName(QString::fromLatin1(names[i]));
        if (i > 0) rows[i].second->installEventFilter(this);
        form->addRow(tr(rows[i].first), rows[i].second);
        rows[i].second->setAccessibleName(tr(rows[i].first).chopped(1));
    }
    for (int c = 1; c < book.columnCount(); ++c)
        m_tests->addItem(book.GetCellText(0, c));
    m_group->addItems(ImportanceListItems(book.importanceSet()));
    m_date->setInputMask(QStringLiteral("99/99/99"));
    KeepToFileText(m_note, Limits::TestNoteWidth - 1); // room for the terminating NUL
    m_note->setTabChangesFocus(true);

    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(tr("Ok"), this);
    auto* scale = new QPushButton(tr("Scale"), this);
    const QList<QPushButton*> row = {ok, m_cancel, scale};
    for (int i = 0; i < 3; ++i) {
        row[i]->setObjectName(QStringLiteral("Command1%1").arg(i));
        buttons->addWidget(row[i]);
    }
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(scale, &QPushButton::clicked, this, &TestInfoDialog::openScaleForShownTest);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    const int first = std::clamp(firstColumn - 1, 0, m_tests->count() - 1);
    m_tests->setCurrentIndex(first);
    fillFields(first);
    connect(m_tests, &QComboBox::currentIndexChanged, this, &TestInfoDialog::fillFields);
    FitTitle(this);
}

void TestInfoDialog::fillFields(int index) {
    m_shown = index;
    TestRecord& t = m_book.TestOf(index + 1);
    // Entry 0 is the Total column: no date, maximum or group of its own, only a note.
    const bool test = index > 0;
    const QString date = test ? t.date.text() : QString();
    m_date->setText(date.isEmpty() ? FormatTestDate(QDate::currentDate()) : date);
    m_maxScore->setText(test ? FormatGeneral(t.maxScore) : QStringLiteral("100"));
    m_group->setCurrentIndex(test ? GroupOfTest(t, m_book.importanceSet().used()) : -1);
    for (QWidget* field : {static_cast<QWidget*>(m_date), static_cast<QWidget*>(m_maxScore),
                           static_cast<QWidget*>(m_group)})
        field->setEnabled(test);
    m_note->setPlainText(t.note.noteText());
}

bool TestInfoDialog::writeBack(QObject* field) {
    TestRecord& t = m_book.TestOf(m_shown + 1);
    if (field == m_note) t.note.assignNote(m_note->toPlainText());
    if (m_shown == 0) return true;
    if (field == m_date) t.date = StoredTestDate(m_date->displayText());
    if (field == m_group && m_group->currentIndex() >= 0)
        t.importance = float(m_group->currentIndex());
    if (field == m_maxScore) {
        if (const Result set = SetMaxScore(t, m_maxScore->text()); !set) {
            m_prompter.tell(this, set.message());
            m_maxScore->setFocus();
            return false;
        }
    }
    return true;
}

bool TestInfoDialog::eventFilter(QObject* watched, QEvent* event) {
    if (FieldLeft(event, m_cancel)) writeBack(watched);
    return QDialog::eventFilter(watched, event);
}

// Enter presses "Ok" without taking the focus from the field, so the field is written here.
void TestInfoDialog::accept() {
    if (!writeBack(focusWidget())) return;
    m_book.MarkModified();
    QDialog::accept();
}

void TestInfoDialog::reject() {
    m_book.tests() = m_saved;
    QDialog::reject();
}

void TestInfoDialog::openScaleForShownTest() {
    if (!writeBack(focusWidget())) return;
    if (m_openScale) m_openScale(m_shown + 1);
    fillFields(m_shown);
}
