#include "TestSupport.h"
#include "core/Gradebook.h"
#include "core/StudentCommands.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace TestSupport;

class TestGradebook : public QObject {
    Q_OBJECT
private slots:
    // A new gradebook, also when made over an open class: seven blank students of the default
    // height, no tests, the Total record, scales and groups from the libraries, no password, no
    // file.
    void newGradebook() {
        const Libraries libs = LetterLibraries();
        Gradebook book;
        NewClass(book, libs, 1).setShape(12, 3);
        book.SetCellText(1, 0, u"Ada"_s);
        book.SetCellText(1, 2, u"85"_s);
        book.StudentOf(1).note.assignNote(u"moved away"_s);
        book.setRowHeight(1, 600);
        book.setColumnWidth(1, 900);
        book.security().password = u"owl"_s;
        book.setAcceptedPassword(u"owl"_s);
        book.setFileName(u"/home/t/class.GRD"_s);
        book.setNextTestNumber(3);
        book.view() = {DisplayMode::Letters, ChartSubject::CurrentTest,
                       WorkingMode::Edit,    false,
                       StudentsByName,       TestsByDate};
        ResetToNew(book, libs);
        // Writes outside the table go nowhere.
        for (const auto& [row, col] : {std::pair(8, 0), std::pair(1, 2), std::pair(-1, 0)})
            book.SetCellText(row, col, u"ghost"_s);
        QCOMPARE(Row(book, 0), (QStringList{u"Name"_s, u"Total"_s}));
        QCOMPARE(Column(book, 0) + Column(book, 1), QStringList(14));
        for (int r = 1; r < 8; ++r) {
            QCOMPARE(book.StudentOf(r), NewStudentRecord());
            QCOMPARE(book.rowHeight(r), Limits::DefaultRowHeight);
        }
        QCOMPARE(book.columnWidth(1), Limits::DefaultColumnWidth);
        // The Total's record: maximum 100, the "Scores" rule, graded, on the first scale.
        const TestRecord& total = book.totalSetup();
        QCOMPARE(QList({total.maxScore, total.importance, float(total.calculateGrades)}),
                 QList({100.f, 1.f, 1.f}));
        QCOMPARE(total.scale.name.text() + book.totalScales()[1].name.text(), u"LettersTotals"_s);
        QCOMPARE(book.importanceSet(), libs.importanceSet(0));
        QCOMPARE(book.view(), (ViewState{DisplayMode::Letters, ChartSubject::CurrentTest,
                                         WorkingMode::Edit, true}));
        QCOMPARE(book.security().password + book.acceptedPassword() + book.fileName(), QString());
        QCOMPARE(book.nextTestNumber(), 0);
        // Without libraries there is no scale and no group.
        ResetToNew(book, Libraries{});
        QCOMPARE(book.totalSetup().scale, GradeScale{});
        QCOMPARE(book.importanceSet(), ImportanceSet{});
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
        NewClass(book, {}, 1);
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
        const Libraries libs = LetterLibraries();
        Gradebook book;
        NewClass(book, libs, 2);
        // Mark the existing tests so that we can see where they went.
        book.SetCellText(1, 2, u"first"_s);
        book.SetCellText(1, 3, u"second"_s);
        book.TestOf(3).maxScore = 20;
        book.setIncluded(1, 3, false);
        book.setModified(false);
        int col = current;
        QVERIFY(AddBlankTest(book, col, libs, QDate(2026, 9, 15)));
        QCOMPARE(col, expected);
        QVERIFY(book.isModified());
        const TestRecord& t = book.TestOf(col);
        QCOMPARE(book.GetCellText(0, col) + t.date.text() + t.scale.name.text(),
                 u"Test  309/15/26Letters"_s);
        QCOMPARE(QList({t.maxScore, t.importance, float(t.calculateGrades)}),
                 QList({100.f, 1.f, 1.f}));
        // The tests behind it moved, with their records and include flags.
        QStringList scores = {u"first"_s, u"second"_s};
        scores.insert(col - 2, QString());
        QCOMPARE(Row(book, 1).mid(2), scores);
        const int second = col <= 3 ? 4 : 3;
        QCOMPARE(book.TestOf(second).maxScore, 20.0f);
        QVERIFY(book.isIncluded(1, col) && !book.isIncluded(1, second));
    }

    void fourHundredTestsAndNoMoreThenTwoRemoved() {
        Gradebook book;
        NewClass(book, {}, 400);
        QCOMPARE(book.GetCellText(0, 401), u"Test  400"_s);
        int col = 2;
        QCOMPARE(AddBlankTest(book, col, {}, QDate(2026, 9, 1)).message(), u"Too many tests!"_s);
        QCOMPARE(book.testCount(), 400);
        // Removing tests shifts the later ones with their records and include flags.
        for (int c = 2; c < 6; ++c)
            book.TestOf(c).maxScore = float(10 * (c - 1));
        book.setIncluded(2, 5, false); // fourth test ignored for the second student
        book.removeTestColumns(3, 2);  // second and third tests
        QCOMPARE(book.testCount(), 398);
        QCOMPARE(book.GetCellText(0, 3), u"Test  4"_s);
        QCOMPARE(book.TestOf(3).maxScore, 40.0f);
        QVERIFY(!book.isIncluded(2, 3) && book.isIncluded(2, 2));
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

    // Deleting students: a range goes, and when it is everyone the first row stays as a new
    // student. A row nobody has used is fresh, so deleting it asks nothing.
    void deletingStudents_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<QString>("names"); // after the deletion, "|" between rows
        QTest::newRow("one") << 2 << 2 << u"A|C|NewName"_s;
        QTest::newRow("a range") << 1 << 2 << u"C|NewName"_s;
        QTest::newRow("everyone") << 1 << 4 << QString();
        QTest::newRow("past the end") << 3 << 9 << u"A|B"_s;
    }
    void deletingStudents() {
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(QString, names);
        Gradebook book;
        TestSupport::NewClass(book, TestSupport::LetterLibraries(), 1);
        book.setShape(5, book.columnCount());
        for (int r = 1; r <= 3; ++r) {
            book.SetCellText(r, 0, QString(QChar(u'A' + r - 1)));
            book.StudentOf(r).id = u"S-"_s + QString::number(r);
        }
        book.SetCellText(4, 0, u"NewName"_s);
        QVERIFY(!IsFreshStudent(book, 1));
        QVERIFY(IsFreshStudent(book, 4));
        DeleteStudents(book, first, last);
        QCOMPARE(TestSupport::Column(book, 0).join(u'|'), names);
        if (names.isEmpty()) QCOMPARE(book.StudentOf(1), NewStudentRecord());
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
        QCOMPARE(book.StudentOf(11), NewStudentRecord());
    }
};

QTEST_GUILESS_MAIN(TestGradebook)
#include "tst_gradebook.moc"
