#include "StudentReport.h"

#include "core/Gradebook.h"
#include "core/NumberText.h"
#include "core/ScoreCell.h"
#include "core/Security.h"
#include "grading/Calculation.h"
#include "grading/Scale.h"

#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

namespace {

QString gradeOf(const TestRecord& test, float score) {
    if (test.calculateGrades == 0) return {};
    const int step = GradeIndex(test, score);
    return step >= 0 ? test.scale.steps[std::size_t(step)].grade.text() : QString();
}

} // namespace

QStringList ReportHeadings() {
    return {u"Test"_s, u"Date"_s, u"Score"_s, u"Maximum"_s, u"Grade"_s, u"Ignored"_s};
}

StudentReport MakeStudentReport(Gradebook& book, int row) {
    StudentReport report;
    const QString file = book.fileName();
    report.className = file.isEmpty() ? u"Untitled"_s : QFileInfo(file).completeBaseName();
    report.student = book.GetCellText(row, 0);
    for (int col = 2; col < book.columnCount(); ++col) {
        const TestRecord& test = book.TestOf(col);
        const QString score = ScoreOfCell(book.cell(row, col));
        report.tests.push_back(
            {book.GetCellText(0, col), test.date.text(), score, FormatGeneral(test.maxScore),
             score.isEmpty() ? QString() : gradeOf(test, float(ReadLeadingNumber(score))),
             book.isIncluded(row, col) ? QString() : u"Yes"_s});
    }
    // The total's calculation leaves its working counts in the groups, which the file saves;
    // a report must not change what is saved.
    const ImportanceSet groups = book.importanceSet();
    const double total = RoundHalfUp(RowTotal(book, row), 0);
    book.importanceSet() = groups;
    report.total = {u"Total"_s,
                    QString(),
                    total > 0 ? FormatWhole(total) + u'%' : QString(),
                    QString(),
                    total > 0 ? gradeOf(book.totalSetup(), float(total)) : QString(),
                    QString()};
    // The note is student information, which the names' protection also guards.
    if (!AccessNeeded(book, AccessNames))
        report.note = book.StudentOf(row).note.noteText().trimmed();
    return report;
}

std::vector<int> ReportedRows(const Gradebook& book) {
    std::vector<int> rows;
    for (int r = 1; r < book.rowCount(); ++r) {
        bool used = !book.cell(r, 0).trimmed().isEmpty();
        for (int c = 2; c < book.columnCount() && !used; ++c)
            used = !book.cell(r, c).isEmpty();
        if (used) rows.push_back(r);
    }
    return rows;
}
