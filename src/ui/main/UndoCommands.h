#pragma once

#include "core/History.h"

#include <QObject>
#include <QString>

#include <optional>

class ControlPanel;
class Gradebook;
class MainWindow;
class QAction;
class QMenu;
class QMenuBar;

// Undo and Redo over the document's history. Each menu item and panel control that changes the
// document makes one step named after it; typing in one cell, or in the maximum-score box,
// grows one step until it moves on. A change no command names still becomes a step.
class UndoCommands : public QObject {
    Q_OBJECT
public:
    explicit UndoCommands(MainWindow& window);

    History& history() { return m_history; }
    // "&Undo" and "&Redo" at the top of the Edit menu.
    void addActions(QMenu* edit);
    // Makes every item of the menus and every control of the panel a named step.
    void watchCommands(QMenuBar* menus, ControlPanel* panel);
    // The same for a menu of its own, such as the one over the table's cells.
    void watchMenu(QMenu* menu);

    // What changed since the last step becomes one step named `name`.
    void commandDone(const QString& name);
    // A change that grows one step while the same `key` goes on: typing in a cell.
    void growingChange(const QString& name, const QString& key, StepPlace place);
    // The editor wrote into (row, col).
    void typedIn(int row, int col);
    // A protection rule the current command asked for: its undo and redo ask for it too.
    void ruleAsked(int rule);

    // The document starts over (New, Open, Import): nothing to undo; whether it is as saved.
    void clear(bool saved = true);
    // The document was saved as it is.
    void saved();

    void undo();
    void redo();

private:
    // After a step or a move through the history: the modified flag, the menu items.
    void afterChange();
    void commitSoon();
    void go(bool forward);

    MainWindow& m_window;
    Gradebook& m_book;
    History m_history;
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
    std::optional<QString> m_growing; // the key of the step still growing
    int m_rule = History::NoRule;
    bool m_commitQueued = false;
    bool m_moving = false; // undo or redo is putting a step back
};
