#include "LargeClass.h"

#include "core/NewGradebook.h"

#include <QElapsedTimer>

#include <random>

Libraries LargeClassLibraries() {
    Libraries libs;
    GradeScale letters;
    const char16_t* grades[] = {u"F", u"D", u"C", u"B", u"A"};
    const float tops[] = {59, 69, 79, 89, 100};
    for (int i = 0; i < 5; ++i)
        letters.steps[std::size_t(i)] = {FixedText<Limits::GradeWidth>(QStringView(grades[i])),
                                         float(i), tops[i]};
    letters.count = 5;
    libs.scales = {letters, letters};
    ImportanceSet set;
    set.count = 3;
    const float shares[] = {50, 30, 20};
    for (int g = 0; g < 3; ++g)
        set.steps[std::size_t(g)].percentOfTotal = shares[g];
    libs.importanceSets = {set};
    libs.scaleCount = 2;
    libs.importanceCount = 1;
    return libs;
}

void BuildLargeClass(Gradebook& book) {
    const Libraries libs = LargeClassLibraries();
    ResetToNew(book, libs);
    book.view().displayMode = DisplayMode::Letters;
    book.setShape(LargeClassStudents + 1, LargeClassTests + 2);
    std::mt19937 random(42);
    std::uniform_int_distribution<int> score(0, 100);
    for (int c = 2; c < book.columnCount(); ++c) {
        TestRecord& t = book.TestOf(c);
        t = NewTestRecord(libs, QDate(2026, 9, 1).addDays(c));
        t.importance = float(c % 3);
        book.SetCellText(0, c, QStringLiteral("Test ") + QString::number(c - 1));
    }
    for (int r = 1; r < book.rowCount(); ++r) {
        book.StudentOf(r) = NewStudentRecord();
        book.SetCellText(r, 0, QStringLiteral("Student ") + QString::number(r));
        for (int c = 2; c < book.columnCount(); ++c)
            book.SetCellText(r, c, QString::number(score(random)));
    }
}

double TimeIt(int times, const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < times; ++i)
        work();
    return double(timer.nsecsElapsed()) / 1000.0 / times;
}
