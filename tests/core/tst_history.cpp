// The document's history: every kind of change comes back exactly with undo and again with redo,
// the saved state is known, and the memory stays within its limit.
#include "TestSupport.h"
#include "core/History.h"
#include "core/NewGradebook.h"
#include "core/StudentCommands.h"
#include "core/TestCommands.h"
#include "grading/Calculation.h"
#include "grading/ScoreEntry.h"
#include "grading/Sorting.h"
#include "grading/TableTransfer.h"

#include <QRandomGenerator>
#include <QTest>

#include <functional>

using namespace Qt::Literals::StringLiterals;
using namespace TestSupport;

namespace {

// All a gradebook holds that a step may change.
struct Document {
    QList<QStringList> rows;
    QList<double> values;
    std::vector<StudentRecord> students;
    std::vector<TestRecord> tests;
    QList<int> lengths;
    ImportanceSet importance;
    std::array<GradeScale, 2> totalScales;
    SecurityRules security;
    ViewState view;
    int nextTest;
    bool operator==(const Document&) const = default;
};

Document documentOf(const Gradebook& b) {
    Document d{{},
               {},
               b.students(),
               b.tests(),
               {},
               b.importanceSet(),
               b.totalScales(),
               b.security(),
               b.view(),
               b.nextTestNumber()};
    for (int r = 0; r < b.rowCount(); ++r) {
        d.rows << Row(b, r);
        d.lengths << b.rowHeight(r);
        for (int c = 0; c < b.columnCount(); ++c)
            d.values << b.cellValue(r, c);
    }
    for (int c = 0; c < b.columnCount(); ++c)
        d.lengths << b.columnWidth(c);
    for (ImportanceGroup& g : d.importance.steps)
        g.testCount = 0; // a total calculation's working counter
    return d;
}

// Four students, three tests with scores; one scored, one empty, one ignored cell among them.
void fillClass(Gradebook& b) {
    NewClass(b, LetterLibraries(), 3);
    b.setShape(5, b.columnCount());
    const QStringList names = {u"Di Fox"_s, u"Ann Lee"_s, u"Cy Dahl"_s, u"Bo Ek"_s};
    for (int r = 1; r <= 4; ++r) {
        b.SetCellText(r, 0, names[r - 1]);
        for (int c = 2; c <= 4; ++c)
            if (r + c != 6) EnterScore(b, r, c, QString::number(40 + 13 * r - 7 * c));
    }
    SetIgnored(b, {3}, {4}, true);
    RecalcAll(b);
}

using Command = std::function<void(Gradebook&, int)>; // the int varies the command
const std::vector<std::pair<const char*, Command>>& commands() {
    static const std::vector<std::pair<const char*, Command>> list = {
        {"typed score", [](Gradebook& b, int k) { EnterScore(b, 1 + k % 4, 2 + k % 3, u"17"_s); }},
        {"ignore",
         [](Gradebook& b, int k) {
             SetIgnored(b, {1 + k % 4}, {2, 3}, k % 2 == 1);
         }},
        {"name as ID",
         [](Gradebook& b, int k) {
             StudentRecord& s = b.StudentOf(1 + k % 4);
             s.id.assign(u"ID-%1"_s.arg(k));
             s.showAsId = 1;
             ShowChosenName(b, 1 + k % 4);
         }},
        {"add test", [](Gradebook& b, int) { AddTests(b, 1, LetterLibraries()); }},
        {"delete test",
         [](Gradebook& b, int k) {
             if (b.testCount() > 1) b.removeTestColumns(2 + k % b.testCount(), 1);
             RecalcTotals(b);
         }},
        {"move test", [](Gradebook& b, int k) { MoveTest(b, 2 + k % b.testCount(), 2); }},
        {"insert student",
         [](Gradebook& b, int k) {
             b.insertStudentRow(1 + k % b.studentCount(), NewStudentRecord(), u"New"_s);
         }},
        {"delete students", [](Gradebook& b, int k) { DeleteStudents(b, 1, 1 + k % 2); }},
        {"student count", [](Gradebook& b, int k) { b.setShape(2 + k % 7, b.columnCount()); }},
        {"sort by name",
         [](Gradebook& b, int) {
             b.view().studentSortRule = StudentsByName;
             SortStudents(b, 1);
         }},
        {"maximum score",
         [](Gradebook& b, int k) {
             SetMaxScore(b.TestOf(2), QString::number(50 + k % 3 * 25));
             RecalcColumn(b, 2);
         }},
        {"averaging rule", [](Gradebook& b, int k) { SetAveragingRule(b, k % 2 == 0); }},
        {"display mode",
         [](Gradebook& b, int k) {
             b.view().displayMode = DisplayMode(k % 3);
             RecalcAll(b);
         }},
        {"column width", [](Gradebook& b, int k) { b.setColumnWidth(2, 1000 + 10 * k); }},
        {"security",
         [](Gradebook& b, int k) {
             b.security() = {u"pw"_s, {k % 2 == 0}};
         }},
        {"clear block",
         [](Gradebook& b, int) {
             ClearScores(b, {1, 2, 2, 3});
         }},
    };
    return list;
}

} // namespace

class TestHistory : public QObject {
    Q_OBJECT
private slots:
    void everyStepComesBackExactly_data() {
        QTest::addColumn<int>("command");
        for (std::size_t i = 0; i < commands().size(); ++i)
            QTest::newRow(commands()[i].first) << int(i);
    }
    void everyStepComesBackExactly() {
        QFETCH(int, command);
        Gradebook book;
        fillClass(book);
        History history(book);
        const Document before = documentOf(book);
        commands()[std::size_t(command)].second(book, 1);
        const Document after = documentOf(book);
        QVERIFY(!(after == before));
        QVERIFY(history.commit(u"Step"_s, {2, 3}, EditScores));
        QCOMPARE(history.undoName(), u"Step"_s);
        QCOMPARE(history.undoRule(), int(EditScores));
        QVERIFY(history.undo() == std::optional<StepPlace>(StepPlace{2, 3}));
        QVERIFY(documentOf(book) == before);
        QVERIFY(!history.hasUncommittedChanges());
        QCOMPARE(history.redoName(), u"Step"_s);
        QVERIFY(history.redo());
        QVERIFY(documentOf(book) == after);
        QVERIFY(!history.commit(u"Nothing"_s, {}));
    }

    // Hundreds of random commands, each a step: undoing them all gives the start back, redoing
    // them all the end.
    void randomCommandsUndoneAndRedone() {
        Gradebook book;
        fillClass(book);
        History history(book);
        const Document start = documentOf(book);
        QRandomGenerator random(7);
        int steps = 0;
        for (int i = 0; i < 300; ++i) {
            const auto& [name, command] = commands()[random.bounded(int(commands().size()))];
            command(book, random.bounded(100));
            steps += history.commit(QString::fromLatin1(name), {1, 1});
        }
        const Document end = documentOf(book);
        for (int i = 0; i < steps; ++i)
            QVERIFY(history.undo());
        QVERIFY(!history.canUndo());
        QVERIFY(documentOf(book) == start);
        while (history.redo()) {
        }
        QVERIFY(documentOf(book) == end);
    }

    void savedStateFollowsUndoAndRedo() {
        Gradebook book;
        fillClass(book);
        History history(book);
        QVERIFY(history.isAtSaved());
        EnterScore(book, 1, 2, u"5"_s);
        history.commit(u"A"_s, {});
        history.markSaved();
        EnterScore(book, 1, 2, u"6"_s);
        history.commit(u"B"_s, {});
        QList<bool> atSaved{history.isAtSaved()};
        for (const bool undo : {true, true, false, false}) {
            QVERIFY(undo ? history.undo() : history.redo());
            atSaved << history.isAtSaved();
        }
        QCOMPARE(atSaved, QList<bool>({false, true, false, true, false}));
        // A new step after undoing past the save ends the way back to it.
        history.undo();
        history.undo();
        EnterScore(book, 1, 2, u"7"_s);
        QVERIFY(history.commit(u"C"_s, {}));
        QVERIFY(!history.canRedo());
        history.undo();
        QVERIFY(!history.isAtSaved());
    }

    // Typing on in one cell joins its step; a step ending at the saved document stays whole.
    void typingJoinsOneStep() {
        Gradebook book;
        fillClass(book);
        History history(book);
        const Document before = documentOf(book);
        for (const QString& typed : {u"1"_s, u"17"_s, u"17.5"_s})
            EnterScore(book, 1, 2, typed), history.commit(u"Typing"_s, {1, 2}, EditScores, true);
        const Document typed = documentOf(book);
        QCOMPARE(history.stepCount(), std::size_t(1));
        history.undo();
        QVERIFY(documentOf(book) == before);
        history.redo();
        QVERIFY(documentOf(book) == typed);
        history.markSaved();
        EnterScore(book, 1, 2, u"9"_s);
        history.commit(u"Typing"_s, {1, 2}, EditScores, true);
        QCOMPARE(history.stepCount(), std::size_t(2));
    }

    // A long session keeps within the limit by dropping its oldest steps; a change made before
    // an undo without a step of its own becomes one first.
    void memoryStaysWithinItsLimit() {
        Gradebook book;
        fillClass(book);
        const std::size_t limit = History(book).memoryUse() + 16384;
        History history(book, limit);
        for (int i = 0; i < 200; ++i) {
            EnterScore(book, 1 + i % 4, 2, QString::number(i % 90));
            QVERIFY(history.commit(u"Typing"_s, {}));
            QVERIFY(history.memoryUse() <= limit);
        }
        QVERIFY(history.stepCount() < 200 && history.stepCount() > 2);
        QVERIFY(!history.isAtSaved());
        const QString last = book.GetCellText(4, 2);
        EnterScore(book, 4, 2, u"88"_s);
        QVERIFY(history.undo());
        QCOMPARE(book.GetCellText(4, 2), last);
    }
};

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"
