#pragma once

// The main window as the widget tests drive it.
#include "ScriptedPrompter.h"
#include "ui/main/ControlPanel.h"
#include "ui/main/FileCommands.h"
#include "ui/main/GradeTableModel.h"
#include "ui/main/GradeTableView.h"
#include "ui/main/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTest>

// A started main window over the shipped libraries, with scripted questions.
struct Session {
    std::shared_ptr<ScriptedPrompter> prompter = std::make_shared<ScriptedPrompter>();
    MainWindow window{prompter};
    Gradebook& book = window.gradebook();
    ControlPanel* panel = window.panel();
    GradeTableView* table = window.table();

    explicit Session(const QStringList& arguments = {}) {
        window.setLibraryDir(QStringLiteral(QUILLMARK_RESOURCES));
        window.startUp(arguments);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) qWarning("the main window was not shown");
    }
    void clickCell(int row, int col) {
        const QRect r = table->visualRect(table->gradeModel()->indexOf(row, col));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, r.center());
    }
    // Double-clicks the header of a test (horizontal) or of a student (vertical).
    void clickHeader(Qt::Orientation o, int section) {
        QHeaderView* h = o == Qt::Horizontal ? table->horizontalHeader() : table->verticalHeader();
        const int at = h->sectionViewportPosition(section) + 5;
        QTest::mouseDClick(h->viewport(), Qt::LeftButton, {},
                           o == Qt::Horizontal ? QPoint(at, 5) : QPoint(5, at));
    }
    void addTests(int n) {
        for (int i = 0; i < n; ++i)
            QTest::mouseClick(panel->newTest, Qt::LeftButton);
    }
    void type(const QString& text) { QTest::keyClicks(window.editor(), text); }
    // Keys as the keyboard sends them: each to the widget that has the focus at the time.
    void typeAtFocus(const QString& text) {
        for (QChar c : text)
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
    void key(Qt::Key k, int times = 1) {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(window.editor(), k);
    }
    void studentButton(int which) {
        QTest::mouseClick(panel->studentButtons[which], Qt::LeftButton);
    }
    int row() const { return table->currentRow(); }
    int col() const { return table->currentColumn(); }
    QAction* action(const QString& name) { return window.findChild<QAction*>(name); }
    // Scores typed down column `col` from row 1.
    void typeColumn(int col, const QStringList& scores) {
        clickCell(1, col);
        for (const QString& score : scores) {
            type(score);
            key(Qt::Key_Return);
        }
    }
};
