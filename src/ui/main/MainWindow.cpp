#include "MainWindow.h"

#include "BusyCursor.h"
#include "ControlPanel.h"
#include "GradeTableView.h"
#include "Prompter.h"
#include "WindowIcon.h"
#include "core/NewGradebook.h"
#include "core/Security.h"
#include "grading/Calculation.h"
#include "grading/Refresh.h"
#include "ui/dialogs/HelpWindow.h"
#include "ui/dialogs/SecurityRulesDialog.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

MainWindow::MainWindow(std::shared_ptr<Prompter> prompter, QWidget* parent)
    : QMainWindow(parent),
      m_prompter(prompter ? std::move(prompter) : std::make_shared<DialogPrompter>()),
      m_book(new Gradebook(this)), m_table(new GradeTableView(*m_book)),
      m_editor(new CellEditor(m_table)), m_panel(new ControlPanel), m_sidePanel(m_panel),
      m_resizeTimer(new QTimer(this)), m_iconTimer(new QTimer(this)) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Quillmark"));

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
    scroll->setWidget(m_panel);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    scroll->setMaximumWidth(m_panel->sizeHint().width() +
                            scroll->verticalScrollBar()->sizeHint().width());
    m_sidePanel = scroll;
    layout->addWidget(scroll, 2);
    setCentralWidget(central);
    m_editor->hide();

    ResetToNew(*m_book, m_libraries);
    buildMenus();
    connectPanel();
    connectEditor();

    // The window icon: a quill that writes, frame by frame.
    m_iconFrames = WindowIconFrames();
    setWindowIcon(m_iconFrames[0]);
    m_iconTimer->setInterval(150);
    connect(m_iconTimer, &QTimer::timeout, this, &MainWindow::animateIcon);
    m_iconTimer->start();

    m_resizeTimer->setSingleShot(true);
    m_resizeTimer->setInterval(100);
    connect(m_resizeTimer, &QTimer::timeout, this, &MainWindow::RefreshCurrentCell);

    RecalcAll(*m_book);
    m_table->setCurrentCell(1, 1);
    m_book->setModified(false);
    resize(1000, 640);
}

MainWindow::~MainWindow() {
    // The editor's focus-lost signal would otherwise reach a window being destroyed.
    disconnect(m_editor, nullptr, this, nullptr);
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
    action(file, tr("&New"), "new", &MainWindow::newCommand, QKeySequence::New);
    action(file, tr("&Open"), "open", &MainWindow::openCommand, QKeySequence::Open);
    m_saveAction = action(
        file, tr("&Save"), "save", [this] { saveCommand(); }, QKeySequence(tr("Ctrl+S")));
    action(file, tr("Save &As"), "saveas", [this] { AskSaveAs(); });
    file->addSeparator();
    action(file, tr("E&xit"), "exit", [this] { close(); });
    m_recentSeparator = file->addSeparator();
    m_recentSeparator->setObjectName(QStringLiteral("sse1"));
    m_recentSeparator->setVisible(false);
    for (int i = 0; i < int(m_recentActions.size()); ++i) {
        QAction* item = file->addAction(QString());
        item->setObjectName(QStringLiteral("ofi%1").arg(i));
        item->setVisible(false);
        connect(item, &QAction::triggered, this, [this, i] { openRecent(i); });
        m_recentActions[std::size_t(i)] = item;
    }

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("edit"));
    action(
        edit, tr("Cu&t"), "cut", [this] { copyCell(true); }, QKeySequence(tr("Ctrl+X")));
    action(
        edit, tr("&Copy"), "copy", [this] { copyCell(false); }, QKeySequence(tr("Ctrl+C")));
    action(
        edit, tr("&Paste"), "paste", [this] { pasteCell(); }, QKeySequence(tr("Ctrl+V")));

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
    m_hideControlsAction =
        action(view, tr("&Hide Controls"), "HideCon", &MainWindow::toggleHideControls);
    m_hideControlsAction->setCheckable(true);
    action(view, tr("&Font"), "fon", &MainWindow::chooseFont);
    action(view, tr("&Refresh"), "ref", &MainWindow::refreshCommand, QKeySequence(Qt::Key_F5));

    QMenu* student = menuBar()->addMenu(tr("&Student"));
    student->setObjectName(QStringLiteral("student"));
    action(student, tr("&Rename"), "renstud",
           [this] { startHeaderEdit(2, m_table->currentRow(), 1); });

    QMenu* test = menuBar()->addMenu(tr("&Test"));
    test->setObjectName(QStringLiteral("test"));
    action(test, tr("&New"), "newtest", &MainWindow::addTest);
    m_deleteTestAction = action(test, tr("&Delete"), "deltest", &MainWindow::deleteTests);
    action(test, tr("&Rename"), "renn",
           [this] { startHeaderEdit(1, 1, m_table->currentColumn()); });
    m_setScaleAction = action(test, tr("&Set Scale"), "setscale", &MainWindow::onScaleClicked);
    m_testInfoAction = action(test, tr("&Information"), "moreinfo", &MainWindow::onTestInfoClicked);
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
    helpButton->setAutoRaise(true);
    connect(helpButton, &QToolButton::clicked, this, &MainWindow::showHelp);
    menuBar()->setCornerWidget(helpButton);
    syncViewMenus();
}

void MainWindow::syncViewMenus() {
    const ViewState& v = m_book->view();
    for (int i = 0; i < 3; ++i)
        m_displayActions[std::size_t(i)]->setChecked(int(v.displayMode) == i);
    const bool edit = v.workingMode == WorkingMode::Edit;
    m_modeActions[0]->setChecked(edit);
    m_modeActions[1]->setChecked(!edit);
    for (auto* a : m_modeActions)
        a->setEnabled(!m_hideControls);
    m_averagingActions[0]->setChecked(UsesScoresRule(*m_book));
    m_averagingActions[1]->setChecked(!UsesScoresRule(*m_book));
    m_showPercentAction->setChecked(v.showTotalScores);
    m_hideControlsAction->setChecked(m_hideControls);
}

void MainWindow::refreshCommand() {
    BusyCursor busy;
    const Result sorted = Refresh(*m_book, m_table->currentColumn());
    if (!sorted) m_prompter->tell(this, sorted.message());
    RefreshCurrentCell();
}

void MainWindow::showWorkingMode() {
    const int mode = m_book->view().workingMode == WorkingMode::Edit ? 0 : 1;
    m_panel->mode[std::size_t(mode)]->setChecked(true);
    onWorkingModeClicked(mode);
}

void MainWindow::onWorkingModeClicked(int mode) {
    m_book->view().workingMode = mode == 0 ? WorkingMode::Edit : WorkingMode::Analyze;
    const bool edit = mode == 0;
    m_panel->studentAndTest->setVisible(edit && !m_hideControls);
    m_panel->chartArea->setVisible(!edit && !m_hideControls);
    syncViewMenus();
    if (m_editor->isVisible() && m_editor->isEnabled()) {
        m_editor->raise();
        focusEditor();
    }
}

void MainWindow::onDisplayModeClicked(int mode) {
    if (m_book->panelUpdating()) return;
    if (!CheckAccess(ChangeGradingRules)) {
        RefreshCurrentCell(); // puts the stored mode back
        return;
    }
    m_book->view().displayMode = DisplayMode(mode);
    m_book->MarkModified();
    {
        BusyCursor busy;
        RecalcAll(*m_book);
    }
    RefreshCurrentCell();
}

void MainWindow::toggleHideControls() {
    m_hideControls = !m_hideControls;
    m_sidePanel->setVisible(!m_hideControls);
    showWorkingMode();
    m_resizeTimer->start(); // the table changed its width
}

void MainWindow::chooseFont() {
    const std::optional<FontChoice> choice =
        m_prompter->font(this, m_table->font(), m_table->palette().color(QPalette::Text));
    if (!choice) return;
    applyTextColor(choice->color);
    applyFont(choice->font);
}

void MainWindow::applyFont(const QFont& font) {
    // The panel's name label keeps the panel's own font: only the table and its editor change.
    m_table->setFont(font);
    m_table->horizontalHeader()->setFont(font);
    m_table->verticalHeader()->setFont(font);
    m_editor->setFont(font);
    RefreshCurrentCell();
}

void MainWindow::applyTextColor(const QColor& color) {
    for (QWidget* w : {static_cast<QWidget*>(m_table), static_cast<QWidget*>(m_editor)}) {
        QPalette palette = w->palette();
        palette.setColor(QPalette::Text, color);
        w->setPalette(palette);
    }
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
