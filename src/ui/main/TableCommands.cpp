#include "TableCommands.h"

#include "CellEditor.h"
#include "GradeTableView.h"
#include "MainWindow.h"
#include "Prompter.h"
#include "core/NewGradebook.h"
#include "core/StudentCommands.h"
#include "core/TestCommands.h"
#include "grading/Calculation.h"

#include <QApplication>
#include <QScopedValueRollback>

TableCommands::TableCommands(MainWindow& window) : QObject(&window), m_window(window) {}

void TableCommands::addTest() {
    Gradebook& book = m_window.gradebook();
    GradeTableView* table = m_window.table();
    int col = table->currentColumn();
    const Result added = AddBlankTest(book, col, m_window.libraries(), QDate::currentDate());
    if (!added) {
        m_window.prompter().tell(&m_window, added.message());
        return;
    }
    RecalcTotals(book);
    if (book.headerEditing() != HeaderEditing::StudentNames) table->setCurrentCell(1, col);
    m_window.editor()->clear();
    m_window.RefreshCurrentCell();
}

void TableCommands::insertStudent() {
    Gradebook& book = m_window.gradebook();
    GradeTableView* table = m_window.table();
    const int row = table->currentRow();
    if (row < 1) return;
    book.insertStudentRow(row, NewStudentRecord(), QStringLiteral("NewName"));
    book.MarkModified();
    table->setCurrentCell(row, table->currentColumn());
    m_window.RefreshCurrentCell();
}

void TableCommands::deleteStudents() {
    Gradebook& book = m_window.gradebook();
    GradeTableView* table = m_window.table();
    const int row = table->currentRow();
    if (row < 1) return;
    const QList<int> rows = table->selectedRows();
    if (table->wholeRowsSelected()) {
        const int first = *std::min_element(rows.begin(), rows.end());
        const int last = *std::max_element(rows.begin(), rows.end());
        QString question =
            QStringLiteral("Deleting Selected Students: \n") + book.GetCellText(first, 0);
        if (last > first) question += QStringLiteral(" - ") + book.GetCellText(last, 0);
        if (!m_cutting &&
            m_window.prompter().ask(&m_window, question, QMessageBox::Ok | QMessageBox::Cancel) !=
                QMessageBox::Ok)
            return;
        DeleteStudents(book, first, last);
        RecalcAll(book);
    } else {
        if (book.rowCount() < 3) {
            QApplication::beep();
            m_window.prompter().tell(&m_window, QStringLiteral("Can not delete last row!"));
            return;
        }
        const QString name = book.GetCellText(row, 0);
        if (!IsFreshStudent(book, row) &&
            m_window.prompter().ask(&m_window, QStringLiteral("Deleting Student: ") + name,
                                    QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
            return;
        DeleteStudents(book, row, row);
    }
    book.MarkModified();
    table->setCurrentCell(std::min(row, book.rowCount() - 1), table->currentColumn());
    m_window.RefreshCurrentCell();
}

void TableCommands::deleteTests() {
    Gradebook& book = m_window.gradebook();
    GradeTableView* table = m_window.table();
    Gradebook::HeaderEditingOff off(book);
    if (table->wholeColumnsSelected()) {
        QList<int> columns = table->selectedTestColumns();
        std::sort(columns.begin(), columns.end());
        if (columns.isEmpty()) return;
        const int first = columns.front(), last = columns.back();
        QString question =
            QStringLiteral("Deleting Selected Tests: \n") + book.GetCellText(0, first);
        if (last > first) question += QStringLiteral(" - ") + book.GetCellText(0, last);
        if (!m_cutting &&
            m_window.prompter().ask(&m_window, question, QMessageBox::Ok | QMessageBox::Cancel) !=
                QMessageBox::Ok)
            return;
        book.removeTestColumns(first, last - first + 1);
    } else {
        const int col = table->currentColumn();
        const QString question = QStringLiteral("Deleting Test: ") + book.GetCellText(0, col);
        if (m_window.prompter().ask(&m_window, question, QMessageBox::Ok | QMessageBox::Cancel) !=
                QMessageBox::Ok ||
            col < 2)
            return;
        book.removeTestColumns(col, 1);
    }
    // Numbering starts again once no test is left.
    if (book.columnCount() < 3) book.setNextTestNumber(0);
    book.MarkModified();
    RecalcTotals(book);
    table->setCurrentCell(table->currentRow(),
                          std::min(table->currentColumn(), book.columnCount() - 1));
    m_window.RefreshCurrentCell();
}

bool TableCommands::cutTestsOrStudents() {
    GradeTableView* table = m_window.table();
    const bool tests = table->wholeColumnsSelected();
    const bool students = table->wholeRowsSelected();
    if (!tests && !students) return false;
    // What was cut is on the clipboard: nothing is asked.
    const QScopedValueRollback<bool> cutting(m_cutting, true);
    if (tests) deleteTests();
    if (students && table->wholeRowsSelected()) deleteStudents();
    return true;
}
