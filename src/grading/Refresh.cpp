#include "Refresh.h"

#include "Calculation.h"
#include "Sorting.h"

Result Refresh(Gradebook& book, int keyColumn) {
    RecalcAll(book);
    const Result sorted = SortStudents(book, keyColumn);
    SortTests(book);
    return sorted;
}
