#include "TestSupport.h"
#include "WindowSession.h"
#include "core/NewGradebook.h"
#include "core/Security.h"
#include "core/TestCommands.h"
#include "grading/Sorting.h"
#include "storage/GradebookFile.h"
#include "ui/dialogs/PasswordDialog.h"
#include "ui/main/CellEditor.h"
#include "ui/main/ControlPanel.h"
#include "ui/main/GradeTableModel.h"
#include "ui/main/GradeTableView.h"
#include "ui/main/MainWindow.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::Literals::StringLiterals;

namespace {

// Answers the next password question, whenever it comes, by typing `password` (or cancelling
// when it is empty).
void answerPassword(const QString& password) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, password] {
        auto* dialog = qobject_cast<PasswordDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        poll->deleteLater();
        poll->stop();
        if (password.isEmpty()) return dialog->reject();
        dialog->passwordBox()->setText(password);
        QTest::mouseClick(dialog->findChild<QPushButton*>(u"Ok"_s), Qt::LeftButton);
    });
    poll->start();
    QTimer::singleShot(5000, poll, &QObject::deleteLater); // no question came: give up
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path(u"settings"_s));
    }
    // Every test starts from an empty settings store.
    void init() { QDir(path(u"settings"_s)).removeRecursively(); }

    void startsWithAnEmptyClass() {
        Session s;
        QCOMPARE(s.window.windowTitle(), u"Quillmark"_s);
        QAbstractItemModel* model = s.window.table()->model();
        QCOMPARE(model->rowCount(), 7);
        QCOMPARE(model->columnCount(), 1);
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), u"Total"_s);
        QCOMPARE(s.window.table()->findChild<QLabel*>(u"NameCorner"_s)->text(), u"Name"_s);
        QVERIFY(!s.book.isModified());
        QVERIFY(s.prompter->told.isEmpty());
        QCOMPARE(s.panel->studentCount->text(), u"7"_s);
        // 1500 twips are an inch wide.
        const int inch = s.window.table()->logicalDpiX();
        QCOMPARE(s.window.table()->horizontalHeader()->sectionSize(0), inch * 1500 / 1440);
    }

    void modelFollowsTheDocument() {
        Gradebook book;
        GradeTableModel model(book);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QSignalSpy headers(&model, &QAbstractItemModel::headerDataChanged);
        book.setShape(4, 3);
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.columnCount(), 2);
        book.SetCellText(2, 2, u"85"_s);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toModelIndex(), model.index(1, 1));
        book.SetCellText(0, 2, u"Quiz"_s);
        book.SetCellText(3, 0, u"Ada"_s);
        QCOMPARE(headers.count(), 2);
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), u"Quiz"_s);
        QCOMPARE(model.headerData(2, Qt::Vertical).toString(), u"Ada"_s);
    }

    void typingUpdatesScoreAndTotal() {
        Session s;
        s.panel->displayMode[1]->click(); // letters
        s.addTests(1);
        s.clickCell(2, 2);
        QVERIFY(s.window.editor()->hasFocus());
        s.type(u"8"_s);
        QCOMPARE(s.book.GetCellText(2, 2), u"8      (F)"_s);
        QCOMPARE(s.book.GetCellText(2, 1), u"8%     (F)"_s);
        s.type(u"5"_s);
        QCOMPARE(s.book.GetCellText(2, 2), u"85     (B)"_s);
        QCOMPARE(s.book.GetCellText(2, 1), u"85%    (B)"_s);
        QVERIFY(s.book.isModified());
        // "x" and "X" toggle ignoring the score rather than being typed.
        s.type(u"x"_s);
        QVERIFY(!s.book.isIncluded(2, 2));
        QCOMPARE(s.book.GetCellText(2, 2), u"85     (B)x"_s);
        QCOMPARE(s.book.GetCellText(2, 1), QString());
        QVERIFY(s.panel->ignoreGrade->isChecked());
        QCOMPARE(s.window.editor()->text(), u"85"_s);
        s.type(u"X"_s);
        QVERIFY(s.book.isIncluded(2, 2));
        QCOMPARE(s.book.GetCellText(2, 1), u"85%    (B)"_s);
        s.key(Qt::Key_Backspace, 2);
        QCOMPARE(s.book.GetCellText(2, 2), QString());
        QCOMPARE(s.book.GetCellText(2, 1), QString());
    }

    void enterAndArrowsLeaveTheCell() {
        Session s;
        s.addTests(2);
        s.clickCell(1, 2);
        s.type(u"70"_s);
        s.key(Qt::Key_Return);
        QCOMPARE(s.row(), 2);
        QCOMPARE(s.col(), 2);
        s.type(u"64"_s);
        s.key(Qt::Key_Left); // moves the caret: the text is no longer all selected
        QCOMPARE(s.col(), 2);
        s.key(Qt::Key_Left, 2); // the caret was at the start: leave to the left
        QCOMPARE(s.col(), 1);
        QVERIFY(!s.window.editor()->isVisible()); // no editor over a total
        s.clickCell(2, 2);
        QCOMPARE(s.window.editor()->text(), u"64"_s);
        s.key(Qt::Key_Right); // whole text selected: leave at once
        QCOMPARE(s.col(), 3);
        s.key(Qt::Key_Right); // past the last column the cell stays
        QCOMPARE(s.col(), 3);
        s.key(Qt::Key_Up, 2); // and above the first row
        QCOMPARE(s.row(), 1);
        s.key(Qt::Key_Down, 9); // down to the last student, and no further
        QCOMPARE(s.row(), 7);
        s.clickCell(2, 3);
        s.key(Qt::Key_Left); // a fresh cell's text is all selected: Left leaves at once
        QCOMPARE(s.col(), 2);
        QCOMPARE(s.book.GetCellText(1, 2), u"70     (2.0)"_s);
    }

    // Every key leaves the editor in its own cell or walks the names it renames, at both ends of
    // the table; whatever is typed next lands there and nowhere else.
    void keysWalkOnlyWhereTheyShould_data() {
        QTest::addColumn<QString>("start"); // score, test (header section), student
        QTest::addColumn<int>("section");
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<QPoint>("typedAt"); // (col, row) of the cell that gets "7"
        QTest::addColumn<bool>("renaming");
        const auto add = [](const char* name, const QString& start, int section,
                            QKeyCombination key, QPoint at, bool renaming) {
            QTest::newRow(name) << start << section << key << at << renaming;
        };
        const QString score = u"score"_s, test = u"test"_s, student = u"student"_s;
        const QKeyCombination backtab = Qt::ShiftModifier | Qt::Key_Backtab;
        add("score Tab", score, 0, Qt::Key_Tab, {3, 3}, false);
        add("score Shift+Tab", score, 0, backtab, {3, 3}, false);
        add("score Page Down", score, 0, Qt::Key_PageDown, {3, 3}, false);
        add("score Ctrl+End", score, 0, Qt::ControlModifier | Qt::Key_End, {3, 3}, false);
        add("score Down", score, 0, Qt::Key_Down, {3, 4}, false);
        add("first test Left", test, 1, Qt::Key_Left, {2, 0}, true);
        add("first test Tab", test, 1, Qt::Key_Tab, {2, 0}, true);
        add("first test Shift+Tab", test, 1, backtab, {2, 0}, true);
        add("last test Right", test, 3, Qt::Key_Right, {4, 0}, true);
        add("last test Tab", test, 3, Qt::Key_Tab, {4, 0}, true);
        add("test Up", test, 2, Qt::Key_Up, {3, 0}, true);
        add("test Right", test, 2, Qt::Key_Right, {4, 0}, true);
        add("test Enter", test, 2, Qt::Key_Return, {3, 1}, false);
        add("first student Up", student, 0, Qt::Key_Up, {0, 1}, true);
        add("first student Shift+Tab", student, 0, backtab, {0, 1}, true);
        add("last student Down", student, 6, Qt::Key_Down, {0, 7}, true);
        add("last student Tab", student, 6, Qt::Key_Tab, {0, 7}, true);
        add("student Left", student, 2, Qt::Key_Left, {0, 3}, true);
        add("student Enter", student, 2, Qt::Key_Return, {0, 4}, true);
    }
    void keysWalkOnlyWhereTheyShould() {
        QFETCH(QString, start);
        QFETCH(int, section);
        QFETCH(QKeyCombination, key);
        QFETCH(QPoint, typedAt);
        QFETCH(bool, renaming);
        Session s;
        s.addTests(3);
        if (start == u"score")
            s.clickCell(3, 3);
        else
            s.clickHeader(start == u"test" ? Qt::Horizontal : Qt::Vertical, section);
        QTest::keyClick(s.window.editor(), key.key(), key.keyboardModifiers());
        QCOMPARE(s.book.headerEditing() != HeaderEditing::Off, renaming);
        QVERIFY(s.window.editor()->hasFocus());
        QVERIFY(!s.window.table()->selectionModel()->hasSelection() || !renaming);
        // The editor lies over what it edits: a name in its header, or a score.
        const QPoint middle = s.window.editor()->geometry().center();
        QHeaderView* header = typedAt.y() == 0   ? s.window.table()->horizontalHeader()
                              : typedAt.x() == 0 ? s.window.table()->verticalHeader()
                                                 : nullptr;
        QVERIFY(header ? header->geometry().contains(middle)
                       : s.window.table()->viewport()->geometry().contains(middle));
        s.window.editor()->selectAll();
        s.type(u"7"_s);
        for (int r = 0; r < s.book.rowCount(); ++r)
            for (int c = 0; c < s.book.columnCount(); ++c)
                QCOMPARE(s.book.GetCellText(r, c).startsWith(u'7'), QPoint(c, r) == typedAt);
        QCOMPARE(s.book.GetCellText(0, 1), u"Total"_s);
        QCOMPARE(s.book.GetCellText(0, 0), u"Name"_s);
    }

    void renamingTakesLettersAsTheyAre() {
        Session s;
        s.addTests(1);
        s.clickHeader(Qt::Horizontal, 1);
        s.window.editor()->selectAll();
        s.type(u"\"Quiz\" x"_s); // double quotes would break the file's quoted text
        QCOMPARE(s.book.GetCellText(0, 2), u"'Quiz' x"_s);
        QVERIFY(s.book.isIncluded(1, 2)); // "x" is a letter here, not the ignore toggle
    }

    void availabilityFollowsTheColumn_data() {
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("caption");
        QTest::newRow("total") << 1 << u"Current Test: None"_s;
        QTest::newRow("test") << 2 << u"Current Test: Test  1"_s;
    }
    void availabilityFollowsTheColumn() {
        QFETCH(int, col);
        QFETCH(QString, caption);
        Session s;
        s.addTests(1);
        s.clickCell(3, col);
        ControlPanel* p = s.panel;
        const bool test = col > 1;
        QCOMPARE(p->importance->isVisible(), test);
        QCOMPARE(p->calculateGrades->isVisible(), test);
        QCOMPARE(p->maxScore->isEnabled(), test);
        QCOMPARE(p->ignoreGrade->isEnabled(), test);
        QCOMPARE(p->deleteTest->isEnabled(), test);
        QCOMPARE(p->showTotalScores->isVisible(), !test);
        QCOMPARE(p->averaging->isVisible(), !test);
        QVERIFY(p->averagingRule[0]->isEnabled());
        QCOMPARE(p->testFrame->title(), caption);
        QCOMPARE(s.window.editor()->isVisible(), test);
        QVERIFY(p->studentButtons[0]->isEnabled());
    }

    // Keys typed while the table itself has the focus start the current score's editor, and
    // never search the table for a cell that starts with them.
    void typingOnTheTableWritesOnlyTheCurrentScore() {
        Session s;
        s.addTests(1);
        s.typeColumn(2, {u"45"_s, u"30"_s, u"4"_s});
        // Whatever a click on a name makes current, keys typed on the table change no other cell.
        s.clickCell(2, 2);
        QHeaderView* names = s.window.table()->verticalHeader();
        QTest::mouseClick(names->viewport(), Qt::LeftButton, {},
                          QPoint(5, names->sectionViewportPosition(1) + 5));
        s.window.table()->setFocus();
        s.typeAtFocus(u"49"_s);
        QCOMPARE(s.row(), 2);
        QVERIFY(s.book.GetCellText(1, 2).startsWith(u"45 "_s));
        QVERIFY(s.book.GetCellText(2, 2).startsWith(s.col() == 2 ? u"49 "_s : u"30 "_s));
        QVERIFY(s.book.GetCellText(3, 2).startsWith(u"4 "_s));
        // Locked scores: typed keys change nothing and move nothing.
        s.book.security().password = u"owl"_s;
        s.book.security().protect[EditScores] = true;
        s.clickCell(3, 2);
        QVERIFY(!s.window.editor()->isVisible());
        s.window.table()->setFocus();
        s.typeAtFocus(u"3"_s);
        QCOMPARE(s.row(), 3);
        QVERIFY(s.book.GetCellText(3, 2).startsWith(u"4 "_s));
        QVERIFY(s.book.GetCellText(1, 2).startsWith(u"45 "_s));
    }

    // The menu item and the panel's button delete the current test, also while its score is
    // being edited.
    void deletingTheCurrentTest_data() {
        QTest::addColumn<bool>("button");
        QTest::newRow("menu") << false;
        QTest::newRow("panel button") << true;
    }
    void deletingTheCurrentTest() {
        QFETCH(bool, button);
        Session s;
        s.addTests(3);
        s.clickCell(2, 3);
        QVERIFY(s.window.editor()->hasFocus());
        const QStringList before{s.book.GetCellText(0, 2), s.book.GetCellText(0, 4)};
        s.prompter->answers << QMessageBox::Ok;
        if (button)
            QTest::mouseClick(s.panel->deleteTest, Qt::LeftButton);
        else
            s.action(u"deltest"_s)->trigger();
        QCOMPARE(s.book.testCount(), 2);
        QCOMPARE((QStringList{s.book.GetCellText(0, 2), s.book.GetCellText(0, 3)}), before);
        QCOMPARE(s.col(), 3);
    }

    // The editor stays with its cell: through a message box, a window too narrow for its
    // column, a resize that scrolls it away, and each change of its text.
    void editorStaysWithItsCell() {
        Session s;
        s.addTests(2);
        s.clickCell(2, 2);
        CellEditor* editor = s.window.editor();
        QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(editor, &away);
        QVERIFY(editor->isVisible());
        s.type(u"85"_s);
        editor->home(false);
        s.type(u"1"_s);
        QCOMPARE(editor->text(), u"185"_s);
        QCOMPARE(editor->cursorPosition(), 3);
        // A column wider than the table still gets its editor, over the part in view.
        GradeTableView* table = s.window.table();
        s.book.setColumnWidth(3, table->pixelsToTwips(table->viewport()->width() * 2));
        s.clickCell(1, 3);
        QVERIFY(editor->isVisible());
        QVERIFY(table->viewport()->geometry().contains(editor->geometry()));
        // Shrunk until the cell is out of sight, the editor goes once the resize is over.
        s.book.setShape(41, s.book.columnCount());
        table->scrollTo(table->gradeModel()->indexOf(1, 2));
        const int last = table->rowAt(table->viewport()->height() - 1) + 1;
        s.clickCell(last - 1, 2);
        QVERIFY(editor->isVisible());
        s.window.resize(s.window.width(), s.window.height() / 2);
        QTRY_VERIFY(!editor->isVisible());
    }

    void panelAndEditCommands() {
        Session s;
        s.addTests(1);
        s.typeColumn(2, {u"80"_s});
        const QString graded = s.book.GetCellText(1, 2);
        // A new maximum grades the column's scores again, not only the totals.
        s.clickCell(1, 2);
        s.panel->maxScore->setFocus();
        s.panel->maxScore->selectAll();
        QTest::keyClicks(s.panel->maxScore, u"160"_s);
        QTest::keyClick(s.panel->maxScore, Qt::Key_Return);
        QCOMPARE(s.book.TestOf(2).maxScore, 160.0f);
        QVERIFY(s.book.GetCellText(1, 2).startsWith(u"80 "_s));
        QVERIFY(s.book.GetCellText(1, 2) != graded);
        // Copy keeps the score, Cut empties its cell; both put it on the clipboard.
        s.clickCell(1, 2);
        s.action(u"copy"_s)->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), u"80\r\n"_s);
        QVERIFY(s.book.GetCellText(1, 2).startsWith(u"80 "_s));
        QGuiApplication::clipboard()->clear();
        s.action(u"cut"_s)->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), u"80\r\n"_s);
        QCOMPARE(s.book.GetCellText(1, 2), QString());
        // The font goes to the table and its editor, with its colour; the panel keeps its own.
        QFont big = s.window.table()->font();
        big.setPointSize(20);
        s.prompter->fontChoice = FontChoice{big, QColor(Qt::darkRed)};
        const QFont panelFont = s.panel->studentName->font();
        s.action(u"fon"_s)->trigger();
        QCOMPARE(s.window.table()->font().pointSize(), 20);
        QCOMPARE(s.window.editor()->font().pointSize(), 20);
        QCOMPARE(s.window.table()->palette().color(QPalette::Text), QColor(Qt::darkRed));
        QCOMPARE(s.panel->studentName->font(), panelFont);
        // The 401st test is refused.
        TestSupport::AddTests(s.book, 400 - s.book.testCount(), s.window.libraries());
        s.addTests(1);
        QCOMPARE(s.prompter->told.value(0), u"Too many tests!"_s);
        QCOMPARE(s.book.testCount(), 400);
    }

    // Whole tests travel with their parameters into another window; a cut deletes them without
    // a question; a block pastes into the selection only; locked scores refuse a paste.
    void clipboardCarriesScoresAndParameters() {
        const auto selectColumns = [](Session& s, int first, int last) {
            QAbstractItemModel* m = s.table->model();
            s.table->selectionModel()->select(
                QItemSelection(m->index(0, first - 1), m->index(m->rowCount() - 1, last - 1)),
                QItemSelectionModel::ClearAndSelect);
        };
        Session a;
        a.addTests(2);
        a.typeColumn(2, {u"40"_s, u"35"_s});
        a.book.TestOf(2).maxScore = 50;
        selectColumns(a, 2, 3);
        a.action(u"popTCopy"_s)->trigger();
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(mime->data(u"TestParams"_s).size(), 2 * 3420);
        QVERIFY(!mime->hasFormat(u"StudentParams"_s));
        QCOMPARE(mime->text().section(u"\r\n"_s, 0, 1),
                 a.book.GetCellText(0, 2) + u'\t' + a.book.GetCellText(0, 3) + u"\r\n40\t"_s);

        Session b;
        b.addTests(3);
        selectColumns(b, 3, 4);
        b.prompter->answers << QMessageBox::Yes;
        b.action(u"paste"_s)->trigger();
        QCOMPARE(b.prompter->asked, QStringList{u"Paste Test parameters too?"_s});
        QCOMPARE(b.book.TestOf(3).maxScore, 50.0f);
        QCOMPARE(b.book.GetCellText(0, 3), a.book.GetCellText(0, 2));
        QVERIFY(b.book.GetCellText(2, 3).startsWith(u"35 "_s));
        QVERIFY(b.book.GetCellText(1, 2).isEmpty()); // outside the selection
        // No keeps the parameters and names but still pastes the scores.
        const QString name2 = b.book.GetCellText(0, 2);
        selectColumns(b, 2, 2);
        b.prompter->answers << QMessageBox::No;
        b.action(u"paste"_s)->trigger();
        QCOMPARE(b.prompter->asked.size(), 2);
        QCOMPARE(b.book.TestOf(2).maxScore, b.book.TestOf(4).maxScore);
        QCOMPARE(b.book.GetCellText(0, 2), name2);
        QVERIFY(b.book.GetCellText(1, 2).startsWith(u"40"_s));

        a.action(u"cut"_s)->trigger();
        QCOMPARE(a.book.testCount(), 0);
        QVERIFY(a.prompter->asked.isEmpty());

        QGuiApplication::clipboard()->setText(u"11\t12\r\n13\t14\r\n"_s);
        b.clickCell(2, 4);
        b.action(u"paste"_s)->trigger();
        QVERIFY(b.book.GetCellText(2, 4).startsWith(u"11 "_s));
        QCOMPARE(b.book.GetCellText(3, 4), QString());
        QVERIFY(b.book.GetCellText(2, 3).startsWith(u"35 "_s));

        b.book.security().password = u"owl"_s;
        b.book.security().protect[EditScores] = true;
        answerPassword(QString());
        b.action(u"paste"_s)->trigger();
        QCOMPARE(b.prompter->told.value(0), u"Security violation!"_s);
    }

    // The right button opens the menu of what it points at, selecting that first unless it is
    // already inside the selection.
    void rightButtonMenus_data() {
        QTest::addColumn<QPoint>("at"); // (col, row); row 0 a test's name, col 0 a student's
        QTest::addColumn<QString>("menu");
        QTest::addColumn<bool>("wholeColumns");
        QTest::addColumn<bool>("wholeRows");
        QTest::newRow("score") << QPoint(3, 2) << u"popGrade"_s << false << false;
        QTest::newRow("test name") << QPoint(3, 0) << u"test"_s << true << false;
        QTest::newRow("student name") << QPoint(0, 2) << u"student"_s << false << true;
        QTest::newRow("Total") << QPoint(1, 0) << u"fina"_s << true << false;
    }
    void rightButtonMenus() {
        QFETCH(QPoint, at);
        QFETCH(QString, menu);
        QFETCH(bool, wholeColumns);
        QFETCH(bool, wholeRows);
        Session s;
        s.addTests(2);
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
        QWidget* target = at.y() == 0   ? s.table->horizontalHeader()
                          : at.x() == 0 ? s.table->verticalHeader()
                                        : s.table->viewport();
        const QRect cell = s.table->visibleCellRect(at.y(), at.x()).value();
        const QPoint local = target->mapFrom(s.table, cell.center());
        emit target->customContextMenuRequested(local);
        QCOMPARE(shown, menu);
        QCOMPARE(extras, menu == u"test"_s || menu == u"student"_s ? 5 : 0);
        QVERIFY(!s.action(u"popTCut"_s)->isVisible() && !s.action(u"renstud"_s)->isVisible());
        QCOMPARE(s.table->wholeColumnsSelected(), wholeColumns);
        QCOMPARE(s.table->wholeRowsSelected(), wholeRows);
    }

    // A test dragged by its name moves with its scores; a click on a name selects its line.
    void testsMoveAndNamesSelect() {
        Session s;
        s.addTests(3);
        s.typeColumn(2, {u"12"_s});
        const QStringList names = TestSupport::Row(s.book, 0).mid(2);
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
        QCOMPARE(TestSupport::Row(s.book, 0).mid(2), names);
        const auto taken = drag(2, pastTheEnd); // the first test to the last place
        QCOMPARE(taken.first, Qt::BitmapCursor);
        QVERIFY(taken.second != refused.second); // a pointer of its own for each
        QCOMPARE(TestSupport::Row(s.book, 0).mid(2), (QStringList{names[1], names[2], names[0]}));
        QVERIFY(s.book.GetCellText(1, 4).startsWith(u"12 "_s));
        QCOMPARE(header->visualIndex(3), 3);   // the header shows the document's order again
        QCOMPARE(drag(2, nameOf(1)), refused); // nothing goes in front of the totals
        QCOMPARE(TestSupport::Row(s.book, 0).mid(2), (QStringList{names[1], names[2], names[0]}));
        drag(4, nameOf(2)); // dropped on a test, it goes in front of it
        QCOMPARE(TestSupport::Row(s.book, 0).mid(2), (QStringList{names[0], names[1], names[2]}));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(2) + 5, 5));
        QVERIFY(s.table->wholeColumnsSelected());
        QHeaderView* students = s.table->verticalHeader();
        QTest::mouseClick(students->viewport(), Qt::LeftButton, {},
                          QPoint(5, students->sectionViewportPosition(3) + 5));
        QVERIFY(s.table->wholeRowsSelected());
        QCOMPARE(s.row(), 4);
    }

    void protectionRefusesAndRestores_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("rule");
        QTest::newRow("display mode") << u"display"_s << int(ChangeGradingRules);
        QTest::newRow("calculate grades") << u"grades"_s << int(ChangeGradingRules);
        QTest::newRow("ignore grade") << u"ignore"_s << int(ChangeGradingRules);
        QTest::newRow("averaging rule") << u"averaging"_s << int(ChangeGradingRules);
        QTest::newRow("show total") << u"total"_s << int(ChangeGradingRules);
        QTest::newRow("maximum score") << u"max"_s << int(EditScores);
    }
    void protectionRefusesAndRestores() {
        QFETCH(QString, control);
        QFETCH(int, rule);
        Session s;
        s.addTests(1);
        s.book.security().password = u"owl"_s;
        s.book.security().protect[std::size_t(rule)] = true;
        ControlPanel* p = s.panel;
        s.clickCell(1, control == u"averaging" || control == u"total" ? 1 : 2);
        const auto use = [&] {
            if (control == u"display")
                p->displayMode[2]->click();
            else if (control == u"grades")
                p->calculateGrades->click();
            else if (control == u"ignore")
                p->ignoreGrade->click();
            else if (control == u"averaging")
                p->averagingRule[1]->click();
            else if (control == u"total")
                p->showTotalScores->click();
            else
                QTest::keyClicks(p->maxScore, u"5"_s);
        };
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
        answerPassword(QString()); // refused: nothing changes, each control shows the data again
        use();
        QCOMPARE(state(), before);
        answerPassword(u"owl"_s); // given: the change goes ahead, and nothing is asked again
        use();
        QVERIFY(state() != before);
        QVERIFY(!AccessNeeded(s.book, AnyRule));
    }

    void studentCountBox_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("students");
        QTest::addColumn<QString>("question");
        QTest::addColumn<int>("currentRow"); // the current cell was (6, 2)
        const QString lost = u" 2 last row(s) will be lost!"_s;
        QTest::newRow("zero") << u"0"_s << int(QMessageBox::Ok) << 7 << QString() << 6;
        QTest::newRow("101") << u"101"_s << int(QMessageBox::Ok) << 7 << QString() << 6;
        QTest::newRow("100") << u"100"_s << int(QMessageBox::Ok) << 100 << QString() << 6;
        QTest::newRow("shrink ok") << u"5"_s << int(QMessageBox::Ok) << 5 << lost << 5;
        QTest::newRow("shrink cancel") << u"5"_s << int(QMessageBox::Cancel) << 7 << lost << 6;
    }
    void studentCountBox() {
        QFETCH(QString, typed);
        QFETCH(int, answer);
        QFETCH(int, students);
        QFETCH(QString, question);
        QFETCH(int, currentRow);
        Session s;
        s.addTests(1);
        s.clickCell(6, 2);
        s.book.StudentOf(6).id = u"S-6"_s;
        s.book.setIncluded(6, 2, false);
        QLineEdit* box = s.panel->studentCount;
        // A real question takes the focus away from the box while it is open.
        s.prompter->onAsk = [&] { s.window.table()->setFocus(); };
        s.prompter->answers << QMessageBox::StandardButton(answer);
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, typed);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(s.book.studentCount(), students);
        QCOMPARE(box->text(), QString::number(students));
        QCOMPARE(s.prompter->asked, question.isEmpty() ? QStringList() : QStringList{question});
        QCOMPARE(s.row(), currentRow);
        QCOMPARE(s.col(), 2);
        // Rows grown again hold new students, nothing of those removed.
        box->setText(u"7"_s);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(s.book.StudentOf(7).includeFlags.raw(), QString(400, u'1'));
        QCOMPARE(s.book.StudentOf(6) == NewStudentRecord(), students < 6);
    }

    void studentsInsertedAndDeleted() {
        Session s;
        s.addTests(1);
        s.book.SetCellText(2, 0, u"Ada"_s);
        s.clickCell(2, 2);
        s.type(u"88"_s);
        s.action(u"inse"_s)->trigger(); // the Student menu does what the panel's button does
        QCOMPARE(s.book.studentCount(), 8);
        QCOMPARE(s.book.GetCellText(2, 0), u"NewName"_s);
        QCOMPARE(s.book.GetCellText(3, 0), u"Ada"_s);
        QVERIFY(s.book.GetCellText(3, 2).startsWith(u"88"_s));
        QCOMPARE(s.panel->studentCount->text(), u"8"_s);
        // A fresh row goes without a question; a student with a total is asked about.
        s.action(u"dele"_s)->trigger();
        QVERIFY(s.prompter->asked.isEmpty());
        QCOMPARE(s.book.GetCellText(2, 0), u"Ada"_s);
        s.prompter->answers << QMessageBox::Cancel << QMessageBox::Ok;
        s.studentButton(0);
        QCOMPARE(s.book.GetCellText(2, 0), u"Ada"_s);
        s.studentButton(0);
        QCOMPARE(s.prompter->asked, QStringList(2, u"Deleting Student: Ada"_s));
        QCOMPARE(s.book.studentCount(), 6);
        QVERIFY(s.book.GetCellText(2, 2).isEmpty());
        // Selecting every student and deleting keeps one row, which cannot be deleted.
        s.window.table()->selectAll();
        s.prompter->answers << QMessageBox::Ok;
        s.studentButton(0);
        QCOMPARE(s.book.studentCount(), 1);
        s.studentButton(0);
        QCOMPARE(s.prompter->told.value(0), u"Can not delete last row!"_s);
        QCOMPARE(s.book.studentCount(), 1);
    }

    void savePromptAnswers_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("saveAs");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("cancel") << int(QMessageBox::Cancel) << QString() << false;
        QTest::newRow("no") << int(QMessageBox::No) << QString() << true;
        QTest::newRow("yes") << int(QMessageBox::Yes) << u"yes.GRD"_s << true;
        QTest::newRow("yes, save as cancelled") << int(QMessageBox::Yes) << QString() << false;
        // A folder where the file should go: the save fails and the work stays.
        QTest::newRow("yes, save fails") << int(QMessageBox::Yes) << u"taken.GRD"_s << false;
    }
    void savePromptAnswers() {
        QFETCH(int, answer);
        QFETCH(QString, saveAs);
        QFETCH(bool, replaced);
        Session s;
        s.addTests(1);
        QDir(m_dir.path()).mkpath(u"taken.GRD"_s);
        s.prompter->answers << QMessageBox::StandardButton(answer);
        if (!saveAs.isEmpty()) s.prompter->fileNames << path(saveAs);
        s.window.fileCommands().newCommand();
        QCOMPARE(s.prompter->asked, QStringList{u"Save your work?"_s});
        QCOMPARE(s.book.testCount(), replaced ? 0 : 1);
        QCOMPARE(s.book.isModified(), !replaced);
        QCOMPARE(QFileInfo(path(u"yes.GRD"_s)).isFile(), saveAs == u"yes.GRD");
        QFile::remove(path(u"yes.GRD"_s));
        if (saveAs == u"taken.GRD")
            QVERIFY2(s.prompter->told.value(0).startsWith(u"Error writing "_s) ||
                         s.prompter->told.value(0).startsWith(u"Error opening "_s),
                     qPrintable(s.prompter->told.value(0)));
        // Unmodified: nothing is asked.
        s.prompter->asked.clear();
        s.book.setModified(false);
        s.window.fileCommands().newCommand();
        QVERIFY(s.prompter->asked.isEmpty());
    }

    void openingMissingAndBadFiles_data() {
        QTest::addColumn<QByteArray>("content"); // empty: no file
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << QByteArray() << u"Error opening "_s;
        QTest::newRow("not a gradebook") << QByteArray("GRD\r\n") << u"Invalid file format!"_s;
        QTest::newRow("cut short") << QByteArray("\"V E R 1.05s\"\r\n0\r\n") << u"Error reading "_s;
    }
    void openingMissingAndBadFiles() {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        const QString file = path(u"bad.GRD"_s);
        QFile::remove(file);
        if (!content.isEmpty()) QVERIFY(TestSupport::Store(file, content));
        Session s;
        s.prompter->fileNames << file;
        s.window.fileCommands().openCommand();
        QCOMPARE(s.prompter->told.size(), 1);
        QVERIFY2(s.prompter->told[0].startsWith(message), qPrintable(s.prompter->told[0]));
        // The program goes on with an untitled gradebook.
        QCOMPARE(s.window.windowTitle(), u"Quillmark"_s);
        QVERIFY(s.book.fileName().isEmpty());
        QVERIFY(s.window.fileCommands().recentFiles().isEmpty());
        QVERIFY(!s.book.isModified());
    }

    void recentFilesOrder() {
        Session s;
        QStringList files;
        for (QChar n : u"ABCDE"_s)
            files << path(n + u".GRD"_s);
        for (const QString& f : files) {
            s.prompter->fileNames << f;
            QVERIFY(s.window.fileCommands().AskSaveAs());
        }
        for (const QString& f : files) {
            s.prompter->fileNames << f;
            s.window.fileCommands().openCommand();
        }
        QCOMPARE(s.window.fileCommands().recentFiles(),
                 (QStringList{files[4], files[3], files[2], files[1]}));
        s.prompter->fileNames << files[1];
        s.window.fileCommands().openCommand();
        QCOMPARE(s.window.fileCommands().recentFiles(),
                 (QStringList{files[1], files[4], files[3], files[2]}));
        QCOMPARE(s.window.windowTitle(), u"Quillmark - "_s + files[1]);
        // A recent file that has gone away is reported and nothing is loaded.
        QFile::remove(files[4]);
        s.window.fileCommands().openRecent(1);
        QCOMPARE(s.prompter->told.value(0), u"File "_s + files[4] + u" not found!"_s);
        QCOMPARE(s.book.fileName(), files[1]);
    }

    void restartReopensTheLastFile() {
        const QString file = path(u"class.GRD"_s);
        {
            Session s;
            s.addTests(1);
            s.clickCell(1, 2);
            s.type(u"77"_s);
            s.panel->mode[1]->click(); // saved in the Analyze mode
            s.prompter->fileNames << file;
            QVERIFY(s.window.fileCommands().saveCommand());
            QVERIFY(s.window.close());
        }
        Session again;
        QCOMPARE(again.book.fileName(), file);
        QVERIFY(again.book.GetCellText(1, 2).startsWith(u"77"_s));
        QCOMPARE(again.window.fileCommands().recentFiles().value(0), file);
        QVERIFY(!again.book.isModified());
        QVERIFY(again.panel->chartArea->isVisible());
        QVERIFY(!again.panel->studentAndTest->isVisible());
        QVERIFY(again.action(u"ed1"_s)->isChecked());
        // A missing file on the command line starts an untitled gradebook.
        Session missing({path(u"no"_s), u"such.GRD"_s});
        QVERIFY(missing.book.fileName().isEmpty());
        QCOMPARE(missing.book.testCount(), 0);
        // A relative path is kept as the absolute one, whatever folder the next start is in.
        const QString cwd = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        Session relative({u"class.GRD"_s});
        QDir::setCurrent(cwd);
        QCOMPARE(relative.book.fileName(), file);
        QCOMPARE(relative.window.fileCommands().recentFiles().value(0), file);
    }

    // The view state stored with a file is applied when it is opened.
    void openingSortsAsStored() {
        Gradebook book;
        Libraries libraries = TestSupport::LetterLibraries();
        ResetToNew(book, libraries);
        for (const char16_t* date : {u"03/01/26", u"01/15/26", u"02/10/26"}) {
            int col = book.columnCount();
            QVERIFY(AddBlankTest(book, col, libraries, QDate(2026, 1, 1)));
            book.TestOf(col).date = QStringView(date);
        }
        book.view().testSortRule = TestsByDate;
        const QString file = path(u"bydate.GRD"_s);
        QVERIFY(WriteGradebookFile(book, file));
        Session s({file});
        QStringList dates;
        for (int c = 2; c < s.book.columnCount(); ++c)
            dates << s.book.TestOf(c).date.text();
        QCOMPARE(dates, (QStringList{u"01/15/26"_s, u"02/10/26"_s, u"03/01/26"_s}));
    }

    // Settings that cannot be read or written are reported, each with its reason.
    void unusableSettingsAreReported() {
        const QString store = path(u"settings"_s) + u"/Quillmark/Quillmark.ini"_s;
        QVERIFY(QDir().mkpath(store)); // a folder where the file should be
        Session s;
        QVERIFY2(s.prompter->told.size() >= 2, qPrintable(s.prompter->told.join(u'|')));
        QVERIFY(s.prompter->told[0].startsWith(u"Error reading settings "_s));
        QVERIFY(s.prompter->told[1].startsWith(u"Error writing settings "_s));
    }

    void hideControlsKeepsTheMode() {
        Session s;
        ControlPanel* p = s.panel;
        p->mode[1]->click();
        QAction* hide = s.window.findChild<QAction*>(u"HideCon"_s);
        hide->trigger();
        QVERIFY(!p->isVisible());
        QVERIFY(!s.window.findChild<QAction*>(u"ed0"_s)->isEnabled());
        hide->trigger();
        QVERIFY(p->chartArea->isVisible());
        QVERIFY(!p->studentAndTest->isVisible());
        p->mode[0]->click();
        QVERIFY(p->studentAndTest->isVisible());
    }

    void securityRulesDialogSetsThePassword() {
        Session s;
        QTimer::singleShot(0, [] {
            auto* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            dialog->findChild<QCheckBox*>(u"Protect2"_s)->setChecked(true);
            QTest::keyClicks(dialog->findChild<QLineEdit*>(u"Password"_s), u"o\"wl"_s);
            QTest::mouseClick(dialog->findChild<QPushButton*>(u"Ok"_s), Qt::LeftButton);
        });
        s.window.findChild<QAction*>(u"security"_s)->trigger();
        QCOMPARE(s.book.security().password, u"o'wl"_s);
        QVERIFY(s.book.security().protect[SaveToDisk]);
        QVERIFY(!AccessNeeded(s.book, SaveToDisk)); // set in this run: unlocked
        QVERIFY(s.book.isModified());
    }

    void protectedNamesComeBackWithThePassword() {
        const QString file = path(u"locked.GRD"_s);
        {
            Session s;
            s.book.setShape(3, 2);
            s.book.SetCellText(1, 0, u"Zoe"_s);
            s.book.StudentOf(1).id = u"S-2"_s;
            s.book.SetCellText(2, 0, u"Abe"_s);
            s.book.StudentOf(2).id = u"S-1"_s;
            s.book.view().studentSortRule = StudentsByName;
            s.book.security().password = u"owl"_s;
            s.book.security().protect[AccessNames] = true;
            s.book.security().protect[SaveToDisk] = true;
            Unlock(s.book);
            s.prompter->fileNames << file;
            QVERIFY(s.window.fileCommands().AskSaveAs());
        }
        const auto shown = [](Session& s) {
            return QStringList{s.book.GetCellText(1, 0), s.book.GetCellText(2, 0)};
        };
        const QStringList names{u"Abe"_s, u"Zoe"_s}, ids{u"S-1"_s, u"S-2"_s};
        // The locked file is the last one used, so the start asks for its password.
        answerPassword(u"owl"_s);
        {
            Session s;
            QTRY_VERIFY(!AccessNeeded(s.book, AnyRule));
            QCOMPARE(shown(s), names);
        }
        answerPassword(QString());
        Session s;
        QTRY_COMPARE(s.prompter->told.value(0),
                     u"Authorization was not verified.\nCertain restrictions will apply!"_s);
        QCOMPARE(shown(s), ids);
        // Refused again: clearing "Name as ID", opening the file again, saving it elsewhere.
        s.clickCell(1, 1);
        answerPassword(QString());
        s.panel->nameAsId->click();
        QCOMPARE(shown(s), ids);
        answerPassword(QString());
        s.book.setModified(false);
        s.prompter->fileNames << file;
        s.window.fileCommands().openCommand();
        QCOMPARE(shown(s), ids);
        answerPassword(QString());
        s.prompter->fileNames << path(u"copy.GRD"_s);
        QVERIFY(!s.window.fileCommands().AskSaveAs());
        QVERIFY(!QFile::exists(path(u"copy.GRD"_s)));
        // Given: each student gets its own name back, though sorted by the IDs while hidden.
        answerPassword(u"owl"_s);
        s.prompter->fileNames << file;
        s.window.fileCommands().openCommand();
        QCOMPARE(shown(s), names);
        QCOMPARE(s.book.StudentOf(1).id.text(), u"S-1"_s);
        QCOMPARE(s.book.StudentOf(2).id.text(), u"S-2"_s);
    }

private:
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
