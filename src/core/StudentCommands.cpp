#include "StudentCommands.h"

#include "NewGradebook.h"

bool IsFreshStudent(const Gradebook& book, int row) {
    const QString name = book.GetCellText(row, 0);
    return book.GetCellText(row, 1).isEmpty() &&
           (name.isEmpty() || name == QStringLiteral("NewName"));
}

void DeleteStudents(Gradebook& book, int first, int last) {
    first = std::max(first, 1);
    last = std::min(last, book.rowCount() - 1);
    if (first > last) return;
    const bool everyone = first == 1 && last == book.rowCount() - 1;
    if (everyone) {
        if (last >= 2) book.removeStudentRows(2, last - 1);
        Gradebook::HeaderEditingOff off(book);
        Gradebook::BatchUpdate batch(book);
        for (int c = 0; c < book.columnCount(); ++c)
            book.SetCellText(1, c, QString());
        book.StudentOf(1) = NewStudentRecord();
    } else {
        book.removeStudentRows(first, last - first + 1);
    }
    book.MarkModified();
}

void KeepShownName(Gradebook& book, int row) {
    StudentRecord& s = book.StudentOf(row);
    const QString shown = book.GetCellText(row, 0);
    if (s.showAsId != 0)
        s.id = shown;
    else
        s.name = shown;
}

void ShowChosenName(Gradebook& book, int row) {
    const StudentRecord& s = book.StudentOf(row);
    Gradebook::HeaderEditingOff off(book);
    book.SetCellText(row, 0, s.showAsId != 0 ? s.id.text() : s.name.text());
}

void ShowNamesAsChosen(Gradebook& book) {
    Gradebook::BatchUpdate batch(book);
    for (int r = 1; r < book.rowCount(); ++r)
        ShowChosenName(book, r);
}
