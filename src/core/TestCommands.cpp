#include "TestCommands.h"

#include "NewGradebook.h"

Result AddBlankTest(Gradebook& book, int& column, const Libraries& libraries, const QDate& today) {
    if (book.columnCount() - 1 > Limits::MaxTests) return Result::failure(TooManyTestsMessage);
    book.setNextTestNumber(book.nextTestNumber() + 1);
    const int n = book.nextTestNumber();
    // The number is written as a signed number: a blank stands where a minus sign would.
    const QString name =
        QStringLiteral("Test ") + (n >= 0 ? QStringLiteral(" ") : QString()) + QString::number(n);
    const int at = column < 2 ? 2 : std::min(column, book.columnCount());
    book.insertTestColumn(at, NewTestRecord(libraries, today), name, Limits::DefaultColumnWidth);
    column = at;
    book.MarkModified();
    return Result::success();
}
