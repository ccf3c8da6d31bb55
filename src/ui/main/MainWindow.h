#pragma once

#include "CellEditor.h"
#include "core/Gradebook.h"
#include "core/Libraries.h"

#include <QMainWindow>
#include <QStringList>

#include <array>
#include <memory>

class CellEditing;
class DialogCommands;
class ClipboardCommands;
class ControlPanel;
class FileCommands;
class GradeTableView;
class OutputCommands;
class PanelCommands;
class Prompter;
class QAction;
class QMenu;
class QTimer;
class TableCommands;
class TableMouse;
class TextExchangeCommands;
class UndoCommands;
class GradingToolCommands;
class RecoveryCommands;

// The main window: the table of grades over the one open gradebook, the floating editor, and
// the panels that follow the current cell. It builds the menus and holds what every part
// reads; the commands live in the collaborators it composes: files, cell editing, table
// commands, the clipboard and the panels.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Without a prompter the real message boxes and file dialogs are used.
    explicit MainWindow(std::shared_ptr<Prompter> prompter = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    Gradebook& gradebook() { return *m_book; }
    GradeTableView* table() const { return m_table; }
    CellEditor* editor() const { return m_editor; }
    ControlPanel* panel() const { return m_panel; }
    Libraries& libraries() { return m_libraries; }
    Prompter& prompter() { return *m_prompter; }

    FileCommands& fileCommands() { return *m_files; }
    CellEditing& cellEditing() { return *m_editing; }
    TableCommands& tableCommands() { return *m_tableCommands; }
    ClipboardCommands& clipboardCommands() { return *m_clipboard; }
    TableMouse& tableMouse() { return *m_mouse; }
    PanelCommands& panelCommands() { return *m_panelCommands; }
    TextExchangeCommands& textExchangeCommands() { return *m_textExchange; }
    DialogCommands& dialogCommands() { return *m_dialogs; }
    OutputCommands& outputCommands() { return *m_output; }
    UndoCommands& undoCommands() { return *m_undo; }
    RecoveryCommands& recoveryCommands() { return *m_recovery; }

    // Brings the panels, the menus and the editor in line with the table's current cell.
    void RefreshCurrentCell();
    // The same once the event loop has settled (after a resize, say).
    void refreshSoon();
    // The one gate of every guarded operation: true when it may go ahead, after asking for
    // the password when the gradebook is locked for `rule`.
    bool CheckAccess(int rule);
    // The Refresh command: recalculate, sort, refresh the panel.
    void refreshCommand();
    // The password asked for once, after a gradebook is opened; the protected names come back.
    void Authorize();
    // The menu marks that mirror the document's view options.
    void syncViewMenus();
    // The same for a box applied as the focus leaves it: the focus stays where it went.
    void RefreshLeavingFocus();
    bool focusStays() const { return m_focusStays; }

    // Start-up after construction; see FileCommands.
    void startUp(const QStringList& arguments);
    // Reads the libraries from `dir` instead of the usual places (tests, the command line).
    void setLibraryDir(const QString& dir);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildMenus();
    void addClipboardItems(QMenu* menu, const char* separatorName, const char* prefix);
    void refreshPanelAndEditor();
    void showSecurityRules();
    void showHelp();
    void showAbout();
    void animateIcon();

    std::shared_ptr<Prompter> m_prompter;
    bool m_focusStays = false;
    Libraries m_libraries;
    Gradebook* m_book;
    GradeTableView* m_table;
    CellEditor* m_editor;
    ControlPanel* m_panel;

    FileCommands* m_files = nullptr;
    CellEditing* m_editing = nullptr;
    TableCommands* m_tableCommands = nullptr;
    ClipboardCommands* m_clipboard = nullptr;
    TableMouse* m_mouse = nullptr;
    DialogCommands* m_dialogs = nullptr;
    PanelCommands* m_panelCommands = nullptr;
    TextExchangeCommands* m_textExchange = nullptr;
    OutputCommands* m_output = nullptr;
    UndoCommands* m_undo = nullptr;
    RecoveryCommands* m_recovery = nullptr;
    GradingToolCommands* m_gradingTools = nullptr;

    bool m_refreshing = false;
    bool m_refreshAgain = false;
    QPoint m_cellBeforeReshape{1, 1}; // x: column, y: row
    QTimer* m_resizeTimer;            // refreshes the panel and the editor once a resize is over

    QTimer* m_iconTimer;
    int m_iconFrame = 0;
    std::array<QIcon, 4> m_iconFrames;

    std::array<QAction*, 2> m_modeActions{};
    std::array<QAction*, 3> m_displayActions{};
    std::array<QAction*, 2> m_averagingActions{};
    QAction* m_hideControlsAction = nullptr;
    QAction* m_showPercentAction = nullptr;
    QAction* m_calculateGradesAction = nullptr;
    QAction* m_setScaleAction = nullptr;
    QAction* m_studentInfoAction = nullptr;
    QAction* m_testInfoAction = nullptr;
    QAction* m_deleteTestAction = nullptr;
};
