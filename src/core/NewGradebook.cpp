#include "NewGradebook.h"

#include "TestDate.h"

void ResetToNew(Gradebook& book, const Libraries& libraries) {
    Gradebook::BatchUpdate batch(book);
    // No password and nothing given; the protect flags stay, without effect until a password.
    book.security().password.clear();
    book.setAcceptedPassword(QString());
    book.setNextTestNumber(0);

    TestRecord cleared;
    cleared.date = u"";
    cleared.note = u"";
    cleared.scale = libraries.scale(0);
    book.tests().assign(6, cleared);
    TestRecord& total = book.tests()[0];
    total.maxScore = 100;
    total.importance = 1; // "Average Normalized Scores"
    total.calculateGrades = 1;
    book.totalScales() = {libraries.scale(0), libraries.scale(1)};

    book.students().assign(std::size_t(Limits::NewGradebookStudents) + 1, NewStudentRecord());

    // Empty the table, then give it its new shape and default lengths.
    book.setShape(1, 2);
    book.SetCellText(0, 0, QString());
    book.SetCellText(0, 1, QString());
    book.setShape(Limits::NewGradebookStudents + 1, 2);
    for (int r = 0; r < book.rowCount(); ++r)
        book.setRowHeight(r, Limits::DefaultRowHeight);
    for (int c = 0; c < book.columnCount(); ++c)
        book.setColumnWidth(c, Limits::DefaultColumnWidth);
    {
        Gradebook::HeaderEditingOff off(book);
        book.SetCellText(0, 0, QStringLiteral("Name"));
        book.SetCellText(0, 1, QStringLiteral("Total"));
    }

    book.importanceSet() = libraries.importanceSet(0);
    ViewState& view = book.view();
    view.studentSortRule = StudentsUnsorted;
    view.testSortRule = TestsUnsorted;
    view.showTotalScores = true;
    book.setFileName(QString());
}

StudentRecord NewStudentRecord() {
    StudentRecord s;
    s.includeFlags = QString(Limits::MaxTests, u'1');
    s.note = u"";
    s.id = u"";
    s.name = u"";
    return s;
}

TestRecord NewTestRecord(const Libraries& libraries, const QDate& today) {
    TestRecord t;
    t.maxScore = 100;
    t.importance = 1;
    t.date = FormatTestDate(today);
    t.note = u"";
    t.scale = libraries.scale(0);
    t.calculateGrades = 1;
    return t;
}
