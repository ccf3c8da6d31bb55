#include "TestCommands.h"

#include "NewGradebook.h"
#include "NumberText.h"

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

int MoveTest(Gradebook& book, int from, int to) {
    const int columns = book.columnCount();
    if (from < 2 || from >= columns || to < 2) return from;
    // In front of `to`: once the test has left its place, the columns after it are one less.
    const int place = std::min(to > from ? to - 1 : to, columns - 1);
    if (place == from) return from;
    std::vector<int> order; // old column of each new column 2 ..
    for (int c = 2; c < columns; ++c)
        if (c != from) order.push_back(c);
    order.insert(order.begin() + (place - 2), from);
    std::vector<int> widths;
    for (int c : order)
        widths.push_back(book.columnWidth(c));
    book.reorderTests(order);
    for (int c = 2; c < columns; ++c)
        book.setColumnWidth(c, widths[std::size_t(c - 2)]);
    book.MarkModified();
    return place;
}

Result SetMaxScore(TestRecord& test, QStringView text) {
    if (!IsNumberText(text)) return Result::failure(InvalidValueMessage);
    test.maxScore = float(ReadLeadingNumber(text));
    return Result::success();
}
