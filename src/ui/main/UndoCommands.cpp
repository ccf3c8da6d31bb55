#include "UndoCommands.h"

#include "ControlPanel.h"
#include "GradeTableView.h"
#include "MainWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

namespace {

// A menu item's or button's text as a step's name: "&Delete Test..." is "Delete Test".
QString stepName(QString text) {
    text.remove(u'&');
    while (text.endsWith(u'.') || text.endsWith(u'!'))
        text.chop(1);
    return text.trimmed();
}

// The name of a menu item's step: the Student and Test menus' short verbs name their object,
// as in "Delete Test" and "Student Information".
QString itemStepName(const QString& item, const QString& menu) {
    const QString name = stepName(item);
    const QString object = stepName(menu);
    if (name.startsWith(u"Inform"_s)) return object + u" Information"_s;
    static const QStringList verbs = {u"New"_s, u"Insert"_s, u"Delete"_s, u"Rename"_s};
    return verbs.contains(name) ? name + u' ' + object : name;
}

} // namespace

UndoCommands::UndoCommands(MainWindow& window)
    : QObject(&window), m_window(window), m_book(window.gradebook()), m_history(m_book) {
    // A change no command names (a drag, a menu over the table) becomes a step of its own once
    // the event that made it is handled.
    connect(&m_book, &Gradebook::cellsChanged, this, &UndoCommands::commitSoon);
    connect(&m_book, &Gradebook::reshaped, this, &UndoCommands::commitSoon);
    connect(&m_book, &Gradebook::geometryChanged, this, &UndoCommands::commitSoon);
    connect(&m_book, &Gradebook::modifiedChanged, this, &UndoCommands::commitSoon);
    // Typing grows its step until the editor leaves the cell.
    connect(window.table()->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { m_growing.reset(); });
}

void UndoCommands::addActions(QMenu* edit) {
    m_undo = edit->addAction(tr("&Undo"));
    m_undo->setObjectName(u"undo"_s);
    m_undo->setShortcut(QKeySequence::Undo);
    connect(m_undo, &QAction::triggered, this, &UndoCommands::undo);
    m_redo = edit->addAction(tr("&Redo"));
    m_redo->setObjectName(u"redo"_s);
    m_redo->setShortcuts({QKeySequence(u"Ctrl+Y"_s), QKeySequence(u"Ctrl+Shift+Z"_s)});
    connect(m_redo, &QAction::triggered, this, &UndoCommands::redo);
    edit->addSeparator();
    afterChange();
}

void UndoCommands::watchCommands(QMenuBar* menus, ControlPanel* panel) {
    // Connected after the commands' own handlers, so each runs when its command is done.
    for (QAction* a : menus->actions()) {
        if (a->menu())
            watchMenu(a->menu());
        else
            connect(a, &QAction::triggered, this, [this, a] { commandDone(stepName(a->text())); });
    }

    // The panel's buttons by what they do, as the menus name it; the others by their text.
    const QList<std::pair<QAbstractButton*, QString>> named = {
        {panel->studentButtons[0], tr("Delete Student")},
        {panel->studentButtons[1], tr("Insert Student")},
        {panel->studentButtons[2], tr("Student Information")},
        {panel->newTest, tr("New Test")},
        {panel->deleteTest, tr("Delete Test")},
        {panel->scale, tr("Set Scale")},
        {panel->info, tr("Test Information")},
        {panel->setImportance, tr("Importance Groups")},
        {panel->refresh, tr("Refresh")}};
    for (QAbstractButton* b : panel->findChildren<QAbstractButton*>()) {
        if (b->group()) continue;
        QString name = stepName(b->text());
        for (const auto& [button, text] : named)
            if (button == b) name = text;
        connect(b, &QAbstractButton::clicked, this, [this, name] { commandDone(name); });
    }
    for (QButtonGroup* group : panel->findChildren<QButtonGroup*>())
        connect(group, &QButtonGroup::buttonClicked, this,
                [this](QAbstractButton* b) { commandDone(stepName(b->text())); });
    connect(panel->importance, &QComboBox::activated, this,
            [this] { commandDone(tr("Importance")); });
    connect(panel->sortRule[0], &QComboBox::activated, this,
            [this] { commandDone(tr("Sort Students")); });
    connect(panel->sortRule[1], &QComboBox::activated, this,
            [this] { commandDone(tr("Sort Tests")); });
    connect(panel->studentCount, &QLineEdit::editingFinished, this,
            [this] { commandDone(tr("Number of Students")); });
    // The maximum score follows each key, as a typed score does: one step for the box.
    connect(panel->maxScore, &QLineEdit::textEdited, this, [this] {
        const int col = m_window.table()->currentColumn();
        growingChange(tr("Maximum Score"), u"max %1"_s.arg(col), {1, col});
    });
    connect(panel->maxScore, &QLineEdit::editingFinished, this,
            [this] { commandDone(tr("Maximum Score")); });
}

void UndoCommands::watchMenu(QMenu* menu) {
    for (QAction* a : menu->actions()) {
        if (a->menu()) {
            watchMenu(a->menu());
        } else if (!a->isSeparator() && a != m_undo && a != m_redo) {
            connect(a, &QAction::triggered, this,
                    [this, a, menu] { commandDone(itemStepName(a->text(), menu->title())); });
        }
    }
}

void UndoCommands::commandDone(const QString& name) {
    if (m_moving) return;
    const GradeTableView* table = m_window.table();
    if (m_history.commit(name, {table->currentRow(), table->currentColumn()}, m_rule))
        m_growing.reset();
    m_rule = History::NoRule;
    afterChange();
}

void UndoCommands::growingChange(const QString& name, const QString& key, StepPlace place) {
    if (m_moving) return;
    const bool goingOn = m_growing == key;
    if (m_history.commit(name, place, goingOn ? History::NoRule : m_rule, goingOn) || goingOn)
        m_growing = key;
    m_rule = History::NoRule;
    afterChange();
}

void UndoCommands::typedIn(int row, int col) {
    ruleAsked(EditScores); // typing is refused while scores are locked
    const QString student = m_book.GetCellText(row, 0);
    const QString test = m_book.GetCellText(0, col);
    growingChange(tr("Typing in %1 / %2").arg(student, test), u"typing %1 %2"_s.arg(row).arg(col),
                  {row, col});
}

void UndoCommands::ruleAsked(int rule) {
    if (m_rule == History::NoRule) m_rule = rule;
}

void UndoCommands::clear(bool saved) {
    m_history.clear(saved);
    m_growing.reset();
    m_rule = History::NoRule;
    afterChange();
}

void UndoCommands::saved() {
    commandDone(tr("Change"));
    m_history.markSaved();
    m_growing.reset();
    afterChange();
}

void UndoCommands::commitSoon() {
    if (m_moving || m_commitQueued) return;
    m_commitQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_commitQueued = false;
        commandDone(tr("Change"));
    });
}

void UndoCommands::undo() {
    go(false);
}

void UndoCommands::redo() {
    go(true);
}

void UndoCommands::go(bool forward) {
    commandDone(tr("Change"));
    if (!(forward ? m_history.canRedo() : m_history.canUndo())) return;
    // A step that needed a password to be done needs it to be taken back or done again.
    const int rule = forward ? m_history.redoRule() : m_history.undoRule();
    if (rule != History::NoRule && !m_window.CheckAccess(rule)) return;
    m_rule = History::NoRule;
    std::optional<StepPlace> place;
    {
        m_moving = true;
        place = forward ? m_history.redo() : m_history.undo();
        m_moving = false;
    }
    m_growing.reset();
    if (place) {
        const int row = std::clamp(place->row, 0, m_book.rowCount() - 1);
        const int col = std::clamp(place->col, 0, m_book.columnCount() - 1);
        m_window.table()->setCurrentCell(row, col);
    }
    m_window.RefreshCurrentCell();
    afterChange();
}

void UndoCommands::afterChange() {
    if (m_history.canUndo() || m_history.canRedo() || m_history.isAtSaved())
        m_book.setModified(!m_history.isAtSaved());
    if (!m_undo) return;
    m_undo->setEnabled(m_history.canUndo());
    m_undo->setText(m_history.canUndo() ? tr("&Undo %1").arg(m_history.undoName()) : tr("&Undo"));
    m_redo->setEnabled(m_history.canRedo());
    m_redo->setText(m_history.canRedo() ? tr("&Redo %1").arg(m_history.redoName()) : tr("&Redo"));
}
