// Prints how the main window keeps up with a large class: 1,000 students and 400 tests.
#include "LargeClass.h"
#include "grading/Calculation.h"
#include "storage/GradebookFile.h"
#include "ui/main/GradeTableModel.h"
#include "ui/main/GradeTableView.h"
#include "ui/main/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       dir.filePath(QStringLiteral("s")));
    const QString path = dir.filePath(QStringLiteral("LARGE.GRD"));
    {
        Gradebook book;
        BuildLargeClass(book);
        RecalcAll(book);
        if (!WriteGradebookFile(book, path)) {
            std::printf("The large gradebook could not be written.\n");
            return 1;
        }
    }
    std::printf("Main window with %d students x %d tests\n", LargeClassStudents, LargeClassTests);

    QElapsedTimer timer;
    timer.start();
    MainWindow window;
    window.startUp({path});
    window.show();
    QApplication::processEvents();
    const double open = double(timer.nsecsElapsed()) / 1e6;
    std::printf("Start, open and show                %8.1f ms   (target < 500 ms)\n", open);
    if (window.gradebook().testCount() != LargeClassTests) {
        std::printf("The large gradebook was not opened.\n");
        return 1;
    }

    // A key typed into a score cell in the middle of the table, to the updated total.
    GradeTableView* table = window.table();
    const int row = 500, col = 200;
    table->scrollTo(table->gradeModel()->indexOf(row, col));
    table->setCurrentCell(row, col);
    window.RefreshCurrentCell();
    QApplication::processEvents();
    {
        // The first key must reach the cell and the total, or the figure below means nothing.
        window.editor()->selectAll();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_7, Qt::NoModifier, QStringLiteral("7"));
        QApplication::sendEvent(window.editor(), &press);
        const QString cell = window.gradebook().GetCellText(row, col);
        if (!cell.startsWith(u'7') || window.gradebook().GetCellText(row, 1).isEmpty()) {
            std::printf("Typing did not reach the cell (%s).\n", qPrintable(cell));
            return 1;
        }
    }
    const int keys = 200;
    double total = 0;
    for (int i = 0; i < keys; ++i) {
        const QString digit = QString::number(i % 10);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_0 + i % 10, Qt::NoModifier, digit);
        timer.restart();
        QApplication::sendEvent(window.editor(), &press);
        QApplication::processEvents(); // the repaint of the changed cells
        total += double(timer.nsecsElapsed()) / 1e3;
        if (i % 2 == 1) window.editor()->clear();
    }
    std::printf("Key to repainted cell and total      %8.1f us   (target < 5 ms)\n", total / keys);
    window.gradebook().setModified(false);
    return 0;
}
