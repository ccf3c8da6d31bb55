// The main window driven as the teacher meets it: the table and its editor, the panel, the
// commands, files, text exchange and protection, and how it all fits on the screen; text boxes
// that keep to what a gradebook file can hold, the real message boxes, font dialog and help.
#include "LargeClass.h"
#include "WindowSession.h"
#include "core/NumberText.h"
#include "core/ScoreCell.h"
#include "core/Security.h"
#include "grading/Calculation.h"
#include "output/BarChartView.h"
#include "output/TestChart.h"
#include "storage/GradebookFile.h"
#include "storage/Recovery.h"
#include "storage/Settings.h"
#include "storage/Windows1252.h"
#include "ui/dialogs/HelpWindow.h"
#include "ui/dialogs/ImportanceGroupsDialog.h"
#include "ui/dialogs/SetScaleDialog.h"
#include "ui/dialogs/StudentInfoDialog.h"
#include "ui/dialogs/TestInfoDialog.h"
#include "ui/dialogs/TextExchangeSetupDialog.h"
#include "ui/main/NameHeader.h"
#include "ui/main/RecoveryCommands.h"
#include "ui/main/ScoreCellDelegate.h"
#include "ui/main/TextEntry.h"
#include "ui/main/UndoCommands.h"

#include <QAbstractItemModelTester>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMimeData>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolButton>
#include <QToolTip>

using namespace Qt::Literals::StringLiterals;
using namespace TestSupport;
using Setup = TextExchangeSetupDialog;

namespace {

// Answers the text exchange setup dialog once it is open over `s`'s window: runs `step`, then
// "&Ok" or "&Cancel".
void AnswerSetup(Session& s, bool ok, std::function<void(Setup*)> step = {}) {
    WhenOpen<Setup>(
        [=](Setup* dialog) {
            if (step) step(dialog);
            QTest::mouseClick(dialog->findChild<QPushButton*>(ok ? u"Command10"_s : u"Command11"_s),
                              Qt::LeftButton);
        },
        &s.window);
}

// Keeps the name the Save dialog proposed, and cancels it.
struct PresetPrompter : ScriptedPrompter {
    QString preset;
    QString saveFileName(QWidget*, const QString& name, const QString&, const QString&) override {
        preset = name;
        return {};
    }
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path(u"settings"_s));
    }
    // Every test starts from an empty settings store.
    void init() { QDir(path(u"settings"_s)).removeRecursively(); }
    // A new window shows an empty class, its Total column an inch (1500 twips) wide, and says
    // nothing. The panel shows a test's controls or the Total's; what both share stays put.
    // Tab walks every panel control in reading order, past the boxes that apply when left,
    // and ends in the table's editor; a box left by a click keeps no focus either. In both
    // modes every control has a name to be read out.
    void panelFollowsTheColumnAndTabWalksIt() {
        Session s;
        ControlPanel* p = s.panel;
        QCOMPARE(s.window.windowTitle(), u"Quillmark[*]"_s);
        QCOMPARE(s.table->findChild<QLabel*>(u"NameCorner"_s)->text(), u"Name"_s);
        QCOMPARE(p->studentCount->text(), u"7"_s);
        QCOMPARE(s.table->horizontalHeader()->sectionSize(0), s.table->logicalDpiX() * 1500 / 1440);
        QVERIFY(!s.book.isModified() && s.prompter->told.isEmpty());
        s.addTests(1);
        const QList<const QWidget*> shared{
            p->studentName, p->nameAsId, p->studentCount,     p->maxScore,          p->ignoreGrade,
            p->newTest,     p->scale,    p->setImportance,    p->studentButtons[1], p->deleteTest,
            p->info,        p->general,  p->studentButtons[0]};
        QList<QRect> onTest;
        for (const int col : {2, 1}) {
            s.clickCell(3, col);
            const bool test = col > 1;
            // On a test its own controls, on the totals theirs; Max Score always in view.
            QCOMPARE((QList{p->importance->isVisible(), p->calculateGrades->isVisible(),
                            p->maxScore->isEnabled(), p->ignoreGrade->isEnabled(),
                            p->deleteTest->isEnabled(), s.editor()->isVisible(),
                            !p->showTotalScores->isVisible(), !p->averaging->isVisible()}),
                     QList<bool>(8, test));
            QCOMPARE(p->testFrame->title(),
                     test ? u"Current Test: Test  1"_s : u"Current Test: None"_s);
            QVERIFY(p->maxScore->isVisible() && p->averagingRule[0]->isEnabled() &&
                    p->studentButtons[0]->isEnabled());
            QList<QRect> places;
            for (const QWidget* w : shared)
                places << QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
            if (test) onTest = places;
            QCOMPARE(places, onTest);
        }
        s.table->setCurrentCell(1, 2);
        QApplication::setActiveWindow(&s.window);
        p->nameAsId->setFocus();
        QStringList seen;
        while (seen.size() < 30 && QApplication::focusWidget() != s.window.editor()) {
            seen << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(seen.join(u' '), u"ID NumStud Stue0 Stue1 Stue2 Stud0 Studl DoGrading Include "
                                  u"Command3 Del Scal More SetImportance mode0 Upd Option3D10 "
                                  u"srule0 srule1"_s);
        p->maxScore->setFocus();
        p->sortRule[0]->setFocus(Qt::MouseFocusReason);
        QCOMPARE(QApplication::focusWidget(), p->sortRule[0]);
        QCOMPARE(Unnamed(&s.window), QStringList());
        s.trigger(u"ed1"_s);
        QCOMPARE(Unnamed(&s.window), QStringList());
    }

    // The model passes Qt's model checks and repaints only the cell or name that changed.
    void modelFollowsTheDocument() {
        Gradebook book;
        GradeTableModel model(book);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QSignalSpy headers(&model, &QAbstractItemModel::headerDataChanged);
        book.setShape(4, 3);
        QCOMPARE(QList({model.rowCount(), model.columnCount()}), QList({3, 2}));
        book.SetCellText(2, 2, u"85"_s);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toModelIndex(), model.index(1, 1));
        book.SetCellText(0, 2, u"Quiz"_s);
        book.SetCellText(3, 0, u"Ada"_s);
        QCOMPARE(std::tuple(headers.count(), model.headerData(1, Qt::Horizontal).toString(),
                            model.headerData(2, Qt::Vertical).toString()),
                 std::tuple(2, u"Quiz"_s, u"Ada"_s));
    }

    // Each key typed updates the score and the total; "x" and "X" toggle ignoring the score. In
    // the Analyze mode the chart follows the current cell, what is typed and its buttons.
    void typingUpdatesScoreTotalAndChart() {
        Session s;
        s.panel->displayMode[1]->click(); // letters
        s.addTests(1);
        s.clickCell(2, 2);
        QVERIFY(s.editor()->hasFocus());
        // Typed, then the score and the total.
        for (const auto& [typed, cells] :
             {std::pair(u"8"_s, u"8      (F)|8%     (F)"_s),
              std::pair(u"5"_s, u"85     (B)|85%    (B)"_s), std::pair(u"x"_s, u"85     (B)x|"_s),
              std::pair(u"X"_s, u"85     (B)|85%    (B)"_s), std::pair(u"\b\b"_s, u"|"_s)}) {
            // "X" with Shift, as a keyboard sends it.
            typed == u"X" ? QTest::keyClick(s.editor(), 'X', Qt::ShiftModifier) : s.type(typed);
            QCOMPARE(s.cell(2, 2) + u'|' + s.cell(2, 1), cells);
            QCOMPARE(s.panel->ignoreGrade->isChecked(), typed == u"x");
            QCOMPARE(s.editor()->text(), s.score(2, 2));
        }
        QVERIFY(s.book.isModified());
        // Renaming, "x" is a letter, and double quotes, which would break the file's quoted
        // text, become apostrophes.
        s.clickHeader(Qt::Horizontal, 1);
        s.editor()->selectAll();
        s.type(u"\"Quiz\" x"_s);
        QCOMPARE(s.cell(0, 2), u"'Quiz' x"_s);
        QVERIFY(s.book.isIncluded(1, 2));

        s.panel->mode[1]->click();
        auto* chart = s.window.findChild<BarChartView*>(u"Graph1"_s);
        auto* figures = s.window.findChild<QLabel*>(u"TestStatistics"_s);
        s.typeAt(3, 2, u"85"_s);
        QCoreApplication::processEvents(); // one pass, before any later refresh of the panel
        QVERIFY(chart->chartData() == TestChart(s.book, 2));
        QVERIFY(figures->isVisible() && figures->text().startsWith(u"Scores:\u00a01"_s));
        s.window.findChild<QRadioButton*>(u"GraphOpt1"_s)->click();
        QVERIFY(!figures->isVisible() && int(s.book.view().chartSubject) == 1); // in the file
        QCOMPARE(chart->chartData().bars.at(1).value, 85.0); // the student of the current row
    }

    // Enter goes down; an arrow moves the caret until it is at the text's end, or leaves at once
    // when the whole text is selected, as it is in a cell just entered; never off the table.
    void enterAndArrowsLeaveTheCell() {
        Session s(2);
        s.clickCell(1, 2);
        // Typed, a key pressed so many times, then the current cell. After "64" the caret is at
        // its end: Left moves it to 1 and 0 before it leaves.
        const std::tuple<QString, Qt::Key, int, std::pair<int, int>> steps[] = {
            {u"70"_s, Qt::Key_Return, 1, {2, 2}}, {u"64"_s, Qt::Key_Left, 2, {2, 2}},
            {{}, Qt::Key_Left, 1, {2, 1}},        {{}, Qt::Key_Right, 1, {2, 3}},
            {{}, Qt::Key_Right, 1, {2, 3}},       {{}, Qt::Key_Up, 2, {1, 3}},
            {{}, Qt::Key_Down, 9, {7, 3}},        {{}, Qt::Key_Left, 1, {7, 2}}};
        for (const auto& [typed, key, times, cell] : steps) {
            s.type(typed);
            s.key(key, times);
            QCOMPARE(s.current(), cell);
            QCOMPARE(s.editor()->isVisible(), s.col() > 1); // no editor over a total
            if (s.col() == 1) s.clickCell(2, 2);
        }
        QVERIFY(s.cell(1, 2).startsWith(u"70 "_s) && s.cell(2, 2).startsWith(u"64 "_s));
    }

    // Every key leaves the editor in its own cell or walks the names it renames, at both ends of
    // the table; whatever is typed next lands there and nowhere else.
    void keysWalkOnlyWhereTheyShould_data() {
        // Start on the score (3, 3), or renaming a test or a student (header section); typedAt
        // is the (col, row) of the cell that gets "7".
        const Table<QString, int, QKeyCombination, QPoint> add("start", "section", "key",
                                                               "typedAt");
        const QString score = u"score"_s, test = u"test"_s, student = u"student"_s;
        add("score Tab", score, 0, Qt::Key_Tab, {3, 3});
        add("score Page Down", score, 0, Qt::Key_PageDown, {3, 3});
        add("score F2 renames its test", score, 0, Qt::Key_F2, {3, 0});
        add("score Shift+F2 renames its student", score, 0, Qt::ShiftModifier | Qt::Key_F2, {0, 3});
        add("first test Left", test, 1, Qt::Key_Left, {2, 0});
        add("first test Shift+Tab", test, 1, Qt::ShiftModifier | Qt::Key_Backtab, {2, 0});
        add("last test Right", test, 3, Qt::Key_Right, {4, 0});
        add("test Up", test, 2, Qt::Key_Up, {3, 0});
        add("test Right", test, 2, Qt::Key_Right, {4, 0});
        add("test Enter", test, 2, Qt::Key_Return, {3, 1});
        add("first student Up", student, 0, Qt::Key_Up, {0, 1});
        add("last student Down", student, 6, Qt::Key_Down, {0, 7});
        add("student Left", student, 2, Qt::Key_Left, {0, 3});
        add("student Enter", student, 2, Qt::Key_Return, {0, 4});
    }
    void keysWalkOnlyWhereTheyShould() {
        auto [start, section, key, typedAt] = Fetch<QString, int, QKeyCombination, QPoint>();
        Session s(3);
        if (start == u"score")
            s.clickCell(3, 3);
        else
            s.clickHeader(start == u"test" ? Qt::Horizontal : Qt::Vertical, section);
        QTest::keyClick(s.editor(), key.key(), key.keyboardModifiers());
        const bool renaming = typedAt.x() == 0 || typedAt.y() == 0; // "7" goes to a name
        QCOMPARE(s.book.headerEditing() != HeaderEditing::Off, renaming);
        QVERIFY(s.editor()->hasFocus() && !(renaming && s.table->selectionModel()->hasSelection()));
        // The editor lies over what it edits: a name in its header, or a score.
        QVERIFY(s.shownOn(typedAt)->geometry().contains(s.editor()->geometry().center()));
        s.editor()->selectAll();
        s.type(u"7"_s);
        for (int r = 0; r < s.book.rowCount(); ++r)
            for (int c = 0; c < s.book.columnCount(); ++c)
                QCOMPARE(s.cell(r, c).startsWith(u'7'), QPoint(c, r) == typedAt);
        QCOMPARE(Row(s.book, 0).mid(0, 2), (QStringList{u"Name"_s, u"Total"_s}));
    }

    // Keys typed while the table itself has the focus start the current score's editor, and
    // never search the table for a cell that starts with them; locked scores take no key.
    void typingOnTheTableWritesOnlyTheCurrentScore() {
        Session s(1);
        s.typeColumn(2, {u"45"_s, u"30"_s, u"4"_s});
        const auto got = [&] { return QStringList{s.score(1, 2), s.score(2, 2), s.score(3, 2)}; };
        // Whatever a click on a name makes current, keys typed on the table change no other cell.
        s.clickCell(2, 2);
        s.clickHeader(Qt::Vertical, 1, false);
        s.table->setFocus();
        s.typeAtFocus(u"49"_s);
        QCOMPARE(s.row(), 2);
        QCOMPARE(got(), Items(s.col() == 2 ? u"45|49|4"_s : u"45|30|4"_s));
        const QStringList before = got();
        s.lock(EditScores);
        s.clickCell(3, 2);
        QVERIFY(!s.editor()->isVisible());
        s.table->setFocus();
        s.typeAtFocus(u"3"_s);
        QCOMPARE(s.row(), 3);
        QCOMPARE(got(), before);
    }

    // The panel's button and the menu item delete the current test, also while its score is
    // being edited; the cell stays in its column, now the next test's.
    void deletingTheCurrentTest() {
        Session s(4);
        const QStringList names = Row(s.book, 0).mid(2);
        s.prompter->answers << QMessageBox::Ok << QMessageBox::Ok;
        for (const bool button : {true, false}) {
            s.clickCell(2, 3);
            QVERIFY(s.editor()->hasFocus());
            button ? s.click(s.panel->deleteTest) : s.trigger(u"deltest"_s);
            QCOMPARE(s.col(), 3);
        }
        QCOMPARE(Row(s.book, 0).mid(2), (QStringList{names[0], names[3]}));
    }

    // The editor stays with its cell: through a message box, a window too narrow for its
    // column, a resize that scrolls it away, and each change of its text.
    void editorStaysWithItsCell() {
        Session s(2);
        s.clickCell(2, 2);
        CellEditor* editor = s.editor();
        QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(editor, &away);
        QVERIFY(editor->isVisible());
        s.type(u"85"_s);
        editor->home(false);
        s.type(u"1"_s);
        QCOMPARE(std::pair(editor->text(), editor->cursorPosition()), std::pair(u"185"_s, 3));
        // A column wider than the table still gets its editor, over the part in view.
        GradeTableView* table = s.table;
        s.book.setColumnWidth(3, table->pixelsToTwips(table->viewport()->width() * 2));
        s.clickCell(1, 3);
        QVERIFY(editor->isVisible() && table->viewport()->geometry().contains(editor->geometry()));
        // Shrunk until the cell is out of sight, the editor goes once the resize is over.
        s.book.setShape(41, s.book.columnCount());
        table->scrollTo(table->gradeModel()->indexOf(1, 2));
        s.clickCell(table->rowAt(table->viewport()->height() - 1), 2);
        QVERIFY(editor->isVisible());
        s.window.resize(s.window.width(), s.window.height() / 2);
        QTRY_VERIFY(!editor->isVisible());
    }

    // A new maximum grades the column's scores again, not only the totals; Copy keeps the
    // score, Cut empties its cell; the font goes to the table and its editor with its colour,
    // the panel keeping its own; the 401st test is refused.
    void panelAndEditCommands() {
        Session s(1);
        s.typeColumn(2, {u"80"_s});
        const QString graded = s.cell(1, 2);
        s.clickCell(1, 2);
        s.retype(s.panel->maxScore, u"160"_s);
        QCOMPARE(s.book.TestOf(2).maxScore, 160.0f);
        QVERIFY(s.score(1, 2) == u"80"_s && s.cell(1, 2) != graded);
        s.clickCell(1, 2);
        for (const QString& command : {u"copy"_s, u"cut"_s}) {
            QGuiApplication::clipboard()->clear();
            s.trigger(command);
            QCOMPARE(QGuiApplication::clipboard()->text(), u"80\r\n"_s);
        }
        QCOMPARE(s.cell(1, 2), QString());
        QFont big = s.table->font();
        big.setPointSize(20);
        s.prompter->fontChoice = FontChoice{big, QColor(Qt::darkRed)};
        const QFont panelFont = s.panel->studentName->font();
        s.trigger(u"fon"_s);
        QCOMPARE(std::tuple(s.table->font().pointSize(), s.editor()->font().pointSize(),
                            s.table->palette().color(QPalette::Text), s.panel->studentName->font()),
                 std::tuple(20, 20, QColor(Qt::darkRed), panelFont));
        AddTests(s.book, 400 - s.book.testCount(), s.window.libraries());
        s.addTests(1);
        QCOMPARE(s.told(0) + QString::number(s.book.testCount()), u"Too many tests!400"_s);
    }

    // Whole tests travel with their parameters into another window; a cut deletes them without
    // a question; a block pastes into the selection only; locked scores refuse a paste.
    void clipboardCarriesScoresAndParameters() {
        Session a(2), b(3);
        a.typeColumn(2, {u"40"_s, u"35"_s});
        a.book.TestOf(2).maxScore = 50;
        a.book.TestOf(3).maxScore = 20; // each selected column takes its own test's
        a.select(1, 2, 7, 3);
        a.trigger(u"popTCopy"_s);
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(mime->data(u"TestParams"_s).size(), 2 * 3420);
        QVERIFY(!mime->hasFormat(u"StudentParams"_s));
        QCOMPARE(mime->text().section(u"\r\n"_s, 0, 1),
                 a.cell(0, 2) + u'\t' + a.cell(0, 3) + u"\r\n40\t"_s);
        b.select(1, 3, 7, 4);
        b.prompter->answers << QMessageBox::Yes << QMessageBox::No;
        b.trigger(u"paste"_s);
        QCOMPARE(b.prompter->asked, QStringList{u"Paste Test parameters too?"_s});
        QCOMPARE(std::tuple(b.book.TestOf(3).maxScore, b.book.TestOf(4).maxScore, b.cell(0, 3),
                            b.score(2, 3), b.cell(1, 2)),
                 std::tuple(50.f, 20.f, a.cell(0, 2), u"35"_s, QString())); // not beside
        // No keeps the parameters and names but still pastes the scores.
        const QString name2 = b.cell(0, 2);
        b.select(1, 2, 7, 2);
        b.trigger(u"paste"_s);
        QCOMPARE(std::tuple(b.prompter->asked.size(), b.book.TestOf(2).maxScore, b.cell(0, 2),
                            b.score(1, 2)),
                 std::tuple(qsizetype(2), 100.f, name2, u"40"_s));
        a.trigger(u"cut"_s);
        QVERIFY(a.book.testCount() == 0 && a.prompter->asked.isEmpty());
        QGuiApplication::clipboard()->setText(u"11\t12\r\n13\t14\r\n"_s);
        b.clickCell(2, 4);
        b.trigger(u"paste"_s);
        QCOMPARE(QStringList({b.score(2, 4), b.cell(3, 4), b.score(2, 3)}), Items(u"11||35"_s));
        b.lock(EditScores);
        AnswerPassword(QString());
        b.trigger(u"paste"_s);
        QCOMPARE(b.told(0), u"Security violation!"_s);
    }

    // The right button opens the menu of what it points at, selecting that first unless it is
    // already inside the selection. The Menu key on the current cell opens the cell's menu.
    void rightButtonMenus_data() {
        // At (col, row): row 0 a test's name, col 0 a student's.
        const Table<QPoint, QString, bool, bool> row("at", "menu", "wholeColumns", "wholeRows");
        row("score", QPoint(3, 2), u"popGrade"_s, false, false);
        row("Menu key on the current cell", QPoint(2, 2), u"popGrade"_s, false, false);
        row("test name", QPoint(3, 0), u"test"_s, true, false);
        row("student name", QPoint(0, 2), u"student"_s, false, true);
        row("Total", QPoint(1, 0), u"fina"_s, true, false);
    }
    void rightButtonMenus() {
        auto [at, menu] = Fetch<QPoint, QString>();
        Session s(2);
        s.clickCell(2, 2);
        QString shown;
        int extras = 0; // Rename, Cut, Copy, Paste and a separator appear only over the table
        QTimer::singleShot(50, [&] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                shown = popup->objectName();
                for (QAction* a : popup->actions())
                    extras += a->isVisible() && a->property("popupOnly").toBool();
                popup->close();
            }
        });
        // The event goes where the window system sends it: the widget under the pointer, or
        // the editor, which has the focus, for the Menu key.
        QWidget* target = at == QPoint(2, 2) ? s.window.editor() : s.shownOn(at);
        if (auto* area = qobject_cast<QAbstractScrollArea*>(target)) target = area->viewport();
        const QRect cell = s.table->visibleCellRect(at.y(), at.x()).value();
        const QPoint pos = target->mapFrom(s.table, cell.center());
        QContextMenuEvent event(at == QPoint(2, 2) ? QContextMenuEvent::Keyboard
                                                   : QContextMenuEvent::Mouse,
                                pos, target->mapToGlobal(pos));
        QApplication::sendEvent(target, &event);
        QCOMPARE(shown, menu);
        QCOMPARE(extras, menu == u"test"_s || menu == u"student"_s ? 5 : 0);
        QVERIFY(!s.action(u"popTCut"_s)->isVisible() && !s.action(u"renstud"_s)->isVisible());
        QTEST(s.table->wholeColumnsSelected(), "wholeColumns");
        QTEST(s.table->wholeRowsSelected(), "wholeRows");
    }

    // A test dragged by its name moves with its scores; a click on a name selects its line.
    void testsMoveAndNamesSelect() {
        Session s(3);
        s.typeColumn(2, {u"12"_s});
        const QStringList names = Row(s.book, 0).mid(2);
        QHeaderView* header = s.table->horizontalHeader();
        QWidget* strip = header->viewport();
        const auto nameOf = [&](int col) {
            return QPoint(header->sectionViewportPosition(col - 1) + 5, 5);
        };
        // Two presses on different names arm no drag; a second press on the same one does.
        QTest::mouseClick(strip, Qt::LeftButton, {}, nameOf(2));
        QTest::mousePress(strip, Qt::LeftButton, {}, nameOf(3));
        QVERIFY(!header->sectionsMovable());
        QTest::mouseRelease(strip, Qt::LeftButton, {}, nameOf(3));
        const auto drag = [&](int from, QPoint to) {
            QTest::mouseClick(strip, Qt::LeftButton, {}, nameOf(from));
            QTest::mousePress(strip, Qt::LeftButton, {}, nameOf(from));
            // A move with the button held, which QTest::mouseMove does not send.
            QMouseEvent move(QEvent::MouseMove, to, strip->mapToGlobal(to), Qt::NoButton,
                             Qt::LeftButton, {});
            QApplication::sendEvent(strip, &move);
            const QCursor pointer = strip->cursor();
            QTest::mouseRelease(strip, Qt::LeftButton, {}, to);
            QCoreApplication::processEvents();
            return std::pair(pointer.shape(), pointer.hotSpot());
        };
        const QPoint pastTheEnd(strip->width() - 2, 5);
        const auto refused = drag(2, pastTheEnd + QPoint(0, 60)); // dropped off the names
        QCOMPARE(Row(s.book, 0).mid(2), names);
        const auto taken = drag(2, pastTheEnd); // the first test to the last place
        QCOMPARE(taken.first, Qt::BitmapCursor);
        QVERIFY(taken.second != refused.second); // a pointer of its own for each
        const QStringList moved{names[1], names[2], names[0]};
        QCOMPARE(Row(s.book, 0).mid(2) << s.score(1, 4), moved + QStringList{u"12"_s});
        QCOMPARE(header->visualIndex(3), 3);   // the header shows the document's order again
        QCOMPARE(drag(2, nameOf(1)), refused); // nothing goes in front of the totals
        QCOMPARE(Row(s.book, 0).mid(2), moved);
        drag(4, nameOf(2)); // dropped on a test, it goes in front of it
        QCOMPARE(Row(s.book, 0).mid(2), names);
        s.clickHeader(Qt::Horizontal, 2, false);
        QVERIFY(s.table->wholeColumnsSelected());
        s.clickHeader(Qt::Vertical, 3, false);
        QVERIFY(s.table->wholeRowsSelected() && s.row() == 4);
    }

    void protectionRefusesAndRestores_data() {
        using Use = std::function<void(ControlPanel*)>;
        Columns<Use, int, int>("use", "rule", "col");
        const auto row = [](const char* tag, int col, int rule, const Use& use) {
            QTest::newRow(tag) << use << rule << col;
        };
        const int g = ChangeGradingRules;
        row("display mode", 2, g, [](auto* p) { p->displayMode[2]->click(); });
        row("calculate grades", 2, g, [](auto* p) { p->calculateGrades->click(); });
        row("ignore grade", 2, g, [](auto* p) { p->ignoreGrade->click(); });
        row("averaging rule", 1, g, [](auto* p) { p->averagingRule[1]->click(); });
        row("show total", 1, g, [](auto* p) { p->showTotalScores->click(); });
        row("maximum score", 2, EditScores, [](auto* p) { QTest::keyClicks(p->maxScore, u"5"_s); });
    }
    void protectionRefusesAndRestores() {
        auto [use, rule, col] = Fetch<std::function<void(ControlPanel*)>, int, int>();
        Session s(1);
        s.lock(rule);
        ControlPanel* p = s.panel;
        s.clickCell(1, col);
        // What the document and the controls say, to compare before and after.
        const auto state = [&] {
            QString text;
            QDebug(&text) << int(s.book.view().displayMode) << s.book.TestOf(2).calculateGrades
                          << s.book.isIncluded(1, 2) << s.book.totalSetup().importance
                          << s.book.view().showTotalScores << s.book.TestOf(2).maxScore
                          << p->displayModeGroup->checkedId() << p->calculateGrades->isChecked()
                          << p->ignoreGrade->isChecked() << p->averagingGroup->checkedId()
                          << p->showTotalScores->isChecked() << p->maxScore->text();
            return text;
        };
        const QString before = state();
        AnswerPassword(QString()); // refused: nothing changes, each control shows the data again
        use(p);
        QCOMPARE(state(), before);
        AnswerPassword(u"owl"_s); // given: the change goes ahead, and nothing is asked again
        use(p);
        QVERIFY(state() != before && !AccessNeeded(s.book, AnyRule));
    }

    // The dialogs open behind their rules, and what they answer reaches the document with the
    // recalculation it needs.
    void dialogsApplyTheirAnswers() {
        Session s(1);
        s.typeColumn(2, {u"40"_s, u"90"_s});
        s.clickCell(1, 2);
        s.lock(ChangeGradingRules);
        s.book.security().protect[AccessNames] = true;
        bool opened = false;
        s.whenOpen<QDialog>([&](QDialog* d) { opened = !qobject_cast<PasswordDialog*>(d); });
        for (const QString& item : {u"setscale"_s, u"inf"_s}) {
            AnswerPassword(QString());
            s.trigger(item);
        }
        QVERIFY(!opened);
        // Set Scale: the first grade deleted; 40 % falls in the next grade.
        const QString before = s.cell(1, 2);
        const int steps = s.book.TestOf(2).scale.count;
        AnswerPassword(u"owl"_s);
        s.whenOpen<SetScaleDialog>([&](SetScaleDialog* d) {
            s.prompter->answers << QMessageBox::Ok;
            d->findChild<QPushButton*>(u"InsDel1"_s)->click();
            d->accept();
        });
        s.panel->scale->click();
        QCOMPARE(s.book.TestOf(2).scale.count, steps - 1);
        const QString regraded = s.cell(1, 2);
        RecalcColumn(s.book, 2);
        QVERIFY(regraded != before && s.cell(1, 2) == regraded);
        QVERIFY(OpenSettingsStore()->value(u"Scale Geometry/Right"_s).toInt() > 0);
        // Importance Groups: OK without a change still counts as a change.
        s.book.setModified(false);
        s.whenOpen<ImportanceGroupsDialog>([](ImportanceGroupsDialog* d) { d->accept(); });
        s.panel->setImportance->click();
        QVERIFY(s.book.isModified());
        // Test Information from the menu: a new maximum, and the totals follow it.
        const QString total = s.cell(1, 1);
        s.whenOpen<TestInfoDialog>([](TestInfoDialog* d) {
            auto* box = d->findChild<QLineEdit*>(u"Text1"_s);
            box->setFocus();
            box->setText(u"50"_s);
            d->accept();
        });
        s.trigger(u"moreinfo"_s);
        QVERIFY(s.book.TestOf(2).maxScore == 50.0f && s.cell(1, 1) != total);
        // Student Information, the names' password now given.
        s.whenOpen<StudentInfoDialog>([](StudentInfoDialog* d) { d->reject(); });
        s.trigger(u"inf"_s);
        QVERIFY(!AccessNeeded(s.book, AnyRule));
    }

    // Typed into the student count box with the current cell at (6, 2); rows grown again hold
    // new students, nothing of those removed.
    void studentCountBox_data() {
        const Table<QString, int, int, bool, int> row("typed", "answer", "students", "asked",
                                                      "row");
        row("zero", u"0"_s, int(QMessageBox::Ok), 7, false, 6);
        row("101", u"101"_s, int(QMessageBox::Ok), 7, false, 6);
        row("100", u"100"_s, int(QMessageBox::Ok), 100, false, 6);
        row("shrink ok", u"5"_s, int(QMessageBox::Ok), 5, true, 5);
        row("shrink cancel", u"5"_s, int(QMessageBox::Cancel), 7, true, 6);
    }
    void studentCountBox() {
        auto [typed, answer, students, asked] = Fetch<QString, int, int, bool>();
        Session s(1);
        s.clickCell(6, 2);
        s.book.StudentOf(6).id = u"S-6"_s;
        s.book.setIncluded(6, 2, false);
        QLineEdit* box = s.panel->studentCount;
        // A real question takes the focus away from the box while it is open.
        s.prompter->onAsk = [&] { s.table->setFocus(); };
        s.prompter->answers << QMessageBox::StandardButton(answer);
        s.retype(box, typed);
        QCOMPARE(QList({s.book.studentCount(), box->text().toInt(), s.col()}),
                 QList({students, students, 2}));
        QCOMPARE(s.prompter->asked, QStringList(int(asked), u" 2 last row(s) will be lost!"_s));
        QTEST(s.row(), "row");
        s.retype(box, u"7"_s);
        QCOMPARE(s.book.StudentOf(7).includeFlags.raw(), QString(400, u'1'));
        QCOMPARE(s.book.StudentOf(6) == NewStudentRecord(), students < 6);
    }

    // A fresh row goes without a question; a student with a total is asked about; every
    // student selected and deleted leaves one row, which cannot be deleted.
    void studentsInsertedAndDeleted() {
        Session s(1);
        s.book.SetCellText(2, 0, u"Ada"_s);
        s.typeAt(2, 2, u"88"_s);
        s.trigger(u"inse"_s); // the Student menu does what the panel's button does
        QCOMPARE(Column(s.book, 0).mid(1, 2), Items(u"NewName|Ada"_s));
        QVERIFY(s.score(3, 2) == u"88"_s && s.panel->studentCount->text() == u"8"_s);
        s.trigger(u"dele"_s);
        QVERIFY(s.prompter->asked.isEmpty() && s.cell(2, 0) == u"Ada"_s);
        s.prompter->answers << QMessageBox::Cancel << QMessageBox::Ok;
        s.studentButton(0);
        QCOMPARE(s.cell(2, 0), u"Ada"_s);
        s.studentButton(0);
        QCOMPARE(s.prompter->asked, QStringList(2, u"Deleting Student: Ada"_s));
        QVERIFY(s.book.studentCount() == 6 && s.cell(2, 2).isEmpty());
        s.table->selectAll();
        s.prompter->answers << QMessageBox::Ok;
        for (const QString& told : {QString(), u"Can not delete last row!"_s}) {
            s.studentButton(0);
            QCOMPARE(s.told(0) + QString::number(s.book.studentCount()), told + u'1');
        }
    }

    void savePromptAnswers_data() {
        const Table<int, QString, bool> row("answer", "saveAs", "replaced");
        row("cancel", int(QMessageBox::Cancel), QString(), false);
        row("no", int(QMessageBox::No), QString(), true);
        row("yes", int(QMessageBox::Yes), u"yes.GRD"_s, true);
        row("yes, save as cancelled", int(QMessageBox::Yes), QString(), false);
        // A folder where the file should go: the save fails and the work stays.
        row("yes, save fails", int(QMessageBox::Yes), u"taken.GRD"_s, false);
    }
    void savePromptAnswers() {
        auto [answer, saveAs, replaced] = Fetch<int, QString, bool>();
        Session s(1);
        QDir(m_dir.path()).mkpath(u"taken.GRD"_s);
        s.prompter->answers << QMessageBox::StandardButton(answer);
        if (!saveAs.isEmpty()) s.prompter->fileNames << path(saveAs);
        s.files().newCommand();
        QCOMPARE(s.prompter->asked, QStringList{u"Save your work?"_s});
        QCOMPARE(std::pair(s.book.testCount(), s.book.isModified()),
                 std::pair(int(!replaced), !replaced));
        QCOMPARE(QFile::remove(path(u"yes.GRD"_s)), saveAs == u"yes.GRD");
        if (saveAs == u"taken.GRD")
            QVERIFY2(s.told(0).contains(QRegularExpression(u"^Error (writing|opening) "_s)),
                     qPrintable(s.told(0)));
        // Unmodified: nothing is asked.
        s.prompter->asked.clear();
        s.book.setModified(false);
        s.files().newCommand();
        QVERIFY(s.prompter->asked.isEmpty());
    }

    // A file that cannot be opened or read is reported, and the program goes on with an
    // untitled gradebook; so do settings that cannot be read or written, each with its reason.
    void unusableFilesAreReported() {
        QVERIFY(QDir().mkpath(path(u"settings/Quillmark/Quillmark.ini"_s))); // a folder
        const QString cut = path(u"cut.GRD"_s);
        QVERIFY(Store(cut, "\"V E R 1.05s\"\r\n0\r\n"));
        Session s;
        QVERIFY2(s.prompter->told.size() >= 2, qPrintable(s.prompter->told.join(u'|')));
        QVERIFY(s.told(0).startsWith(u"Error reading settings "_s));
        QVERIFY(s.told(1).startsWith(u"Error writing settings "_s));
        s.prompter->told.clear();
        s.prompter->fileNames << path(u"missing.GRD"_s) << cut;
        s.files().openCommand();
        s.files().openCommand();
        QCOMPARE(s.prompter->told.size(), 2);
        QVERIFY(s.told(0).startsWith(u"Error opening "_s) &&
                s.told(1).startsWith(u"Error reading "_s));
        QCOMPARE(s.window.windowTitle(), u"Quillmark[*]"_s);
        QVERIFY(s.book.fileName().isEmpty() && s.files().recentFiles().isEmpty() &&
                !s.book.isModified());
    }

    // The last file is opened again at the next start, in the title and first among the recent
    // files, with the view state stored in it: the tests sorted as stored, and the Analyze mode,
    // which hiding the controls and showing them again keeps.
    void restartReopensTheLastFile() {
        const QString file = path(u"class.GRD"_s);
        {
            Session s(2);
            s.typeAt(1, 2, u"77"_s);
            s.book.SetCellText(0, 2, u"Zeta"_s);
            s.book.SetCellText(0, 3, u"Alpha"_s);
            s.book.view().testSortRule = TestsByName;
            s.panel->mode[1]->click(); // saved in the Analyze mode
            s.prompter->fileNames << file;
            QVERIFY(s.files().saveCommand() && s.window.close());
        }
        Session again;
        QCOMPARE(again.window.windowTitle(), u"Quillmark - "_s + file + u"[*]"_s);
        QCOMPARE(again.files().recentFiles(), QStringList{file});
        QCOMPARE(Row(again.book, 0).mid(2), Items(u"Alpha|Zeta"_s));
        QVERIFY(again.cell(1, 3).startsWith(u"77"_s) && !again.book.isModified());
        ControlPanel* p = again.panel;
        again.trigger(u"HideCon"_s);
        QVERIFY(!p->isVisible() && !again.action(u"ed0"_s)->isEnabled());
        again.trigger(u"HideCon"_s);
        QVERIFY(p->chartArea->isVisible() && !p->studentAndTest->isVisible());
        QVERIFY(again.action(u"ed1"_s)->isChecked());
        p->mode[0]->click();
        QVERIFY(p->studentAndTest->isVisible());
        // A missing file on the command line starts an untitled gradebook.
        Session missing(0, {path(u"no"_s), u"such.GRD"_s});
        QVERIFY(missing.book.fileName().isEmpty() && missing.book.testCount() == 0);
        // A relative path is kept as the absolute one, whatever folder the next start is in.
        const QString cwd = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        Session relative(0, {u"class.GRD"_s});
        QDir::setCurrent(cwd);
        QCOMPARE(relative.book.fileName() + u'|' + relative.files().recentFiles().value(0),
                 file + u'|' + file);
        // A recent file that has gone away is reported and nothing is loaded.
        QFile::remove(file);
        relative.files().openRecent(0);
        QCOMPARE(relative.told(0), u"File "_s + file + u" not found!"_s);
        QCOMPARE(relative.book.fileName(), file);
    }

    // The Security Rules dialog sets the password, a typed quote turned into an apostrophe, and
    // what it protects, unlocked for this run. Protected names show as IDs until the password is
    // given: at the start, which asks for the last file's, and at every opening; refused, they
    // stay hidden and nothing protected goes ahead.
    void protectedNamesComeBackWithThePassword() {
        const QString file = path(u"locked.GRD"_s);
        {
            Session s;
            s.book.setShape(3, 2);
            for (const int r : {1, 2}) {
                s.book.SetCellText(r, 0, r == 1 ? u"Zoe"_s : u"Abe"_s);
                s.book.StudentOf(r).id = u"S-"_s + QString::number(3 - r);
            }
            s.book.view().studentSortRule = StudentsByName;
            s.whenOpen<QDialog>([](QDialog* dialog) {
                for (const QString& rule : {u"Protect0"_s, u"Protect2"_s})
                    dialog->findChild<QCheckBox*>(rule)->setChecked(true);
                QTest::keyClicks(dialog->findChild<QLineEdit*>(u"Password"_s), u"o\"wl"_s);
                QTest::mouseClick(dialog->findChild<QPushButton*>(u"Ok"_s), Qt::LeftButton);
            });
            s.trigger(u"security"_s);
            QCOMPARE(s.book.security().password, u"o'wl"_s);
            QVERIFY(s.book.isModified() && !AccessNeeded(s.book, AnyRule));
            s.prompter->fileNames << file;
            QVERIFY(s.files().AskSaveAs());
        }
        const QStringList names{u"Abe"_s, u"Zoe"_s}, ids{u"S-1"_s, u"S-2"_s};
        // The locked file is the last one used, so the start asks for its password.
        AnswerPassword(u"o'wl"_s);
        {
            Session s;
            QTRY_VERIFY(!AccessNeeded(s.book, AnyRule));
            QCOMPARE(Column(s.book, 0), names);
        }
        AnswerPassword(QString());
        Session s;
        QTRY_COMPARE(s.told(0),
                     u"Authorization was not verified.\nCertain restrictions will apply!"_s);
        QCOMPARE(Column(s.book, 0), ids);
        // Refused again: clearing "Name as ID", opening the file again, saving it elsewhere.
        s.clickCell(1, 1);
        AnswerPassword(QString());
        s.panel->nameAsId->click();
        QCOMPARE(Column(s.book, 0), ids);
        AnswerPassword(QString());
        s.book.setModified(false);
        s.prompter->fileNames << file << path(u"copy.GRD"_s);
        s.files().openCommand();
        QCOMPARE(Column(s.book, 0), ids);
        AnswerPassword(QString());
        QVERIFY(!s.files().AskSaveAs() && !QFile::exists(path(u"copy.GRD"_s)));
        // Given: each student gets its own name back, though sorted by the IDs while hidden.
        AnswerPassword(u"o'wl"_s);
        s.prompter->fileNames << file;
        s.files().openCommand();
        QCOMPARE(Column(s.book, 0), names);
        QCOMPARE(s.book.StudentOf(1).id.text() + s.book.StudentOf(2).id.text(), u"S-1S-2"_s);
    }

    // Text goes out and comes back through the setup dialogs, which keep the separator chosen
    // for their next use: "Smith, John" keeps its comma through an import, an export and back.
    // Export writes the whole table, or the block selected unless "All" is chosen, with the
    // separator and delimiter given; Cancel writes nothing. An import leaves the gradebook
    // untitled, and the export's file name is preset beside the gradebook.
    void textThroughTheSetupDialogs() {
        Session s;
        QByteArray text = "\"Name\",\"Total\",\"Quiz\"\r\n";
        for (int i = 0; i < 9; ++i)
            text += "\"Smith, John" + QByteArray::number(i) + "\",," + QByteArray::number(60 + i) +
                    "\r\n";
        QVERIFY(Store(path(u"class.txt"_s), text));
        s.prompter->fileNames << path(u"class.grd"_s);
        QVERIFY(s.files().AskSaveAs()); // titled, to see the import make it untitled
        // Runs Export (item 0) or Import (1) on `name` with the setup dialog: 0 as it is, 1 comma
        // chosen, 2 "All" chosen, 3 "|" typed and "{NONE}", 4 cancelled. Returns the file.
        const auto run = [&](int item, const QString& name, int step) {
            s.prompter->fileNames << path(name);
            AnswerSetup(s, step != 4, [=](Setup* d) {
                if (step == 1) d->findChild<QComboBox*>(u"Separator0"_s)->setCurrentIndex(1);
                if (step == 2) d->findChild<QRadioButton*>(u"All1"_s)->click();
                if (step != 3) return;
                d->findChild<QComboBox*>(u"Separator0"_s)->setEditText(u"|"_s);
                d->findChild<QComboBox*>(u"Separator1"_s)->setCurrentIndex(2);
            });
            s.trigger(u"exp_imp%1"_s.arg(item));
            return Contents(path(name));
        };
        run(1, u"class.txt"_s, 1);
        QCOMPARE(s.panel->studentCount->text(), u"9"_s);
        QCOMPARE(s.window.windowTitle(), u"Quillmark[*]"_s);
        QVERIFY(s.book.fileName().isEmpty() && !s.book.isModified());
        s.clickCell(1, 2);
        const QByteArray all = run(0, u"all.txt"_s, 1); // one cell: the whole table
        QVERIFY(all.contains("\r\n\"Smith, John0\",88,60\r\n") && all.count("\r\n") == 10);
        s.prompter->answers << QMessageBox::No; // the export's Refresh has sorted: save?
        run(1, u"all.txt"_s, 0);
        QCOMPARE(run(0, u"again.txt"_s, 0), all);
        // The first line and the count of lines of a block's export.
        const auto block = [&](const QString& name, int step) {
            s.select(1, 2, 2, 2);
            const QByteArray written = run(0, name, step);
            return written.left(written.indexOf('\r')) + ' ' +
                   QByteArray::number(written.count('\n'));
        };
        QCOMPARE(block(u"block.txt"_s, 0), "\"Name\",\"Quiz\" 3");
        QCOMPARE(block(u"chosen.txt"_s, 2), all.left(all.indexOf('\r')) + " 10");
        QCOMPARE(block(u"typed.txt"_s, 3), "Name|Quiz 3");
        QCOMPARE(block(u"cancelled.txt"_s, 4), " 0");
        QVERIFY(!QFile::exists(path(u"cancelled.txt"_s)));
        // The name is taken from the first "." of the gradebook's own name, case kept.
        for (const auto& [gradebook, preset] :
             {std::pair(u"/home/ann/2026.fall/p4.grd"_s, u"/home/ann/2026.fall/p4.TXT"_s),
              std::pair(u"/home/Ann/P4.Fall.GRD"_s, u"/home/Ann/P4.TXT"_s),
              std::pair(u"/home/ann/p4"_s, u"/home/ann/p4.TXT"_s),
              std::pair(QString(), u".TXT"_s)}) {
            auto prompter = std::make_shared<PresetPrompter>();
            MainWindow window(prompter);
            window.gradebook().setFileName(gradebook);
            window.findChild<QAction*>(u"exp_imp0"_s)->trigger();
            QCOMPARE(prompter->preset, preset);
        }
    }

    // Cancel anywhere keeps the open gradebook; a failed import says why. Either way the unsaved
    // work stays unsaved.
    void importCancelledOrFailing_data() {
        // The answers to "Save your work?" and to Import Setup.
        const Table<int, bool, QString> row("save", "ok", "message");
        row("save question", int(QMessageBox::Cancel), true, QString());
        row("setup", int(QMessageBox::No), false, QString());
        row("not a number", int(QMessageBox::No), true, u"Error importing from "_s);
    }
    void importCancelledOrFailing() {
        auto [save, ok, message] = Fetch<int, bool, QString>();
        Session s(1);
        s.typeColumn(2, {u"85"_s});
        const QString file = path(u"bad.txt"_s);
        QVERIFY(Store(file, "Name\tTotal\tQuiz\r\nAnn\t\t85abc"));
        s.prompter->answers << QMessageBox::StandardButton(save);
        s.prompter->fileNames << file;
        AnswerSetup(s, ok);
        s.trigger(u"exp_imp1"_s);
        QCOMPARE(s.book.columnCount() == 3 && s.cell(0, 2) == u"Test  1"_s, message.isEmpty());
        QCOMPARE(s.prompter->told.size(), message.isEmpty() ? 0 : 1);
        QVERIFY(message.isEmpty() || FailsWith(s.told(0), message + file + u". "_s));
        QVERIFY(s.book.isModified());
    }

    // The panel fits beside the table at the default size; in smaller windows it scrolls,
    // every button stays within reach, and the table keeps the larger part of the width.
    // Wherever the scroll bars are put, the first column and row seen start at the edge.
    void panelAndTableFitTheWindow() {
        Session s;
        auto* side = s.window.findChild<QScrollArea*>(u"SidePanel"_s);
        QVERIFY(side);
        for (const QSize size : {QSize(1000, 640), QSize(420, 300)}) {
            s.window.resize(size);
            QTRY_COMPARE(s.window.size(), size);
            if (size.width() == 1000)
                QVERIFY(!side->verticalScrollBar()->isVisible() &&
                        !side->horizontalScrollBar()->isVisible());
            QVERIFY(s.table->width() > side->width());
            for (QAbstractButton* b : s.panel->findChildren<QAbstractButton*>()) {
                if (!b->isVisible()) continue;
                // A button wider than a tiny panel shows as much of itself as fits.
                side->ensureWidgetVisible(b, 0, 0);
                const QRect at(b->mapTo(side->viewport(), QPoint(0, 0)), b->size());
                const QRect seen = at & side->viewport()->rect();
                QVERIFY2(seen.height() == at.height() &&
                             seen.width() >= std::min(at.width(), side->viewport()->width()),
                         qPrintable(b->objectName()));
            }
        }
        s.book.setShape(61, 15);
        QScrollBar* h = s.table->horizontalScrollBar();
        QScrollBar* v = s.table->verticalScrollBar();
        QVERIFY(h->maximum() > 2 && v->maximum() > 2);
        for (const auto& [across, down] : {std::pair(0.5, 0.71), std::pair(1.0, 1.0)}) {
            h->setValue(int(h->maximum() * across));
            v->setValue(int(v->maximum() * down));
            for (const QHeaderView* header :
                 {s.table->horizontalHeader(), s.table->verticalHeader()})
                QCOMPARE(header->sectionViewportPosition(header->logicalIndexAt(0)), 0);
        }
    }

    // A large font makes rows and columns large enough on screen; the document keeps its
    // lengths until the user drags a border.
    void rowsAndColumnsFitTheFont() {
        Session s(2);
        s.book.setModified(false);
        const auto lengths = [&] {
            QList<int> twips;
            for (int r = 0; r < s.book.rowCount(); ++r)
                twips << s.book.rowHeight(r);
            for (int c = 0; c < s.book.columnCount(); ++c)
                twips << s.book.columnWidth(c);
            return twips;
        };
        const QList<int> stored = lengths();
        const QFont big(u"DejaVu Sans"_s, 20);
        QHeaderView* top = s.table->horizontalHeader();
        for (QWidget* w : std::initializer_list<QWidget*>{s.table, top, s.table->verticalHeader()})
            w->setFont(big);
        const QFontMetrics metrics(big);
        QVERIFY(top->height() >= metrics.lineSpacing());
        for (int r = 1; r < s.book.rowCount(); ++r)
            QVERIFY(s.table->verticalHeader()->sectionSize(r - 1) >= metrics.lineSpacing());
        for (int c = 1; c < s.book.columnCount(); ++c)
            QVERIFY(top->sectionSize(c - 1) >= metrics.horizontalAdvance(s.book.cell(0, c)));
        QVERIFY(s.table->nameHeader()->columnWidth() >= metrics.horizontalAdvance(u"Name"_s));
        QCOMPARE(lengths(), stored);
        QVERIFY(!s.book.isModified());
        // Columns widen with the font, so a score keeps its grade in view.
        const double scale = QFontMetricsF(big).averageCharWidth() /
                             QFontMetricsF(QApplication::font()).averageCharWidth();
        QVERIFY(top->sectionSize(0) >= s.table->twipsToPixels(s.book.columnWidth(1)) * scale - 1);
        // A border the user drags is the document's again, and stays where it was dropped.
        top->resizeSection(1, 300);
        QVERIFY(std::abs(s.book.columnWidth(2) - s.table->pixelsToTwips(int(300 / scale))) <= 15);
        s.book.setColumnWidth(3, s.book.columnWidth(3)); // any change of the lengths
        QVERIFY(std::abs(top->sectionSize(1) - 300) <= 1);
    }

    // The class of 1,000 students and 400 tests: a score typed in the far corner, the students
    // sorted by their totals and saved, all as the file reads back.
    void largeClassTypedSortedSaved() {
        const QString file = path(u"large.GRD"_s);
        Gradebook expected;
        BuildLargeClass(expected);
        QVERIFY(WriteGradebookFile(expected, file).ok());
        const int last = LargeClassStudents, far = LargeClassTests + 1;
        expected.SetCellText(last, far, u"77"_s);
        RecalcAll(expected);
        Session s(0, {file});
        QCOMPARE(s.book.rowCount(), last + 1);
        for (QScrollBar* bar : {s.table->horizontalScrollBar(), s.table->verticalScrollBar()})
            bar->setValue(bar->maximum());
        s.typeAt(last, far, u"77"_s);
        s.table->horizontalScrollBar()->setValue(0);
        s.clickCell(last, 1); // "by grade" reads the current column: the Total
        QComboBox* sortRule = s.panel->sortRule[0];
        sortRule->setCurrentIndex(StudentsByGrade);
        emit sortRule->activated(StudentsByGrade);
        s.trigger(u"save"_s);
        QVERIFY(s.prompter->told.isEmpty() && !s.book.isModified());
        Gradebook saved;
        ResetToNew(saved, LargeClassLibraries());
        QVERIFY(ReadGradebookFile(saved, file).ok());
        RecalcAll(saved); // the file holds no totals
        const int at = Column(saved, 0).indexOf(u"Student %1"_s.arg(last)) + 1;
        QCOMPARE(ScoreOfCell(saved.GetCellText(at, far)), u"77"_s);
        QCOMPARE(saved.GetCellText(at, 1), expected.GetCellText(last, 1));
        for (int r = 2; r <= last; ++r)
            QVERIFY2(CellValue(saved.cell(r - 1, 1)) >= CellValue(saved.cell(r, 1)),
                     qPrintable(QString::number(r)));
    }

    // The grade part of a score cell starts at one place whatever the score, the grade or the
    // ignore mark, in a wide cell and a narrow one; the texts painted are the cell's own.
    void scoresAndGradesLineUp() {
        const QFontMetrics metrics(QFont(u"DejaVu Sans"_s, 10));
        for (const auto& [width, texts] :
             {std::pair(200, Items(u"100    (4.0)|80     (3.0)|       (B)|92.5%  (A)|6      (D)x|"
                                   u"45     (A)x"_s)),
              std::pair(75, Items(u"9      (4.00)|10     (3.00)"_s))}) {
            const QRect cell(10, 0, width, 20);
            const int gradeLeft = LayOutScoreCell(texts[0], metrics, cell).gradeRect.left();
            for (const QString& text : texts) {
                const ScoreCellLayout parts = LayOutScoreCell(text, metrics, cell);
                const qsizetype paren = text.indexOf(u'(');
                QCOMPARE(std::tuple(parts.gradeRect.left(), parts.score, parts.grade),
                         std::tuple(gradeLeft, text.left(paren).trimmed(), text.mid(paren)));
                QVERIFY(gradeLeft >= cell.left() + metrics.horizontalAdvance(parts.score));
                QVERIFY(cell.contains(parts.gradeRect));
                QVERIFY(parts.gradeRect.width() >= metrics.horizontalAdvance(parts.grade));
            }
        }
        // A text without a grade part is painted as it is.
        const ScoreCellLayout plain =
            LayOutScoreCell(u"85      x"_s, metrics, QRect(10, 0, 200, 20));
        QVERIFY(plain.score == u"85      x"_s && plain.grade.isEmpty());
    }

    void fitsWindows1252IsWhatSurvivesTheFile() {
        int fitting = 0;
        QStringList wrong;
        for (char32_t u = 0; u <= 0xFFFF; ++u) {
            const QChar c{char16_t(u)};
            const bool survives = DecodeWindows1252(EncodeWindows1252(QString(c))) == QString(c);
            fitting += FitsWindows1252(c);
            if (FitsWindows1252(c) != survives) wrong << QString::number(uint(u), 16);
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u' ')));
        QCOMPARE(fitting, 256); // each byte stands for one character
    }

    void boxesKeepToFileText_data() {
        // What was refused is named in the explanation; empty: none shown.
        const Table<bool, QString, QString, QString> row("pasted", "input", "refused", "text");
        row("typed ł", false, u"ł1"_s, u"ł"_s, u"1"_s);
        row("typed é and €", false, u"Émile €"_s, QString(), u"Émile €"_s);
        row("typed quote", false, u"a\"b"_s, QString(), u"a'b"_s);
        row("typed emoji", false, u"a😀"_s, u"😀"_s, u"a"_s);
        row("pasted ł", true, u"ł1ł"_s, u"ł"_s, u"1"_s);
        row("pasted quote", true, u"\"x\""_s, QString(), u"'x'"_s);
    }
    void boxesKeepToFileText() {
        auto [pasted, input, refused] = Fetch<bool, QString, QString>();
        QWidget window;
        auto* edit = new QLineEdit(&window);
        KeepToFileText(edit);
        window.show();
        QApplication::setActiveWindow(&window);
        edit->setFocus(); // a focus change takes down an earlier row's tool tip
        QVERIFY(QTest::qWaitForWindowActive(&window) && !QToolTip::isVisible());
        if (pasted) {
            QGuiApplication::clipboard()->setText(input);
            QTest::keySequence(edit, QKeySequence::Paste);
        } else { // each character as one key press, as a keyboard or an input method gives it
            for (const char32_t c : input.toUcs4())
                QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString::fromUcs4(&c, 1),
                                    Qt::NoModifier);
        }
        QTest::qWait(200); // the explanation comes a moment after the edit
        QTEST(edit->text(), "text");
        QCOMPARE(QToolTip::isVisible(), !refused.isEmpty());
        if (!refused.isEmpty())
            QCOMPARE(QToolTip::text(), u"“%1” cannot be stored in a gradebook file"_s.arg(refused));
    }

    // A hasty Enter must not destroy data; every box shows its whole title.
    void messageBoxes_data() {
        const Table<QMessageBox::StandardButtons, QMessageBox::StandardButton> row("buttons",
                                                                                   "onEnter");
        row("rows lost", (QMessageBox::Ok | QMessageBox::Cancel), QMessageBox::Cancel);
        row("save your work", (QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel),
            QMessageBox::Yes);
        row("message", QMessageBox::StandardButtons(QMessageBox::Ok), QMessageBox::Ok);
    }
    void messageBoxes() {
        QFETCH(QMessageBox::StandardButtons, buttons);
        DialogPrompter prompter;
        int width = 0;
        QString title;
        WhenOpen<QMessageBox>([&](QMessageBox* box) {
            width = box->width();
            title = box->windowTitle();
            QTest::keyClick(box, Qt::Key_Return);
        });
        QTEST(prompter.ask(nullptr, u"5 last row(s) will be lost!"_s, buttons, QMessageBox::NoIcon),
              "onEnter");
        QCOMPARE(title, u"Quillmark"_s);
        QVERIFY2(width >= TitleFitWidth(title), qPrintable(QString::number(width)));
        if (!buttons.testFlag(QMessageBox::Cancel)) return;
        WhenOpen<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
        QCOMPARE(prompter.ask(nullptr, u"Delete?"_s, buttons, QMessageBox::NoIcon),
                 QMessageBox::Cancel);
    }

    // Enter and Escape reach the embedded font dialog when its lists have the focus.
    void fontDialogChoosesFontAndColour() {
        QFont initial = QApplication::font();
        initial.setPointSize(11);
        QFont wanted = initial;
        wanted.setPointSize(17);
        wanted.setItalic(true);
        std::optional<FontChoice> choice;
        for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
            bool closedByKey = false;
            WhenOpen<QDialog>([&](QDialog* dialog) {
                auto* fonts = dialog->findChild<QFontDialog*>();
                fonts->setCurrentFont(wanted);
                WhenOpen<QColorDialog>([](QColorDialog* colors) {
                    colors->setCurrentColor(Qt::darkRed);
                    colors->accept();
                });
                dialog->findChild<QPushButton*>(u"Colour"_s)->click();
                QTest::keyClick(fonts, key);
                closedByKey = !dialog->isVisible();
                if (!closedByKey) dialog->reject();
            });
            choice = DialogPrompter().font(nullptr, initial, Qt::blue);
            QVERIFY(closedByKey);
            QCOMPARE(choice.has_value(), key == Qt::Key_Return);
        }
        // Taken with Enter, the choice has the font and colour chosen.
        QCOMPARE(QList({choice->font.pointSize(), int(choice->font.italic())}), QList({17, 1}));
        QCOMPARE(choice->color, QColor(Qt::darkRed));
    }

    void helpPagesHaveText() {
        HelpWindow window;
        QTextBrowser* browser = window.browser();
        const QString contents = browser->toPlainText();
        QVERIFY(contents.contains(u"Contents"_s));
        QList<QUrl> links;
        for (QTextBlock b = browser->document()->begin(); b.isValid(); b = b.next())
            for (auto f = b.begin(); !f.atEnd(); ++f)
                if (f.fragment().charFormat().isAnchor())
                    links << browser->source().resolved(f.fragment().charFormat().anchorHref());
        QVERIFY(links.size() >= 5);
        for (const QUrl& link : links) {
            browser->setSource(link);
            const QString page = browser->toPlainText();
            QVERIFY2(!page.trimmed().isEmpty() && page != contents, qPrintable(link.toString()));
        }
    }

    // File > Print and Student > Print Student Report: what the print dialog is offered and
    // what reaches the PDF. Answer -1 cancels, 0 prints all, 1 the selection.
    void printing_data() {
        Columns<QString, CellBlock, bool, int, QString, QString>("item", "block", "locked",
                                                                 "answer", "printed", "absent");
        const auto row = [](const char* tag, const char* item, CellBlock block, bool locked,
                            int answer, const char* printed, const char* absent) {
            QTest::newRow(tag) << QString::fromUtf8(item) << block << locked << answer
                               << QString::fromUtf8(printed) << QString::fromUtf8(absent);
        };
        row("table, block, its selection", "prr", {1, 2, 2, 3}, false, 1, "Ann|Ben|Test 2",
            "Cy|Total");
        row("table, one cell, all", "prr", {2, 2, 2, 2}, false, 0, "Ann|Cy|Total|Test 2", "");
        row("table, cancelled", "prr", {1, 2, 2, 3}, false, -1, "", "");
        row("report of the selected students", "studentreport", {2, 1, 3, 1}, false, 1,
            "Student Report|Student: Ben|Student: Cy", "Ann");
        row("report, password refused", "studentreport", {2, 1, 2, 1}, true, 1, "", "");
    }
    void printing() {
        auto [item, block, locked, answer, printed, absent] =
            Fetch<QString, CellBlock, bool, int, QString, QString>();
        if (!CanReadPdfs()) QSKIP("pdftotext (poppler-utils) is missing");
        Session s(2);
        for (int r = 1; r <= 3; ++r)
            s.book.SetCellText(r, 0, Items(u"Ann|Ben|Cy"_s)[r - 1]);
        if (locked) {
            s.lock(AccessNames);
            AnswerPassword(QString());
        }
        s.select(block.top, block.left, block.bottom, block.right);
        s.prompter->printFile = path(u"print.pdf"_s);
        QFile::remove(s.prompter->printFile);
        if (answer >= 0) s.prompter->printRange = PrintRange(answer);
        s.trigger(item);
        const bool many = block.bottom > block.top || block.right > block.left;
        QCOMPARE(s.prompter->printPreselected,
                 locked ? QList<bool>() : QList<bool>{item == u"studentreport"_s || many});
        QCOMPARE(QFile::exists(s.prompter->printFile), !printed.isEmpty());
        const QString all = PdfPages(s.prompter->printFile).join(u' ').simplified();
        for (const QString& t : printed.split(u'|', Qt::SkipEmptyParts))
            QVERIFY2(all.contains(t), qPrintable(t + u": "_s + all));
        for (const QString& t : absent.split(u'|', Qt::SkipEmptyParts))
            QVERIFY2(!all.contains(t), qPrintable(t));
    }

    // Undo and redo: steps named in the Edit menu, the document back as it was at each, the
    // modified flag following the saved state, and a step of locked scores asking the password.
    void undoAndRedo() {
        Session s(2);
        const QString before = s.cell(1, 1);
        s.typeAt(1, 2, u"8"_s);
        s.clickCell(2, 2); // leaving the cell ends the typing's step
        const QString typedTotal = s.cell(1, 1);
        QCOMPARE(s.action(u"undo"_s)->text(),
                 u"&Undo Typing in %1 / %2"_s.arg(s.cell(1, 0), s.cell(0, 2)));
        s.prompter->fileNames << path(u"undo.GRD"_s);
        s.trigger(u"save"_s);
        s.prompter->answers << QMessageBox::Ok;
        s.clickCell(1, 3);
        s.trigger(u"deltest"_s);
        QCOMPARE(s.action(u"undo"_s)->text(), u"&Undo Delete Test"_s);
        QStringList seen;
        for (const char* step : {"undo", "undo", "redo"}) {
            s.trigger(QString::fromLatin1(step));
            seen << u"%1 %2 %3 %4"_s.arg(s.book.testCount())
                        .arg(s.score(1, 2), s.cell(1, 1))
                        .arg(s.book.isModified());
        }
        QCOMPARE(seen, QStringList({u"2 8 %1 0"_s.arg(typedTotal), u"2  %1 1"_s.arg(before),
                                    u"2 8 %1 0"_s.arg(typedTotal)}));
        QCOMPARE(s.current(), std::pair(1, 2));
        // A step of locked scores, taken back in a run where the password was not given.
        s.lock(EditScores);
        s.window.undoCommands().clear(); // as a protected gradebook is opened
        s.book.setAcceptedPassword(u"owl"_s);
        s.typeAt(2, 2, u"5"_s);
        s.clickCell(3, 2);
        s.book.setAcceptedPassword(QString());
        AnswerPassword(QString());
        s.trigger(u"undo"_s);
        QCOMPARE(s.score(2, 2), u"5"_s);
        AnswerPassword(u"owl"_s);
        s.trigger(u"undo"_s);
        QCOMPARE(s.score(2, 2), QString());
    }

    // A copy written while changes are unsaved outlives a run that ends without closing, and
    // the next start offers it back.
    void recoveryAfterACrash() {
        const QDir folder(RecoveryFolder());
        QDir(RecoveryFolder()).removeRecursively();
        {
            Session s(1);
            s.window.recoveryCommands().setDelay(0);
            s.typeAt(1, 2, u"42"_s);
            QTRY_COMPARE(folder.entryList({u"*.GRD"_s}).size(), 1);
        }
        // Left under a process that no longer runs, as after a crash.
        const QString copy = folder.entryList({u"*.GRD"_s}).value(0);
        for (const QString& end : {u""_s, u".note"_s})
            QVERIFY(QFile::rename(folder.filePath(copy + end),
                                  folder.filePath(u"99999999.GRD"_s + end)));
        Session again(0, {}, {QMessageBox::Yes});
        QTRY_COMPARE(again.score(1, 2), u"42"_s);
        QVERIFY(again.prompter->asked.value(0).startsWith(
            u"Quillmark was not closed properly. Recover the unsaved changes to "_s));
        QVERIFY(again.book.isModified() && !folder.exists(u"99999999.GRD"_s));
        again.prompter->fileNames << path(u"recovered.GRD"_s);
        again.trigger(u"save"_s);
        QVERIFY(folder.entryList({u"*.GRD"_s}).isEmpty());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
