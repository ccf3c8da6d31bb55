#pragma once

#include "CellEditor.h"
#include "core/Gradebook.h"
#include "core/Libraries.h"
#include "core/Result.h"
#include "storage/Settings.h"

#include <QMainWindow>
#include <QStringList>

#include <array>
#include <memory>

class ControlPanel;

// True when the trimmed name is not empty and names an existing file or folder.
bool FileExists(const QString& name);

class GradeTableView;
class Prompter;
class QAction;
class QActionGroup;
class QKeyEvent;
class QMenu;
class QTimer;

// The main window: the table of grades over the one open gradebook, the floating editor, and
// the panels that follow the current cell.
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

    // Brings the panels and the editor in line with the table's current cell.
    void RefreshCurrentCell();
    // The one gate of every guarded operation: true when it may go ahead, after asking for
    // the password when the gradebook is locked for `rule`.
    bool CheckAccess(int rule);
    // The Refresh command: recalculate, sort, refresh the panel.
    void refreshCommand();
    // Start-up after construction: settings, libraries, the gradebook named by the command
    // line (its words joined by blanks) or the one used last, the window where it was.
    void startUp(const QStringList& arguments);
    // Reads the libraries from `dir` instead of the usual places (tests, the command line).
    void setLibraryDir(const QString& dir) { m_libraryDir = dir; }

    // File commands. ConfirmSave answers whether the command may go on: not after Cancel, nor
    // when the save chosen with Yes failed or was refused.
    bool ConfirmSave();
    bool AskSaveAs();
    bool saveCommand();
    void newCommand();
    void openCommand();
    void openRecent(int index);
    const QStringList& recentFiles() const { return m_settings.recentFiles; }

    // Adds a blank test in front of the current column ("&New" of the test panel).
    void addTest();
    // Deletes the selected tests (whole columns) or the current one, after asking.
    void deleteTests();
    // Inserts a student above the current one; deletes the selected students or the current one.
    void insertStudent();
    void deleteStudents();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Files and settings.
    void readLibraries();
    void readGradebook(const QString& path, bool reportMissing);
    bool writeGradebook(const QString& path);
    void setCaptionFromFile();
    void refreshRecentMenu();
    void reportSettingsFailure(const Result& result);
    AppSettings currentSettings() const;

    // Construction.
    void buildMenus();
    void connectPanel();
    void connectEditor();

    // The editor and navigation.
    void refreshPanelAndEditor();
    void placeEditor(int row, int col);
    void onTableKey(QKeyEvent* event);
    void onEditorFocusLost(Qt::FocusReason reason);
    void focusEditor();
    void hideEditor();
    void onEditorEdited(const QString& text);
    void stepHorizontal(int direction);
    void stepVertical(int direction);
    void moveCurrentCell(int dRow, int dCol);
    void endHeaderEdit();
    void startHeaderEdit(int kind, int row, int col);
    void followScroll();

    // Panel commands.
    void onMaxScoreEdited(const QString& text);
    void onMaxScoreFinished();
    void onImportanceChosen(int index);
    void onCalculateGradesClicked();
    void onIgnoreClicked();
    void onNameAsIdClicked();
    void onShowTotalClicked();
    void onAveragingClicked(int rule);
    void onDisplayModeClicked(int mode);
    void onWorkingModeClicked(int mode);
    // Shows the document's working mode on the mode buttons and panels, as a click would.
    void showWorkingMode();
    void onSortRuleChosen();
    void applyStudentCount();
    void onScaleClicked();
    void onSetImportanceClicked();
    void onTestInfoClicked();
    void toggleHideControls();
    void chooseFont();
    void applyFont(const QFont& font);
    void applyTextColor(const QColor& color);
    void showSecurityRules();
    void showHelp();
    void showAbout();
    void copyCell(bool cut);
    void pasteCell();
    void syncViewMenus();
    void Authorize();
    void animateIcon();

    // Selection helpers, in document coordinates.
    bool wholeColumnsSelected() const;
    bool wholeRowsSelected() const;
    QList<int> selectedTestColumns() const;
    QList<int> selectedRows() const;

    std::shared_ptr<Prompter> m_prompter;
    Libraries m_libraries;
    Gradebook* m_book;
    GradeTableView* m_table;
    CellEditor* m_editor;
    ControlPanel* m_panel;
    QWidget* m_sidePanel;

    int m_headerEditKind = 0; // 0 none, 1 test names, 2 student names
    bool m_inEditorChange = false;
    bool m_hideControls = false;
    bool m_startingUp = false;
    bool m_refreshing = false;
    bool m_refreshAgain = false;
    bool m_applyingCount = false;
    QPoint m_cellBeforeReshape{1, 1}; // x: column, y: row

    QTimer* m_resizeTimer; // refreshes the panel and the editor once a resize is over

    QTimer* m_iconTimer;
    int m_iconFrame = 0;
    std::array<QIcon, 4> m_iconFrames;

    AppSettings m_settings;
    QString m_libraryDir;
    std::array<QAction*, MaxRecentFiles> m_recentActions{};
    QAction* m_recentSeparator = nullptr;
    QAction* m_saveAction = nullptr;
    std::array<QAction*, 2> m_modeActions{};
    std::array<QAction*, 3> m_displayActions{};
    std::array<QAction*, 2> m_averagingActions{};
    QAction* m_hideControlsAction = nullptr;
    QAction* m_showPercentAction = nullptr;
    QAction* m_calculateGradesAction = nullptr;
    QAction* m_setScaleAction = nullptr;
    QAction* m_testInfoAction = nullptr;
    QAction* m_deleteTestAction = nullptr;
};
