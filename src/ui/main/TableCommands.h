#pragma once

#include <QObject>

class MainWindow;

// The commands on whole tests and students: adding and deleting them, with their questions.
class TableCommands : public QObject {
    Q_OBJECT
public:
    explicit TableCommands(MainWindow& window);

    // Adds a blank test in front of the current column ("&New" of the test panel).
    void addTest();
    // Deletes the selected tests (whole columns) or the current one, after asking.
    void deleteTests();
    // Inserts a student above the current one; deletes the selected students or the current one.
    void insertStudent();
    void deleteStudents();
    // Cut of whole tests or whole students: they are deleted without a question. False when
    // the selection holds neither.
    bool cutTestsOrStudents();

private:
    MainWindow& m_window;
    bool m_cutting = false;
};
