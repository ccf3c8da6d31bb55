#include "LibraryDialog.h"

#include "HelpWindow.h"
#include "NewScaleDialog.h"
#include "storage/EditableLibrary.h"
#include "ui/main/Prompter.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

LibraryDialog::LibraryDialog(EditableLibrary& library, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_library(library), m_prompter(prompter), m_list(new QListWidget(this)) {
    setObjectName(QStringLiteral("LibraryDialog"));
    // The same title and labels for scales and importance sets.
    setWindowTitle(tr("Default Scales"));
    OfferHelp(this, QStringLiteral("dialogs.html#library"));
    auto* layout = new QGridLayout(this);
    auto* label = new QLabel(tr("Scales:"), this);
    label->setBuddy(m_list);
    m_list->setAccessibleName(label->text().chopped(1));
    layout->addWidget(label, 0, 0);
    m_list->setObjectName(QStringLiteral("List1"));
    layout->addWidget(m_list, 1, 0, 5, 1);
    // Room for a typical name and a screenful of entries at any font size.
    const QFontMetrics metrics = m_list->fontMetrics();
    m_list->setMinimumSize(metrics.averageCharWidth() * 34, metrics.lineSpacing() * 10);
    const char* captions[] = {"&Add Current", "&Close", "&Delete", "&Load"};
    // Load first, as the usual way out; Close last.
    const Button order[] = {Load, AddCurrent, Delete, Close};
    for (int row = 0; row < 4; ++row) {
        const Button b = order[row];
        auto* button = new QPushButton(tr(captions[b]), this);
        button->setObjectName(QStringLiteral("Command1%1").arg(int(b)));
        layout->addWidget(button, row + 1, 1);
        m_buttons[std::size_t(b)] = button;
    }
    layout->setRowStretch(5, 1);
    m_buttons[Load]->setDefault(true);

    for (int i = 0; i < m_library.count(); ++i)
        m_list->addItem(m_library.name(i));
    if (m_list->count() == 0)
        m_buttons[Load]->setEnabled(false);
    else
        m_list->setCurrentRow(0);
    updateButtons();

    connect(m_list, &QListWidget::currentRowChanged, this, &LibraryDialog::updateButtons);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &LibraryDialog::load);
    connect(m_buttons[Load], &QPushButton::clicked, this, &LibraryDialog::load);
    connect(m_buttons[Close], &QPushButton::clicked, this, &QDialog::reject);
    connect(m_buttons[Delete], &QPushButton::clicked, this, &LibraryDialog::deleteEntry);
    connect(m_buttons[AddCurrent], &QPushButton::clicked, this, &LibraryDialog::addCurrent);
    FitTitle(this);
}

void LibraryDialog::updateButtons() {
    const int selected = m_list->currentRow();
    // The first two entries are the defaults of new tests and new gradebooks.
    m_buttons[Delete]->setEnabled(selected >= 2);
    m_buttons[AddCurrent]->setEnabled(selected < MaxLibraryEntries);
}

void LibraryDialog::load() {
    m_chosen = m_list->currentRow();
    accept();
}

void LibraryDialog::deleteEntry() {
    if (m_prompter.ask(this, tr("Deleting a Scale"), QMessageBox::Ok | QMessageBox::Cancel) !=
        QMessageBox::Ok)
        return;
    const int selected = m_list->currentRow();
    if (selected < 2) return;
    const Result written = m_library.remove(selected);
    delete m_list->takeItem(selected);
    // The entry is gone from memory as from the list, written or not; a failed write is said.
    if (!written) m_prompter.tell(this, written.message(), QMessageBox::Critical);
}

void LibraryDialog::addCurrent() {
    m_chosen = -1;
    const std::optional<QString> name = NewScaleDialog::AskName(this);
    if (!name) return;
    m_library.renameEdited(*name);
    const bool wasFull = m_library.full();
    const Result added = m_library.appendEdited();
    if (!wasFull) {
        m_list->addItem(m_library.name(m_library.count() - 1));
        m_buttons[Load]->setEnabled(true);
    }
    if (!added)
        m_prompter.tell(this, added.message(),
                        wasFull ? QMessageBox::NoIcon : QMessageBox::Critical);
}

namespace {

int Choose(QWidget* parent, Prompter& prompter, EditableLibrary& library) {
    const QString read = library.read();
    if (!read.isEmpty()) prompter.tell(parent, read);
    LibraryDialog dialog(library, prompter, parent);
    dialog.exec();
    return dialog.chosenIndex();
}

} // namespace

int ChooseFromLibrary(QWidget* parent, Prompter& prompter, Libraries& libraries, GradeScale& edited,
                      const QString& overrideDir) {
    EditableLibrary library(libraries, edited, overrideDir);
    return Choose(parent, prompter, library);
}

int ChooseFromLibrary(QWidget* parent, Prompter& prompter, Libraries& libraries,
                      ImportanceSet& edited, const QString& overrideDir) {
    EditableLibrary library(libraries, edited, overrideDir);
    return Choose(parent, prompter, library);
}
