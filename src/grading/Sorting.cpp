#include "Sorting.h"

#include "core/NumberText.h"
#include "core/TestDate.h"

#include <QCollator>
#include <QLocale>

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

// Names compare as the teacher's language orders them, case ignored, so "Émile" stands among
// the E's. Without a language (the "C" locale of a bare environment) English order is used:
// code-point order would put every accented name after "Z".
QCollator nameCollator() {
    QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C) locale = QLocale(QLocale::English, QLocale::UnitedStates);
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

std::vector<int> orderByText(const std::vector<Key>& keys) {
    // One collation key a text, so the comparisons of the sort stay cheap.
    const QCollator collator = nameCollator();
    std::vector<QCollatorSortKey> collated;
    collated.reserve(keys.size());
    for (const Key& k : keys)
        collated.push_back(collator.sortKey(k.text));
    std::vector<std::size_t> at(keys.size());
    std::iota(at.begin(), at.end(), std::size_t(0));
    std::sort(at.begin(), at.end(), [&](std::size_t a, std::size_t b) {
        const int c = collated[a].compare(collated[b]);
        return c != 0 ? c < 0 : keys[a].position < keys[b].position;
    });
    std::vector<int> order;
    for (const std::size_t i : at)
        order.push_back(keys[i].position);
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
                double(book.TestOf(keyColumn).maxScore) - book.cellValue(r, keyColumn);
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
