#include "TestSupport.h"
#include "core/Gradebook.h"
#include "core/Security.h"
#include "grading/Sorting.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Student {
    QString name, id;
    bool showAsId;
};

// Finn is shown by his ID by choice; the IDs run against the names' order.
const std::vector<Student> mixedClass = {{u"Eve Adams"_s, u"S-103"_s, false},
                                         {u"Finn Baker"_s, u"S-101"_s, true},
                                         {u"Gus Clark"_s, u"S-102"_s, false}};
const QStringList chosenNames = {u"Eve Adams"_s, u"S-101"_s, u"Gus Clark"_s};
const QStringList idsShown = {u"S-103"_s, u"S-101"_s, u"S-102"_s};
const QStringList idsSorted = {u"S-101"_s, u"S-102"_s, u"S-103"_s, u"S-104"_s};

enum Between { Nothing, SortRows, AddStudent };

// Puts a student in `row`, the name cell showing the name or, by choice, the ID.
void putStudent(Gradebook& book, int row, const Student& s) {
    Gradebook::HeaderEditingOff off(book);
    StudentRecord& record = book.StudentOf(row);
    record.name = s.name;
    record.id = s.id;
    record.showAsId = s.showAsId ? 1 : 0;
    book.SetCellText(row, 0, s.showAsId ? s.id : s.name);
}

// A new class of `students` with a password; bit k of `protectMask` protects rule k.
void fillClass(Gradebook& book, const std::vector<Student>& students,
               const QString& password = u"s3cret"_s, int protectMask = 1 << AccessNames) {
    ResetToNew(book, Libraries{});
    book.setShape(int(students.size()) + 1, 2);
    for (int r = 1; r <= int(students.size()); ++r)
        putStudent(book, r, students[std::size_t(r - 1)]);
    book.security().password = password;
    for (int k = 0; k < ProtectRuleCount; ++k)
        book.security().protect[std::size_t(k)] = (protectMask >> k) & 1;
}

} // namespace

class TestSecurity : public QObject {
    Q_OBJECT
private slots:
    void accessNeeded_data() {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("given");
        QTest::addColumn<int>("protectMask");
        QTest::addColumn<QList<int>>("asking"); // the rules that ask
        const QList<int> all = {AnyRule, AccessNames, EditScores, SaveToDisk, ChangeGradingRules};
        QTest::newRow("no password") << QString() << QString() << 0xF << QList<int>{};
        // Any-rule asks whenever the gradebook is locked, whatever is protected.
        QTest::newRow("names and saving protected")
            << u"s3cret"_s << QString() << 0b0101 << QList<int>{AnyRule, AccessNames, SaveToDisk};
        QTest::newRow("names not protected")
            << u"s3cret"_s << QString() << 0b1110
            << QList<int>{AnyRule, EditScores, SaveToDisk, ChangeGradingRules};
        QTest::newRow("unlocked") << u"s3cret"_s << u"s3cret"_s << 0xF << QList<int>{};
        // The comparison is exact; so a password changed after Unlock asks again.
        QTest::newRow("other case") << u"s3cret"_s << u"S3CRET"_s << 0xF << all;
    }

    void accessNeeded() {
        QFETCH(QString, password);
        QFETCH(QString, given);
        QFETCH(int, protectMask);
        QFETCH(QList<int>, asking);
        Gradebook book;
        fillClass(book, mixedClass, password, protectMask);
        book.setAcceptedPassword(given);
        for (int rule = AnyRule - 1; rule <= ProtectRuleCount; ++rule)
            QVERIFY2(AccessNeeded(book, rule) == asking.contains(rule),
                     qPrintable(QString::number(rule)));
        // Opening hides the names exactly when they ask; each student's choice is kept.
        HideNames(book);
        const bool hidden = asking.contains(AccessNames);
        QCOMPARE(TestSupport::Column(book, 0), hidden ? idsShown : chosenNames);
        for (int r = 1; r < book.rowCount(); ++r) {
            const bool chosen = mixedClass[std::size_t(r - 1)].showAsId;
            QCOMPARE(book.StudentOf(r).savedShowAsId, std::int16_t(chosen));
            QCOMPARE(book.StudentOf(r).showAsId, std::int16_t(hidden || chosen));
        }
    }

    void unlockLastsUntilANewGradebook() {
        Gradebook book;
        fillClass(book, {}, u"s3cret"_s, 0b0101);
        Unlock(book);
        QVERIFY(!AccessNeeded(book, AnyRule));
        // A new gradebook drops the password and its acceptance; the flags stay, without effect
        // until there is a password again, which then asks again.
        ResetToNew(book, Libraries{});
        QVERIFY(!AccessNeeded(book, AnyRule));
        book.security().password = u"s3cret"_s;
        QVERIFY(AccessNeeded(book, AccessNames) && !AccessNeeded(book, EditScores));
    }

    void hideThenRestore_data() {
        QTest::addColumn<int>("between");
        QTest::addColumn<QStringList>("restored");
        QTest::newRow("nothing between") << int(Nothing) << chosenNames;
        // Sorted by the IDs shown, as the Refresh after opening does: Finn, shown by ID by
        // choice, stays so; the others get their names back.
        QTest::newRow("sorted between")
            << int(SortRows) << QStringList{u"S-101"_s, u"Gus Clark"_s, u"Eve Adams"_s};
        // A student added while the names were hidden has no saved choice: shown as added.
        QTest::newRow("student added")
            << int(AddStudent) << chosenNames + QStringList{u"Hal Dunn"_s};
    }

    void hideThenRestore() {
        QFETCH(int, between);
        QFETCH(QStringList, restored);
        Gradebook book;
        fillClass(book, mixedClass);
        // Names move with the header editor off, and it is back on after.
        book.setHeaderEditing(HeaderEditing::TestNames);
        // A second opening behaves the same: nothing was lost on the way.
        for (int opening = 0; opening < 2; ++opening) {
            book.setAcceptedPassword(QString());
            HideNames(book);
            // Every student shows its own ID: none lost or doubled.
            QStringList shown = TestSupport::Column(book, 0);
            shown.sort();
            QCOMPARE(shown, idsSorted.first(book.rowCount() - 1));
            if (between == SortRows) {
                book.view().studentSortRule = StudentsByName;
                QVERIFY(SortStudents(book, 1));
            } else if (between == AddStudent && opening == 0) {
                book.setShape(book.rowCount() + 1, book.columnCount());
                putStudent(book, book.rowCount() - 1, {u"Hal Dunn"_s, u"S-104"_s, false});
            }
            Unlock(book);
            RestoreNames(book);
            QCOMPARE(TestSupport::Column(book, 0), restored);
        }
        QCOMPARE(book.GetCellText(0, 0), u"Name"_s);
        QCOMPARE(book.headerEditing(), HeaderEditing::TestNames);
    }

    // What was typed into the name cell is parked in the record when the cell switches.
    void nameAsIdSwitch() {
        Gradebook book;
        fillClass(book, {{u"Old Name"_s, u"OLD-1"_s, false}});
        book.SetCellText(1, 0, u"Ada Lovelace"_s);
        SetNameAsId(book, 1, true);
        SetNameAsId(book, 1, true); // already on: nothing moves
        QCOMPARE(book.GetCellText(1, 0), u"OLD-1"_s);
        book.SetCellText(1, 0, QString());
        SetNameAsId(book, 1, false);
        QCOMPARE(book.GetCellText(1, 0) + book.StudentOf(1).id.text(), u"Ada Lovelace"_s);
        QCOMPARE(book.StudentOf(1).showAsId, std::int16_t(0));
        // Rows outside the students leave the headers alone.
        SetNameAsId(book, 0, true);
        SetNameAsId(book, book.rowCount(), true);
        QCOMPARE(book.GetCellText(0, 0), u"Name"_s);
    }
};

QTEST_GUILESS_MAIN(TestSecurity)
#include "tst_security.moc"
