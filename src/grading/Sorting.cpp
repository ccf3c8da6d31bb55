#include "Sorting.h"

#include "core/NumberText.h"
#include "core/TestDate.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace {

// A sort key: text and/or number, then the old position so that equal keys keep their order.
struct Key {
    QString text;
    double number = 0;
    int position = 0;
};

std::vector<int> orderByText(std::vector<Key>& keys) {
    std::stable_sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
        const int c = QString::compare(a.text, b.text, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.position < b.position;
    });
    std::vector<int> order;
    for (const Key& k : keys)
        order.push_back(k.position);
    return order;
}

std::vector<int> orderByNumber(std::vector<Key>& keys) {
    std::stable_sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
        return a.number != b.number ? a.number < b.number : a.position < b.position;
    });
    std::vector<int> order;
    for (const Key& k : keys)
        order.push_back(k.position);
    return order;
}

} // namespace

double TestDateDayNumber(const QString& date) {
    static const QDate epoch(1899, 12, 30);
    const auto parsed = ParseTestDate(date);
    return parsed ? double(epoch.daysTo(*parsed)) : 0.0;
}

Result SortStudents(Gradebook& book, int keyColumn) {
    book.MarkModified();
    const int rule = book.view().studentSortRule;
    if (rule != StudentsByName && rule != StudentsByGrade) return Result::success();
    if (rule == StudentsByGrade && keyColumn < 1) return Result::failure(SortNoTestMessage);
    if (keyColumn >= book.columnCount()) return Result::success();

    std::vector<Key> keys;
    for (int r = 1; r < book.rowCount(); ++r) {
        Key key;
        key.position = r;
        if (rule == StudentsByName)
            key.text = book.cell(r, 0);
        else // Higher scores give smaller keys, so the best come first and empty cells last.
            key.number =
                double(book.TestOf(keyColumn).maxScore) - CellValue(book.cell(r, keyColumn));
        keys.push_back(std::move(key));
    }
    const std::vector<int> order = rule == StudentsByName ? orderByText(keys) : orderByNumber(keys);
    book.reorderStudents(order);
    return Result::success();
}

void SortTests(Gradebook& book) {
    book.MarkModified();
    const int rule = book.view().testSortRule;
    if (rule != TestsByName && rule != TestsByDate) return;
    std::vector<Key> keys;
    for (int c = 2; c < book.columnCount(); ++c) {
        Key key;
        key.position = c;
        if (rule == TestsByName)
            key.text = book.cell(0, c);
        else
            key.number = TestDateDayNumber(book.TestOf(c).date.text());
        keys.push_back(std::move(key));
    }
    const std::vector<int> order = rule == TestsByName ? orderByText(keys) : orderByNumber(keys);
    book.reorderTests(order);
}
