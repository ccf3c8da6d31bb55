#pragma once

#include "StudentReport.h"
#include "core/Result.h"

#include <QDate>
#include <QFont>

#include <vector>

class QPagedPaintDevice;

// Prints each report on a page of its own (a report with more tests than a page holds goes on
// over further pages, headed again): a title, the class and the date it was printed, the
// student, the table of tests and the total, and the note. A failure carries
// "Error Printing - " and what went wrong.
Result PrintStudentReports(QPagedPaintDevice& device, const QFont& font,
                           const std::vector<StudentReport>& reports, const QDate& printed);
