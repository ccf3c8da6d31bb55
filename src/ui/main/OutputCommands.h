#pragma once

#include <QObject>

class Gradebook;
class MainWindow;

// Printing from the window: the table of grades (File, "&Print") and the student reports
// (Student, "Print Student &Report"), each through the print dialog.
class OutputCommands : public QObject {
    Q_OBJECT
public:
    explicit OutputCommands(MainWindow& window);

    // The whole table or the selected block, page by page.
    void PrintTable();
    // A report of each selected student (or the current one), or of every student.
    void printStudentReport();

private:
    MainWindow& m_window;
    Gradebook& m_book;
};
