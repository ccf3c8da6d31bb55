#include "MainWindow.h"

#include "BusyCursor.h"
#include "CellEditing.h"
#include "ClipboardCommands.h"
#include "ControlPanel.h"
#include "DialogCommands.h"
#include "FileCommands.h"
#include "GradeTableView.h"
#include "GradingToolCommands.h"
#include "OutputCommands.h"
#include "PanelCommands.h"
#include "Prompter.h"
#include "RecoveryCommands.h"
#include "TableCommands.h"
#include "TableMouse.h"
#include "TextExchangeCommands.h"
#include "UndoCommands.h"
#include "WindowIcon.h"
#include "core/NewGradebook.h"
#include "core/Security.h"
#include "grading/Calculation.h"
#include "grading/Refresh.h"
#include "ui/dialogs/HelpWindow.h"
#include "ui/dialogs/PasswordDialog.h"
#include "ui/dialogs/SecurityRulesDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

MainWindow::MainWindow(std::shared_ptr<Prompter> prompter, QWidget* parent)
    : QMainWindow(parent),
      m_prompter(prompter ? std::move(prompter) : std::make_shared<DialogPrompter>()),
      m_book(new Gradebook(this)), m_table(new GradeTableView(*m_book)),
      m_editor(new CellEditor(m_table)), m_panel(new ControlPanel), m_resizeTimer(new QTimer(this)),
      m_iconTimer(new QTimer(this)) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Quillmark[*]"));

    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 6);
    // Widths go by the stretch factors alone: the panels take two fifths of the width up to
    // their own width, so in a narrow window the table keeps the most of it.
    m_table->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);
    layout->addWidget(m_table, 3);
    // The panels scroll rather than forcing the window larger than a small screen.
    auto* scroll = new QScrollArea(central);
    scroll->setObjectName(QStringLiteral("SidePanel"));
    scroll->setAccessibleName(tr("Panels"));
    scroll->setWidget(m_panel);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    scroll->setMaximumWidth(m_panel->sizeHint().width() +
                            scroll->verticalScrollBar()->sizeHint().width());
    layout->addWidget(scroll, 2);
    setCentralWidget(central);
    m_editor->hide();

    ResetToNew(*m_book, m_libraries);
    m_files = new FileCommands(*this);
    m_editing = new CellEditing(*this);
    m_tableCommands = new TableCommands(*this);
    m_clipboard = new ClipboardCommands(*this);
    m_panelCommands = new PanelCommands(*this, scroll);
    m_textExchange = new TextExchangeCommands(*this);
    m_dialogs = new DialogCommands(*this);
    m_output = new OutputCommands(*this);
    m_undo = new UndoCommands(*this);
    m_recovery = new RecoveryCommands(*this);
    m_gradingTools = new GradingToolCommands(*this);
    connect(m_book, &Gradebook::modifiedChanged, this, &QWidget::setWindowModified);
    buildMenus();
    m_mouse = new TableMouse(*this);
    connect(m_panel->refresh, &QPushButton::clicked, this, &MainWindow::refreshCommand);
    connect(m_panel->newTest, &QPushButton::clicked, m_tableCommands, &TableCommands::addTest);
    connect(m_panel->deleteTest, &QPushButton::clicked, m_tableCommands,
            &TableCommands::deleteTests);
    connect(m_panel->studentButtons[0], &QPushButton::clicked, m_tableCommands,
            &TableCommands::deleteStudents);
    connect(m_panel->studentButtons[1], &QPushButton::clicked, m_tableCommands,
            &TableCommands::insertStudent);
    connect(m_panel->studentButtons[2], &QPushButton::clicked, m_dialogs,
            &DialogCommands::studentInformation);
    connect(m_panel->scale, &QPushButton::clicked, m_dialogs, &DialogCommands::setScale);
    connect(m_panel->setImportance, &QPushButton::clicked, m_dialogs,
            &DialogCommands::setImportance);
    connect(m_panel->info, &QPushButton::clicked, m_dialogs, &DialogCommands::testInformation);
    m_undo->watchCommands(menuBar(), m_panel);
    m_undo->watchMenu(findChild<QMenu*>(QStringLiteral("popGrade")));
    connect(m_table->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &MainWindow::RefreshCurrentCell);
    connect(m_table, &QAbstractItemView::clicked, this, &MainWindow::RefreshCurrentCell);
    // A reshape resets the table's model; the current cell stays, or moves to the nearest one.
    connect(m_book, &Gradebook::aboutToReshape, this, [this] {
        m_cellBeforeReshape = {m_table->currentColumn(), m_table->currentRow()};
    });
    connect(m_book, &Gradebook::reshaped, this, [this] {
        m_table->setCurrentCell(std::min(m_cellBeforeReshape.y(), m_book->rowCount() - 1),
                                std::min(m_cellBeforeReshape.x(), m_book->columnCount() - 1));
    });

    // The window icon: a quill that writes, frame by frame.
    m_iconFrames = WindowIconFrames();
    setWindowIcon(m_iconFrames[0]);
    m_iconTimer->setInterval(150);
    connect(m_iconTimer, &QTimer::timeout, this, &MainWindow::animateIcon);
    m_iconTimer->start();

    m_resizeTimer->setSingleShot(true);
    m_resizeTimer->setInterval(100);
    connect(m_resizeTimer, &QTimer::timeout, this, &MainWindow::RefreshCurrentCell);

    // After the panels, Tab reaches the chart's choices and then the table's editor, which
    // keeps Tab for itself; Alt with a panel letter leads out again.
    QWidget* previous = m_panel->sortRule[1];
    for (QWidget* next :
         {findChild<QWidget*>(QStringLiteral("GraphOpt0")),
          findChild<QWidget*>(QStringLiteral("GraphOpt1")), static_cast<QWidget*>(m_editor)}) {
        setTabOrder(previous, next);
        previous = next;
    }

    RecalcAll(*m_book);
    m_table->setCurrentCell(1, 1);
    m_book->setModified(false);
    m_undo->clear();
    ResizeWithinScreen(this, {1000, 640});
}

MainWindow::~MainWindow() {
    // The editor's focus-lost signal would otherwise reach collaborators being destroyed.
    disconnect(m_editor, nullptr, nullptr, nullptr);
}

void MainWindow::buildMenus() {
    auto action = [this](QMenu* menu, const QString& text, const char* name, auto slot,
                         const QKeySequence& keys = {}) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        if (!keys.isEmpty()) a->setShortcut(keys);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };

    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("file"));
    action(
        file, tr("&New"), "new", [this] { m_files->newCommand(); }, QKeySequence::New);
    action(
        file, tr("&Open"), "open", [this] { m_files->openCommand(); }, QKeySequence::Open);
    action(
        file, tr("&Save"), "save", [this] { m_files->saveCommand(); }, QKeySequence(tr("Ctrl+S")));
    action(file, tr("Save &As"), "saveas", [this] { m_files->AskSaveAs(); });
    file->addSeparator();
    action(file, tr("&Export"), "exp_imp0", [this] { m_textExchange->exportText(); });
    action(file, tr("&Import"), "exp_imp1", [this] { m_textExchange->importText(); });
    file->addSeparator();
    action(
        file, tr("&Print"), "prr", [this] { m_output->PrintTable(); }, QKeySequence(tr("Ctrl+P")));
    file->addSeparator();
    action(file, tr("E&xit"), "exit", [this] { close(); });
    m_files->addRecentItems(file);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    m_undo->addActions(edit);
    edit->setObjectName(QStringLiteral("edit"));
    action(
        edit, tr("Cu&t"), "cut", [this] { m_clipboard->copy(true); }, QKeySequence(tr("Ctrl+X")));
    action(
        edit, tr("&Copy"), "copy", [this] { m_clipboard->copy(false); },
        QKeySequence(tr("Ctrl+C")));
    action(
        edit, tr("&Paste"), "paste", [this] { m_clipboard->paste(); }, QKeySequence(tr("Ctrl+V")));

    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->setObjectName(QStringLiteral("view"));
    const char* modeNames[] = {"&Edit Mode", "&Analyze Mode"};
    for (int i = 0; i < 2; ++i) {
        m_modeActions[std::size_t(i)] =
            action(view, tr(modeNames[i]), i == 0 ? "ed0" : "ed1",
                   [this, i] { m_panel->mode[std::size_t(i)]->click(); });
        m_modeActions[std::size_t(i)]->setCheckable(true);
    }
    view->addSeparator();
    const char* displayNames[] = {"Grades as &Numbers", "Grades as &Letters",
                                  "Grades as % of &MAX"};
    for (int i = 0; i < 3; ++i) {
        m_displayActions[std::size_t(i)] =
            action(view, tr(displayNames[i]),
                   i == 0   ? "gasn0"
                   : i == 1 ? "gasn1"
                            : "gasn2",
                   [this, i] { m_panel->displayMode[std::size_t(i)]->click(); });
        m_displayActions[std::size_t(i)]->setCheckable(true);
    }
    view->addSeparator();
    m_hideControlsAction = action(view, tr("&Hide Controls"), "HideCon",
                                  [this] { m_panelCommands->toggleHideControls(); });
    m_hideControlsAction->setCheckable(true);
    action(view, tr("&Font"), "fon", [this] { m_panelCommands->chooseFont(); });
    action(view, tr("&Refresh"), "ref", &MainWindow::refreshCommand, QKeySequence(Qt::Key_F5));

    QMenu* student = menuBar()->addMenu(tr("&Student"));
    student->setObjectName(QStringLiteral("student"));
    action(student, tr("I&nsert"), "inse", [this] { m_tableCommands->insertStudent(); });
    action(student, tr("&Delete"), "dele", [this] { m_tableCommands->deleteStudents(); });
    m_studentInfoAction =
        action(student, tr("&Informaton"), "inf", [this] { m_dialogs->studentInformation(); });
    action(student, tr("Print Student &Report"), "studentreport",
           [this] { m_output->printStudentReport(); });
    const auto renameStudent = [this] { m_editing->startHeaderEdit(2, m_table->currentRow(), 1); };
    action(student, tr("&Rename"), "renstud", renameStudent);
    addClipboardItems(student, "seep", "popS");

    QMenu* test = menuBar()->addMenu(tr("&Test"));
    test->setObjectName(QStringLiteral("test"));
    action(test, tr("&New"), "newtest", [this] { m_tableCommands->addTest(); });
    m_deleteTestAction =
        action(test, tr("&Delete"), "deltest", [this] { m_tableCommands->deleteTests(); });
    const auto renameTest = [this] { m_editing->startHeaderEdit(1, 1, m_table->currentColumn()); };
    action(test, tr("&Rename"), "renn", renameTest);
    // The Rename items show only in the menus over the table; from the keyboard, F2 renames the
    // current test and Shift+F2 the current student.
    const auto windowKey = [this](const QKeySequence& keys, auto slot) {
        auto* key = new QAction(this);
        key->setShortcut(keys);
        connect(key, &QAction::triggered, this, slot);
        addAction(key);
    };
    windowKey(QKeySequence(Qt::Key_F2), renameTest);
    windowKey(QKeySequence(Qt::ShiftModifier | Qt::Key_F2), renameStudent);
    addClipboardItems(test, "separat", "popT");
    m_setScaleAction =
        action(test, tr("&Set Scale"), "setscale", [this] { m_dialogs->setScale(); });
    m_testInfoAction =
        action(test, tr("&Information"), "moreinfo", [this] { m_dialogs->testInformation(); });
    action(test, tr("C&urve Scores..."), "curve", [this] { m_gradingTools->curve(); });
    m_calculateGradesAction = action(test, tr("Calculate &Grades"), "gradetest",
                                     [this] { m_panel->calculateGrades->click(); });
    m_calculateGradesAction->setCheckable(true);

    QMenu* total = menuBar()->addMenu(tr("T&otal"));
    total->setObjectName(QStringLiteral("fina"));
    const char* ruleNames[] = {"Average Normalized &Scores", "Average Normalized &Grades"};
    for (int i = 0; i < 2; ++i) {
        m_averagingActions[std::size_t(i)] =
            action(total, tr(ruleNames[i]), i == 0 ? "ars0" : "ars1",
                   [this, i] { m_panel->averagingRule[std::size_t(i)]->click(); });
        m_averagingActions[std::size_t(i)]->setCheckable(true);
    }
    total->addSeparator();
    m_showPercentAction = action(total, tr("Sho&w Score %"), "showpercent",
                                 [this] { m_panel->showTotalScores->click(); });
    m_showPercentAction->setCheckable(true);
    total->addSeparator();
    action(total, tr("&Drop Lowest Scores..."), "droplowest",
           [this] { m_gradingTools->dropLowest(); });

    QAction* security = menuBar()->addAction(tr("Sec&urity!"));
    security->setObjectName(QStringLiteral("security"));
    connect(security, &QAction::triggered, this, &MainWindow::showSecurityRules);

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("help"));
    action(help, tr("&Contents"), "inde", &MainWindow::showHelp, QKeySequence::HelpContents);
    action(help, tr("&About Quillmark"), "about", &MainWindow::showAbout);
    // The Help picture at the right of the menu bar.
    auto* helpButton = new QToolButton(menuBar());
    helpButton->setObjectName(QStringLiteral("Helpi"));
    helpButton->setText(QStringLiteral("?"));
    helpButton->setToolTip(tr("Help"));
    helpButton->setAccessibleName(tr("Help"));
    helpButton->setAutoRaise(true);
    connect(helpButton, &QToolButton::clicked, this, &MainWindow::showHelp);
    menuBar()->setCornerWidget(helpButton);
    syncViewMenus();
}

void MainWindow::addClipboardItems(QMenu* menu, const char* separatorName, const char* prefix) {
    // The same cut, copy and paste as the Edit menu, after a separator. They and the Rename
    // item before them belong to the menu popped up over the table, not to the menu bar.
    menu->addSeparator()->setObjectName(QString::fromLatin1(separatorName));
    const auto item = [&](const QString& text, const char* name, auto slot) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(prefix) + QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
    };
    item(tr("Cu&t"), "Cut", [this] { m_clipboard->copy(true); });
    item(tr("&Copy"), "Copy", [this] { m_clipboard->copy(false); });
    item(tr("&Paste"), "Paste", [this] { m_clipboard->paste(); });
    const QList<QAction*> items = menu->actions();
    for (QAction* a : items.mid(items.size() - 5)) {
        a->setProperty("popupOnly", true);
        a->setVisible(false);
    }
    menu->addSeparator();
}

void MainWindow::syncViewMenus() {
    const ViewState& v = m_book->view();
    for (int i = 0; i < 3; ++i)
        m_displayActions[std::size_t(i)]->setChecked(int(v.displayMode) == i);
    const bool edit = v.workingMode == WorkingMode::Edit;
    m_modeActions[0]->setChecked(edit);
    m_modeActions[1]->setChecked(!edit);
    for (auto* a : m_modeActions)
        a->setEnabled(!m_panelCommands->controlsHidden());
    m_averagingActions[0]->setChecked(UsesScoresRule(*m_book));
    m_averagingActions[1]->setChecked(!UsesScoresRule(*m_book));
    m_showPercentAction->setChecked(v.showTotalScores);
    m_hideControlsAction->setChecked(m_panelCommands->controlsHidden());
}

void MainWindow::refreshCommand() {
    BusyCursor busy;
    const Result sorted = Refresh(*m_book, m_table->currentColumn());
    if (!sorted) m_prompter->tell(this, sorted.message());
    RefreshCurrentCell();
}

bool MainWindow::CheckAccess(int rule) {
    m_undo->ruleAsked(rule);
    if (!AccessNeeded(*m_book, rule)) return true;
    if (!PasswordDialog::Verify(m_book->security().password, *m_prompter, this)) return false;
    Unlock(*m_book);
    return true;
}

void MainWindow::RefreshLeavingFocus() {
    const QScopedValueRollback staying(m_focusStays, true);
    RefreshCurrentCell();
}

void MainWindow::RefreshCurrentCell() {
    if (!isVisible()) return;
    // Placing the editor moves the focus, and focus and current-cell handlers call back here:
    // a nested call only asks for one more pass once this one is done.
    if (m_refreshing) {
        m_refreshAgain = true;
        return;
    }
    const QScopedValueRollback<bool> refreshing(m_refreshing, true);
    for (int pass = 0; pass < 3; ++pass) {
        m_refreshAgain = false;
        refreshPanelAndEditor();
        if (!m_refreshAgain) break;
    }
}

void MainWindow::refreshPanelAndEditor() {
    const int r = m_table->currentRow();
    const int c = m_table->currentColumn();
    m_panelCommands->fill(r, c);
    m_editing->followCurrentCell(r, c);
    // The Test menu mirrors the test panel.
    m_setScaleAction->setEnabled(m_panel->scale->isEnabled());
    m_testInfoAction->setEnabled(m_panel->info->isEnabled());
    m_studentInfoAction->setEnabled(m_panel->studentButtons[2]->isEnabled());
    m_deleteTestAction->setEnabled(m_panel->deleteTest->isEnabled());
    if (c >= 2) m_calculateGradesAction->setChecked(m_panel->calculateGrades->isChecked());
    syncViewMenus();
}

void MainWindow::refreshSoon() {
    m_resizeTimer->start();
}

void MainWindow::showSecurityRules() {
    if (!CheckAccess(AnyRule)) return;
    SecurityRulesDialog dialog(m_book->security(), this);
    if (dialog.exec() == QDialog::Accepted) {
        m_book->security() = dialog.rules();
        Unlock(*m_book); // the password just set counts as given
        m_book->MarkModified();
    }
    RefreshCurrentCell();
}

void MainWindow::Authorize() {
    if (!CheckAccess(AnyRule)) {
        m_prompter->tell(this, QStringLiteral("Authorization was not verified.\n"
                                              "Certain restrictions will apply!"));
        return;
    }
    RestoreNames(*m_book);
    RefreshCurrentCell();
    // The names that come back are part of opening the gradebook, not a step to undo.
    m_undo->clear(!m_book->isModified());
}

void MainWindow::showHelp() {
    HelpWindow::Show(this);
}

void MainWindow::showAbout() {
    m_prompter->tell(
        this,
        tr("Quillmark %1\nA gradebook for teachers.").arg(QCoreApplication::applicationVersion()));
}

void MainWindow::animateIcon() {
    // Frames 3, 1, 2, 1: the quill dips and writes.
    static constexpr int order[] = {3, 1, 2, 1};
    m_iconFrame = (m_iconFrame + 1) % 4;
    setWindowIcon(m_iconFrames[std::size_t(order[m_iconFrame])]);
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::FontChange) RefreshCurrentCell();
    // Back from a message box or another program: the editor returns over its cell.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        QWidget* focus = QApplication::focusWidget();
        if (!focus || focus == m_editor || focus == m_table) RefreshCurrentCell();
    }
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    m_resizeTimer->start();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    RefreshCurrentCell();
}

// Start-up, as the program and the tests reach it.
void MainWindow::startUp(const QStringList& arguments) {
    m_files->startUp(arguments);
}
void MainWindow::setLibraryDir(const QString& dir) {
    m_files->setLibraryDir(dir);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_files->close()) {
        m_recovery->removeCopy(); // a normal exit leaves nothing to recover
        event->accept();
    } else {
        event->ignore();
    }
}
