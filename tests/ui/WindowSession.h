#pragma once

// The main window as the widget tests drive it, and the steps they share.
#include "ScriptedPrompter.h"
#include "TestSupport.h"
#include "core/ScoreCell.h"
#include "ui/dialogs/PasswordDialog.h"
#include "ui/main/ControlPanel.h"
#include "ui/main/FileCommands.h"
#include "ui/main/GradeTableModel.h"
#include "ui/main/GradeTableView.h"
#include "ui/main/MainWindow.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

// The controls in `root` that the keyboard reaches but a screen reader could not name (the line
// edits inside spin and combo boxes speak for their box).
inline QStringList Unnamed(const QWidget* root) {
    QStringList unnamed;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        const QWidget* box = w->parentWidget();
        if (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(root) ||
            qobject_cast<const QAbstractSpinBox*>(box) || qobject_cast<const QComboBox*>(box))
            continue;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
        if (!face || face->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << w->objectName() + u'/' + QLatin1StringView(w->metaObject()->className());
    }
    return unnamed;
}

// Runs `step` on the modal dialog of type T as soon as one is open; the wait ends with `owner`,
// so a dialog that never came cannot be answered later by mistake.
template <class T> void WhenOpen(std::function<void(T*)> step, QObject* owner = qApp) {
    QTimer::singleShot(10, owner, [step, owner] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget()))
            step(dialog);
        else
            WhenOpen<T>(step, owner);
    });
}

// Answers the next password question, whenever it comes, by typing `password` (or cancelling
// when it is empty); no question within five seconds: gives up.
inline void AnswerPassword(const QString& password) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, password] {
        auto* dialog = qobject_cast<PasswordDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        poll->deleteLater();
        poll->stop();
        if (password.isEmpty()) return dialog->reject();
        dialog->passwordBox()->setText(password);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Ok")), Qt::LeftButton);
    });
    poll->start();
    QTimer::singleShot(5000, poll, &QObject::deleteLater);
}

// A started main window over the shipped libraries, with scripted questions.
struct Session {
    std::shared_ptr<ScriptedPrompter> prompter = std::make_shared<ScriptedPrompter>();
    MainWindow window{prompter};
    Gradebook& book = window.gradebook();
    ControlPanel* panel = window.panel();
    GradeTableView* table = window.table();

    // Started with `arguments`, the questions at start answered by `answers`, then given
    // `tests` new tests.
    explicit Session(int tests = 0, const QStringList& arguments = {},
                     const QList<QMessageBox::StandardButton>& answers = {}) {
        prompter->answers = answers;
        window.setLibraryDir(QStringLiteral(QUILLMARK_RESOURCES));
        window.startUp(arguments);
        window.resize(1000, 640); // the tests' places do not depend on the screen's size
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) qWarning("the main window was not shown");
        addTests(tests);
    }
    QString cell(int row, int col) const { return book.GetCellText(row, col); }
    QString score(int row, int col) const { return ScoreOfCell(cell(row, col)); }
    CellEditor* editor() const { return window.editor(); }
    void clickCell(int row, int col) {
        const QRect r = table->visualRect(table->gradeModel()->indexOf(row, col));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, r.center());
    }
    // Clicks the name of a test (horizontal) or of a student (vertical) once, or twice to
    // rename it.
    void clickHeader(Qt::Orientation o, int section, bool twice = true) {
        QHeaderView* h = o == Qt::Horizontal ? table->horizontalHeader() : table->verticalHeader();
        const int at = h->sectionViewportPosition(section) + 5;
        const QPoint point = o == Qt::Horizontal ? QPoint(at, 5) : QPoint(5, at);
        if (twice)
            QTest::mouseDClick(h->viewport(), Qt::LeftButton, {}, point);
        else
            QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, point);
    }
    // What shows the cell at (col, row): row 0 the tests' names, col 0 the students'.
    QWidget* shownOn(QPoint at) const {
        if (at.y() == 0) return table->horizontalHeader();
        return at.x() == 0 ? table->verticalHeader() : table->viewport();
    }
    // Selects the document cells from (top, left) to (bottom, right).
    void select(int top, int left, int bottom, int right) {
        const GradeTableModel* m = table->gradeModel();
        table->selectionModel()->select(
            QItemSelection(m->indexOf(top, left), m->indexOf(bottom, right)),
            QItemSelectionModel::ClearAndSelect);
    }
    // The password "owl" protects `rule`.
    void lock(int rule) {
        book.security().password = QStringLiteral("owl");
        book.security().protect[std::size_t(rule)] = true;
    }
    void addTests(int n) {
        for (int i = 0; i < n; ++i)
            click(panel->newTest);
    }
    void type(const QString& text) { QTest::keyClicks(window.editor(), text); }
    void typeAt(int row, int col, const QString& text) {
        clickCell(row, col);
        type(text);
    }
    // Replaces what a box of the panel shows by `text`, and presses Enter.
    void retype(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text + u'\r');
    }
    // Runs `step` on the dialog of type T once it is open over this window.
    template <class T> void whenOpen(std::function<void(T*)> step) { WhenOpen<T>(step, &window); }
    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    // Keys as the keyboard sends them: each to the widget that has the focus at the time.
    void typeAtFocus(const QString& text) {
        for (QChar c : text)
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
    void key(Qt::Key k, int times = 1) {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(window.editor(), k);
    }
    void studentButton(int which) { click(panel->studentButtons[which]); }
    int row() const { return table->currentRow(); }
    int col() const { return table->currentColumn(); }
    std::pair<int, int> current() const { return {row(), col()}; }
    QAction* action(const QString& name) { return window.findChild<QAction*>(name); }
    void trigger(const QString& name) { action(name)->trigger(); }
    FileCommands& files() { return window.fileCommands(); }
    QString told(int i) const { return prompter->told.value(i); }
    // Scores typed down column `col` from row 1.
    void typeColumn(int col, const QStringList& scores) {
        clickCell(1, col);
        for (const QString& score : scores) {
            type(score);
            key(Qt::Key_Return);
        }
    }
};
