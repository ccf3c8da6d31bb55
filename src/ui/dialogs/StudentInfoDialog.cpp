#include "StudentInfoDialog.h"

#include "FieldFocus.h"
#include "HelpWindow.h"
#include "core/Gradebook.h"
#include "core/StudentCommands.h"
#include "ui/main/Prompter.h"
#include "ui/main/TextEntry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

StudentInfoDialog::StudentInfoDialog(Gradebook& book, int firstRow, QWidget* parent)
    : QDialog(parent), m_book(book), m_saved(book.students()), m_students(new QComboBox(this)),
      m_id(new QLineEdit(this)), m_note(new QPlainTextEdit(this)),
      m_showAs(new QCheckBox(tr("Name as ID"), this)),
      m_cancel(new QPushButton(tr("Cancel"), this)) {
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(tr("Student Information"));
    OfferHelp(this, QStringLiteral("dialogs.html#studentinfo"));

    // The name cell is where names and shown IDs are typed; the records catch up first, so the
    // selector lists today's names and "Ok" writes back what the table showed.
    for (int r = 1; r < book.rowCount(); ++r) {
        KeepShownName(book, r);
        m_students->addItem(book.StudentOf(r).name.text());
    }
    auto* form = new QFormLayout;
    m_students->setObjectName(QStringLiteral("Combo1"));
    form->addRow(tr("Name:"), m_students);
    m_students->setAccessibleName(tr("Name"));
    m_id->setObjectName(QStringLiteral("ID"));
    m_id->setMaxLength(Limits::IdWidth);
    KeepToFileText(m_id);
    form->addRow(tr("Student ID:"), m_id);
    m_note->setObjectName(QStringLiteral("Note"));
    KeepToFileText(m_note, Limits::StudentNoteWidth - 1); // room for the terminating NUL
    m_note->setTabChangesFocus(true);
    form->addRow(tr("Note:"), m_note);
    m_showAs->setObjectName(QStringLiteral("ShowAs"));
    form->addRow(m_showAs);
    for (QWidget* field : {static_cast<QWidget*>(m_id), static_cast<QWidget*>(m_note)})
        field->installEventFilter(this);
    connect(m_showAs, &QCheckBox::clicked, this, [this](bool on) {
        StudentRecord& s = m_book.StudentOf(m_shown + 1);
        s.showAsId = s.savedShowAsId = on ? 1 : 0;
    });

    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(tr("Ok"), this);
    ok->setObjectName(QStringLiteral("Command10"));
    ok->setDefault(true);
    m_cancel->setObjectName(QStringLiteral("Command11"));
    buttons->addWidget(ok);
    buttons->addWidget(m_cancel);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    const int first = std::clamp(firstRow - 1, 0, m_students->count() - 1);
    m_students->setCurrentIndex(first);
    fillFields(first);
    connect(m_students, &QComboBox::currentIndexChanged, this, &StudentInfoDialog::fillFields);
    FitTitle(this);
}

void StudentInfoDialog::fillFields(int index) {
    m_shown = index;
    const StudentRecord& s = m_book.StudentOf(index + 1);
    m_note->setPlainText(s.note.noteText());
    m_id->setText(s.id.text());
    m_showAs->setChecked(s.showAsId != 0);
}

void StudentInfoDialog::writeBack(QObject* field) {
    StudentRecord& s = m_book.StudentOf(m_shown + 1);
    if (field == m_id) s.id = m_id->text();
    if (field == m_note) s.note.assignNote(m_note->toPlainText());
}

bool StudentInfoDialog::eventFilter(QObject* watched, QEvent* event) {
    if (FieldLeft(event, m_cancel)) writeBack(watched);
    return QDialog::eventFilter(watched, event);
}

// Enter presses "Ok" without taking the focus from the field, so the field is written here.
void StudentInfoDialog::accept() {
    writeBack(focusWidget());
    ShowNamesAsChosen(m_book);
    m_book.MarkModified();
    QDialog::accept();
}

void StudentInfoDialog::reject() {
    m_book.students() = m_saved;
    QDialog::reject();
}
