#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class Gradebook;

// What one student's report says, as rows of text: what a teacher hands to a parent.
struct StudentReport {
    QString className; // the gradebook's file name without folder and suffix; "Untitled"
    QString student;   // as the name column shows it: the name, or the ID when shown as ID
    std::vector<QStringList> tests; // one row a test, in table order, under ReportHeadings()
    QStringList total;              // the same columns for the total
    QString note;                   // the student's note; empty while student info is locked
    bool operator==(const StudentReport&) const = default;
};

// The column headings of a report's table.
QStringList ReportHeadings();

// The report of the student in table row `row`: each test's date, score, maximum, the grade
// of its scale (on graded tests) and whether the score is ignored; the total as the Total
// column computes it, with the grade of the Total scale. The document is left as it was found.
StudentReport MakeStudentReport(Gradebook& book, int row);

// The rows that hold a student: a name or at least one score. Blank rows are left out.
std::vector<int> ReportedRows(const Gradebook& book);
