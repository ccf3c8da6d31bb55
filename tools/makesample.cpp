// Writes the sample class of examples/: a term of ten tests for 25 students, with two
// importance groups, a few ignored scores, a test without grades, dates, notes and one student
// shown by ID. The scores come from a fixed seed, so the file is the same every time.
//   usage: quillmark-makesample LIBRARY_DIR OUT.GRD
#include "core/Gradebook.h"
#include "core/Libraries.h"
#include "core/NewGradebook.h"
#include "core/StudentCommands.h"
#include "core/TestCommands.h"
#include "core/TestDate.h"
#include "grading/Calculation.h"
#include "grading/ScoreEntry.h"
#include "storage/GradebookFile.h"
#include "storage/LibraryFile.h"

#include <QCoreApplication>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: quillmark-makesample LIBRARY_DIR OUT.GRD\n");
        return 2;
    }
    Libraries libs;
    ReadLibraries(libs, QString::fromLocal8Bit(argv[1]));
    Gradebook book;
    ResetToNew(book, libs);

    const QStringList names = {
        u"Amara Okafor"_s,  u"Ben Hartley"_s,  u"Chloé Martin"_s,   u"Daniel Kim"_s,
        u"Elena Petrova"_s, u"Farid Haddad"_s, u"Grace O'Neill"_s,  u"Hugo Lindqvist"_s,
        u"Isla Murray"_s,   u"Jonas Weber"_s,  u"Keiko Tanaka"_s,   u"Liam Byrne"_s,
        u"Maya Patel"_s,    u"Noah Fischer"_s, u"Olivia Santos"_s,  u"Pavel Novak"_s,
        u"Quinn Avery"_s,   u"Rosa Jiménez"_s, u"Samuel Adeyemi"_s, u"Tara Walsh"_s,
        u"Umar Siddiqui"_s, u"Vera Holm"_s,    u"William Chen"_s,   u"Ximena Ruiz"_s,
        u"Yusuf Demir"_s};
    book.setShape(int(names.size()) + 1, 2);
    for (int r = 1; r <= names.size(); ++r) {
        StudentRecord& s = book.StudentOf(r);
        s.name.assign(names[r - 1]);
        s.id.assign(u"S-%1"_s.arg(2600 + r));
        book.SetCellText(r, 0, names[r - 1]);
    }
    // One student asked to appear by ID; two notes for parents' evenings.
    book.StudentOf(17).showAsId = 1;
    ShowChosenName(book, 17);
    book.StudentOf(5).note.assign(u"Joined the class in October."_s);
    book.StudentOf(12).note.assign(u"Extra time on exams."_s);

    ImportanceSet groups;
    groups.name.assign(u"Quizzes and exams"_s);
    groups.count = 2;
    groups.steps[0].name.assign(u"Quizzes"_s);
    groups.steps[0].percentOfTotal = 40;
    groups.steps[1].name.assign(u"Exams"_s);
    groups.steps[1].percentOfTotal = 60;
    book.importanceSet() = groups;

    struct Test {
        const char16_t* name;
        float max;
        int group;
        QDate date;
        bool graded;
        const char16_t* note;
    };
    const Test tests[] = {
        {u"Quiz 1", 10, 0, {2026, 9, 11}, true, u"Fractions"},
        {u"Quiz 2", 10, 0, {2026, 9, 25}, true, u"Decimals"},
        {u"Homework", 20, 0, {2026, 10, 2}, false, u"Handed in or not; no grade"},
        {u"Quiz 3", 10, 0, {2026, 10, 9}, true, u"Percentages"},
        {u"Midterm", 100, 1, {2026, 10, 23}, true, u"Chapters 1-4"},
        {u"Quiz 4", 10, 0, {2026, 11, 6}, true, u"Ratios"},
        {u"Project", 50, 1, {2026, 11, 20}, true, u"Survey of the school"},
        {u"Quiz 5", 10, 0, {2026, 12, 4}, true, u"Equations"},
        {u"Quiz 6", 10, 0, {2026, 12, 11}, true, u"Graphs"},
        {u"Final", 100, 1, {2026, 12, 18}, true, u"Whole term"},
    };
    QRandomGenerator random(2026);
    for (const Test& t : tests) {
        int col = book.columnCount();
        AddBlankTest(book, col, libs, t.date);
        book.SetCellText(0, col, QString::fromUtf16(t.name));
        TestRecord& record = book.TestOf(col);
        record.maxScore = t.max;
        record.importance = float(t.group);
        record.calculateGrades = t.graded ? 1 : 0;
        record.date.assign(FormatTestDate(t.date));
        record.note.assign(QString::fromUtf16(t.note));
        for (int r = 1; r <= names.size(); ++r) {
            // Each student has a level; each test scatters around it.
            const double level = 0.55 + 0.4 * double((r * 37) % 25) / 24;
            const double share =
                std::clamp(level + (random.generateDouble() - 0.5) * 0.25, 0.2, 1.0);
            const double score =
                t.max <= 20 ? std::round(share * t.max) : std::round(share * t.max * 2) / 2;
            EnterScore(book, r, col, QString::number(score));
        }
    }
    // A missed quiz and an excused exam count for nothing; one quiz was never handed in.
    SetIgnored(book, {3}, {3}, true);
    SetIgnored(book, {9}, {6}, true);
    SetIgnored(book, {21}, {9}, true);
    EnterScore(book, 14, 5, QString());
    book.view().displayMode = DisplayMode::Letters;
    book.setColumnWidth(0, book.columnWidth(0) * 4 / 3); // room for the longer names
    RecalcAll(book);
    const Result written = WriteGradebookFile(book, QString::fromLocal8Bit(argv[2]));
    if (!written) {
        std::fprintf(stderr, "%s\n", qPrintable(written.message()));
        return 1;
    }
    return 0;
}
