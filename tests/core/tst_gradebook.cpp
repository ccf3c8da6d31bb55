#include "TestSupport.h"
#include "core/Gradebook.h"
#include "core/NewGradebook.h"
#include "core/TestCommands.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// Adds blank tests at the end of the table.
void addTests(Gradebook& book, int n, const Libraries& libs = {}) {
    for (int i = 0; i < n; ++i) {
        int col = book.columnCount();
        QVERIFY(AddBlankTest(book, col, libs, QDate(2026, 9, 15)));
    }
}

} // namespace

class TestGradebook : public QObject {
    Q_OBJECT
private slots:
    void newGradebookState() {
        Gradebook book;
        const Libraries libs = TestSupport::LetterLibraries();
        ResetToNew(book, libs);
        QCOMPARE(book.rowCount(), 8);
        QCOMPARE(book.columnCount(), 2);
        QCOMPARE(book.GetCellText(0, 0), u"Name"_s);
        QCOMPARE(book.GetCellText(0, 1), u"Total"_s);
        for (int r = 1; r < 8; ++r) {
            QCOMPARE(book.rowHeight(r), 285);
            QCOMPARE(book.StudentOf(r).includeFlags.raw(), QString(400, u'1'));
        }
        QCOMPARE(book.columnWidth(1), 1500);
        const TestRecord& total = book.totalSetup();
        QCOMPARE(total.maxScore, 100.0f);
        QCOMPARE(total.importance, 1.0f);
        QCOMPARE(total.calculateGrades, 1);
        QCOMPARE(total.scale.name.text(), u"Letters"_s);
        QCOMPARE(book.totalScales()[1].name.text(), u"Totals"_s);
        QCOMPARE(book.importanceSet().name.text(), u"All"_s);
        QVERIFY(book.view().showTotalScores);
        QVERIFY(book.tests().size() >= 6);
        // Empty libraries give a gradebook without scale or groups.
        ResetToNew(book, Libraries{});
        QCOMPARE(book.totalSetup().scale.count, 0);
        QCOMPARE(book.importanceSet().count, 0);
        QCOMPARE(book.rowCount(), 8);
    }

    void newGradebookForgetsThePreviousClass() {
        Gradebook book;
        const Libraries libs = TestSupport::LetterLibraries();
        ResetToNew(book, libs);
        addTests(book, 1, libs);
        book.SetCellText(1, 0, u"Ada"_s);
        book.SetCellText(1, 2, u"85"_s);
        book.StudentOf(1).showAsId = 1;
        book.StudentOf(1).note.assignNote(u"moved away"_s);
        book.security().password = u"owl"_s;
        book.security().protect[1] = true;
        book.setFileName(u"/home/t/class.GRD"_s);
        ResetToNew(book, libs);
        QCOMPARE(book.columnCount(), 2);
        QCOMPARE(book.GetCellText(1, 0), QString());
        QCOMPARE(book.GetCellText(1, 2), QString());
        QCOMPARE(book.StudentOf(1).showAsId, 0);
        QCOMPARE(book.StudentOf(1).note.noteText(), QString());
        QVERIFY(book.security().password.isEmpty());
        QVERIFY(book.acceptedPassword().isEmpty());
        QCOMPARE(book.nextTestNumber(), 0);
        QVERIFY(book.fileName().isEmpty());
        // Writes outside the table go nowhere.
        book.SetCellText(8, 0, u"ghost"_s);
        book.SetCellText(1, 2, u"ghost"_s);
        book.SetCellText(-1, 0, u"ghost"_s);
        QCOMPARE(book.GetCellText(8, 0), QString());
        QCOMPARE(book.GetCellText(1, 2), QString());
        QCOMPARE(book.GetCellText(-1, -1), QString());
    }

    void headerEditingRedirectsWrites_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::newRow("off") << int(HeaderEditing::Off) << 3 << 2;
        QTest::newRow("student names") << int(HeaderEditing::StudentNames) << 3 << 0;
        QTest::newRow("test names") << int(HeaderEditing::TestNames) << 0 << 2;
    }
    void headerEditingRedirectsWrites() {
        QFETCH(int, mode);
        QFETCH(int, row);
        QFETCH(int, col);
        Gradebook book;
        ResetToNew(book, {});
        addTests(book, 1);
        book.setHeaderEditing(HeaderEditing(mode));
        book.SetCellText(3, 2, u"typed"_s);
        QCOMPARE(book.GetCellText(row, col), u"typed"_s);
        {
            Gradebook::HeaderEditingOff off(book);
            book.SetCellText(3, 2, u"score"_s);
        }
        QCOMPARE(book.GetCellText(3, 2), u"score"_s);
        QCOMPARE(int(book.headerEditing()), mode);
    }

    void firstTestOwnsColumnTwoAndFlagOne() {
        Gradebook book;
        const Libraries libs = TestSupport::LetterLibraries();
        ResetToNew(book, libs);
        int col = 1;
        QVERIFY(AddBlankTest(book, col, libs, QDate(2026, 9, 15)));
        QCOMPARE(col, 2);
        QCOMPARE(book.GetCellText(0, 2), u"Test  1"_s);
        const TestRecord& t = book.TestOf(2);
        QCOMPARE(t.maxScore, 100.0f);
        QCOMPARE(t.importance, 1.0f);
        QCOMPARE(t.calculateGrades, 1);
        QCOMPARE(t.date.text(), u"09/15/26"_s);
        QCOMPARE(t.scale.name.text(), u"Letters"_s);
        QCOMPARE(&t, &book.tests()[1]);
        book.setIncluded(3, 2, false);
        QCOMPARE(book.StudentOf(3).includeFlags.at(0), QChar(u'0'));
        QVERIFY(!book.isIncluded(3, 2));
        QVERIFY(book.isModified());
    }

    void blankTestGoesInFrontOfTheCurrentColumn_data() {
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("expected");
        QTest::newRow("name column") << 0 << 2;
        QTest::newRow("total column") << 1 << 2;
        QTest::newRow("second test") << 3 << 3;
        QTest::newRow("past the end") << 9 << 4;
    }
    void blankTestGoesInFrontOfTheCurrentColumn() {
        QFETCH(int, current);
        QFETCH(int, expected);
        Gradebook book;
        ResetToNew(book, {});
        addTests(book, 2);
        // Mark the existing tests so that we can see where they went.
        book.SetCellText(1, 2, u"first"_s);
        book.SetCellText(1, 3, u"second"_s);
        book.TestOf(2).maxScore = 10;
        book.TestOf(3).maxScore = 20;
        book.setIncluded(1, 3, false);
        int col = current;
        QVERIFY(AddBlankTest(book, col, {}, QDate(2026, 9, 1)));
        QCOMPARE(col, expected);
        QCOMPARE(book.GetCellText(0, col), u"Test  3"_s);
        QCOMPARE(book.GetCellText(1, col), QString());
        QVERIFY(book.isIncluded(1, col));
        const int first = col <= 2 ? 3 : 2;
        const int second = col <= 3 ? 4 : 3;
        QCOMPARE(book.GetCellText(1, first), u"first"_s);
        QCOMPARE(book.GetCellText(1, second), u"second"_s);
        QCOMPARE(book.TestOf(first).maxScore, 10.0f);
        QCOMPARE(book.TestOf(second).maxScore, 20.0f);
        QVERIFY(!book.isIncluded(1, second));
    }

    void fourHundredTestsAndNoMore() {
        Gradebook book;
        ResetToNew(book, {});
        addTests(book, 400);
        QCOMPARE(book.GetCellText(0, 401), u"Test  400"_s);
        int col = 2;
        const Result refused = AddBlankTest(book, col, {}, QDate(2026, 9, 1));
        QVERIFY(!refused);
        QCOMPARE(refused.message(), u"Too many tests!"_s);
        QCOMPARE(book.testCount(), 400);
    }

    void removingTestsShiftsRecordsAndFlags() {
        Gradebook book;
        ResetToNew(book, {});
        addTests(book, 4);
        for (int col = 2; col < 6; ++col)
            book.TestOf(col).maxScore = float(10 * (col - 1));
        book.setIncluded(2, 5, false); // fourth test ignored for the second student
        book.removeTestColumns(3, 2);  // second and third tests
        QCOMPARE(book.testCount(), 2);
        QCOMPARE(book.GetCellText(0, 3), u"Test  4"_s);
        QCOMPARE(book.TestOf(3).maxScore, 40.0f);
        QVERIFY(!book.isIncluded(2, 3));
        QVERIFY(book.isIncluded(2, 2));
    }

    void batchedWritesGiveOneNotice() {
        Gradebook book;
        ResetToNew(book, {});
        QSignalSpy spy(&book, &Gradebook::cellsChanged);
        book.SetCellText(2, 0, u"Ada"_s);
        book.SetCellText(2, 0, u"Ada"_s); // unchanged text: nothing to repaint
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0), (QList<QVariant>{2, 0, 2, 0}));
        {
            Gradebook::BatchUpdate batch(book);
            book.SetCellText(3, 1, u"x"_s);
            book.SetCellText(5, 0, u"y"_s);
            QCOMPARE(spy.count(), 1);
        }
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.at(1), (QList<QVariant>{3, 0, 5, 1}));
        // The panel filling its controls is no change by the user.
        book.setModified(false);
        book.setPanelUpdating(true);
        book.MarkModified();
        QVERIFY(!book.isModified());
        book.setPanelUpdating(false);
        book.MarkModified();
        QVERIFY(book.isModified());
    }

    void rowsGrownAgainHoldNewStudents() {
        Gradebook book;
        ResetToNew(book, {});
        book.StudentOf(5).id = u"S-5"_s;
        book.setIncluded(5, 2, false);
        book.setShape(4, 2); // three students left; the fifth's record is not shown
        book.setShape(8, 2);
        QCOMPARE(book.StudentOf(5), NewStudentRecord());
        book.setShape(12, 2);
        QCOMPARE(book.StudentOf(11).includeFlags.raw(), QString(400, u'1'));
        QCOMPARE(book.StudentOf(11).id.raw(), QString(25, u' '));
    }
};

QTEST_GUILESS_MAIN(TestGradebook)
#include "tst_gradebook.moc"
