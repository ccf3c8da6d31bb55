// Prints how long the engine takes on a large class: 1,000 students and 400 tests.
#include "core/NewGradebook.h"
#include "core/NumberText.h"
#include "grading/Calculation.h"
#include "grading/Sorting.h"
#include "storage/GradebookFile.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <random>

namespace {

constexpr int Students = 1000;
constexpr int Tests = 400;

GradeScale letterScale() {
    GradeScale s;
    const char16_t* grades[] = {u"F", u"D", u"C", u"B", u"A"};
    const float tops[] = {59, 69, 79, 89, 100};
    for (int i = 0; i < 5; ++i) {
        s.steps[std::size_t(i)].grade = QStringView(grades[i]);
        s.steps[std::size_t(i)].value = float(i);
        s.steps[std::size_t(i)].topScore = tops[i];
    }
    s.count = 5;
    return s;
}

void buildLargeClass(Gradebook& book) {
    Libraries libs;
    libs.scales = {letterScale(), letterScale()};
    ImportanceSet set;
    set.count = 3;
    const float shares[] = {50, 30, 20};
    for (int g = 0; g < 3; ++g)
        set.steps[std::size_t(g)].percentOfTotal = shares[g];
    libs.importanceSets = {set};
    ResetToNew(book, libs);
    book.view().displayMode = DisplayMode::Letters;
    book.setShape(Students + 1, Tests + 2);
    std::mt19937 random(42);
    std::uniform_int_distribution<int> score(0, 100);
    for (int c = 2; c < book.columnCount(); ++c) {
        TestRecord& t = book.TestOf(c);
        t = NewTestRecord(libs, QDate(2026, 9, 1).addDays(c));
        t.importance = float(c % 3);
        book.SetCellText(0, c, QStringLiteral("Test ") + QString::number(c - 1));
    }
    for (int r = 1; r < book.rowCount(); ++r) {
        book.StudentOf(r).includeFlags = QString(Limits::MaxTests, u'1');
        book.SetCellText(r, 0, QStringLiteral("Student ") + QString::number(r));
        for (int c = 2; c < book.columnCount(); ++c)
            book.SetCellText(r, c, QString::number(score(random)));
    }
}

// Runs `work` `times` times and returns the mean time in microseconds.
double timeIt(int times, const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < times; ++i)
        work();
    return double(timer.nsecsElapsed()) / 1000.0 / times;
}

} // namespace

int main() {
    Gradebook book;
    buildLargeClass(book);
    std::printf("Gradebook of %d students x %d tests\n", Students, Tests);

    const double recalc = timeIt(5, [&] { RecalcAll(book); });
    std::printf("RecalcAll                    %10.2f ms   (target < 100 ms)\n", recalc / 1000);

    int row = 1;
    const double rowTotal = timeIt(2000, [&] {
        UpdateRowTotal(book, row);
        row = row % Students + 1;
    });
    std::printf("UpdateRowTotal, one row      %10.2f us   (target < 50 us)\n", rowTotal);

    book.view().studentSortRule = StudentsByGrade;
    const double sort = timeIt(5, [&] { SortStudents(book, 1); });
    std::printf("SortStudents by grade        %10.2f ms   (target < 50 ms)\n", sort / 1000);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("LARGE.GRD"));
    bool saved = true;
    const double write = timeIt(5, [&] { saved = WriteGradebookFile(book, path).ok() && saved; });
    std::printf("WriteGradebookFile           %10.2f ms   (target < 150 ms)\n", write / 1000);

    bool read = true;
    const double load = timeIt(5, [&] {
        Gradebook copy;
        read = ReadGradebookFile(copy, path).ok() && read;
    });
    std::printf("ReadGradebookFile            %10.2f ms   (target < 150 ms)\n", load / 1000);
    if (!saved || !read) {
        std::printf("The gradebook file could not be written or read back.\n");
        return 1;
    }
    return 0;
}
