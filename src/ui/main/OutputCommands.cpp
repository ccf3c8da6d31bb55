#include "OutputCommands.h"

#include "BusyCursor.h"
#include "GradeTableView.h"
#include "MainWindow.h"
#include "Prompter.h"
#include "output/StudentReportPrinter.h"
#include "output/TablePrinter.h"

#include <QPrinter>

OutputCommands::OutputCommands(MainWindow& window)
    : QObject(&window), m_window(window), m_book(window.gradebook()) {}

void OutputCommands::PrintTable() {
    const CellBlock selected = m_window.table()->selectionBlock();
    const bool block = selected.bottom > selected.top || selected.right > selected.left;
    QPrinter printer(QPrinter::HighResolution);
    const std::optional<PrintRange> range = m_window.prompter().print(&m_window, printer, block);
    if (!range) return;

    BusyCursor busy;
    const CellBlock whole{1, 1, m_book.rowCount() - 1, m_book.columnCount() - 1};
    // A printer that cannot make copies itself gets the pages as many times over.
    const int copies = printer.supportsMultipleCopies() ? 1 : printer.copyCount();
    const Result printed = TablePrinter(m_book, m_window.table()->font())
                               .print(printer, *range == PrintRange::Selection ? selected : whole,
                                      QDateTime::currentDateTime(), copies);
    if (!printed) m_window.prompter().tell(&m_window, printed.message());
}

void OutputCommands::printStudentReport() {
    // A report shows the student's name and note.
    if (!m_window.CheckAccess(AccessNames)) return;
    QPrinter printer(QPrinter::HighResolution);
    const std::optional<PrintRange> range = m_window.prompter().print(&m_window, printer, true);
    if (!range) return;

    BusyCursor busy;
    std::vector<int> rows;
    if (*range == PrintRange::Selection) {
        const CellBlock selected = m_window.table()->selectionBlock();
        for (int r = selected.top; r <= selected.bottom; ++r)
            rows.push_back(r);
    } else {
        rows = ReportedRows(m_book);
    }
    std::vector<StudentReport> reports;
    for (int r : rows)
        reports.push_back(MakeStudentReport(m_book, r));
    const Result printed =
        PrintStudentReports(printer, m_window.table()->font(), reports, QDate::currentDate());
    if (!printed) m_window.prompter().tell(&m_window, printed.message());
}
