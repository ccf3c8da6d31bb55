#include "core/Gradebook.h"
#include "core/NewGradebook.h"
#include "core/Security.h"
#include "grading/Sorting.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Student {
    QString name;
    QString id;
    bool showAsId;
};

// A new class of the given students, each name cell showing the name or, by choice, the ID.
void fillClass(Gradebook& book, const std::vector<Student>& students) {
    ResetToNew(book, Libraries{});
    book.setShape(int(students.size()) + 1, 2);
    for (int r = 1; r <= int(students.size()); ++r) {
        const Student& s = students[std::size_t(r - 1)];
        StudentRecord& record = book.StudentOf(r);
        record.name = s.name;
        record.id = s.id;
        record.showAsId = s.showAsId ? 1 : 0;
        book.SetCellText(r, 0, s.showAsId ? s.id : s.name);
    }
}

void protectWith(Gradebook& book, const QString& password,
                 std::array<bool, ProtectRuleCount> protect) {
    book.security().password = password;
    book.security().protect = protect;
}

QStringList nameColumn(const Gradebook& book) {
    QStringList cells;
    for (int r = 1; r < book.rowCount(); ++r)
        cells << book.GetCellText(r, 0);
    return cells;
}

const std::vector<Student> mixedClass = {{u"Eve Adams"_s, u"S-103"_s, false},
                                         {u"Finn Baker"_s, u"S-101"_s, true},
                                         {u"Gus Clark"_s, u"S-102"_s, false}};

} // namespace

class TestSecurity : public QObject {
    Q_OBJECT
private slots:
    void accessNeeded_data();
    void accessNeeded();
    void unlockCoversEveryRule();
    void newGradebookForgetsThePassword();
    void hideNames_data();
    void hideNames();
    void rightPasswordBringsBackTheChosenNames();
    void restoreAfterSortingKeepsEachStudentsChoice();
    void hideAndRestoreIgnoreHeaderEditing_data();
    void hideAndRestoreIgnoreHeaderEditing();
    void restoreWithFewerSavedFlagsThanStudents();
    void nameAsIdSwitch_data();
    void nameAsIdSwitch();
};

void TestSecurity::accessNeeded_data() {
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("given");
    QTest::addColumn<int>("protectMask"); // bit k: Protect(k)
    QTest::addColumn<int>("rule");
    QTest::addColumn<bool>("needed");

    for (int rule = AnyRule; rule < ProtectRuleCount; ++rule) {
        QTest::addRow("no password, rule %d", rule)
            << QString() << QString() << 0xF << rule << false;
        // Names and saving protected: those rules ask, any-rule always asks while locked.
        QTest::addRow("locked, rule %d", rule)
            << u"s3cret"_s << QString() << 0b0101 << rule
            << (rule == AnyRule || rule == AccessNames || rule == SaveToDisk);
        QTest::addRow("unlocked, rule %d", rule)
            << u"s3cret"_s << u"s3cret"_s << 0xF << rule << false;
        // The comparison is exact: another case or an old password does not unlock.
        QTest::addRow("other case, rule %d", rule)
            << u"s3cret"_s << u"S3CRET"_s << 0xF << rule << true;
    }
    QTest::newRow("rule beyond the flags") << u"s3cret"_s << QString() << 0xF << 4 << false;
    QTest::newRow("rule below any") << u"s3cret"_s << QString() << 0xF << -2 << false;
}

void TestSecurity::accessNeeded() {
    QFETCH(QString, password);
    QFETCH(QString, given);
    QFETCH(int, protectMask);
    QFETCH(int, rule);
    QFETCH(bool, needed);
    Gradebook book;
    ResetToNew(book, Libraries{});
    std::array<bool, ProtectRuleCount> protect{};
    for (int k = 0; k < ProtectRuleCount; ++k)
        protect[std::size_t(k)] = (protectMask >> k) & 1;
    protectWith(book, password, protect);
    book.setAcceptedPassword(given);
    QCOMPARE(AccessNeeded(book, rule), needed);
}

void TestSecurity::unlockCoversEveryRule() {
    Gradebook book;
    ResetToNew(book, Libraries{});
    protectWith(book, u"s3cret"_s, {true, true, true, true});
    for (int rule = AnyRule; rule < ProtectRuleCount; ++rule)
        QVERIFY(AccessNeeded(book, rule));
    Unlock(book);
    for (int rule = AnyRule; rule < ProtectRuleCount; ++rule)
        QVERIFY(!AccessNeeded(book, rule));
    // A new password (the Security Rules dialog) asks again until it is given.
    book.security().password = u"other"_s;
    QVERIFY(AccessNeeded(book, EditScores));
}

void TestSecurity::newGradebookForgetsThePassword() {
    Gradebook book;
    ResetToNew(book, Libraries{});
    protectWith(book, u"s3cret"_s, {true, false, true, false});
    Unlock(book);
    ResetToNew(book, Libraries{});
    QCOMPARE(book.security().password, QString());
    QCOMPARE(book.acceptedPassword(), QString());
    // The flags stay, without effect until there is a password again.
    QCOMPARE(book.security().protect,
             (std::array<bool, ProtectRuleCount>{true, false, true, false}));
    QVERIFY(!AccessNeeded(book, AnyRule));
    // Opening another gradebook with the same password starts locked.
    book.security().password = u"s3cret"_s;
    QVERIFY(AccessNeeded(book, AccessNames));
}

void TestSecurity::hideNames_data() {
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("protectNames");
    QTest::addColumn<bool>("unlocked");
    QTest::addColumn<bool>("hidden");

    QTest::newRow("names protected, locked") << u"s3cret"_s << true << false << true;
    QTest::newRow("names protected, unlocked") << u"s3cret"_s << true << true << false;
    QTest::newRow("names not protected") << u"s3cret"_s << false << false << false;
    QTest::newRow("no password") << QString() << true << false << false;
}

void TestSecurity::hideNames() {
    QFETCH(QString, password);
    QFETCH(bool, protectNames);
    QFETCH(bool, unlocked);
    QFETCH(bool, hidden);
    Gradebook book;
    fillClass(book, mixedClass);
    protectWith(book, password, {protectNames, true, true, true});
    if (unlocked) Unlock(book);

    HideNames(book);
    QCOMPARE(book.StudentOf(1).savedShowAsId, std::int16_t(0));
    QCOMPARE(book.StudentOf(2).savedShowAsId, std::int16_t(1));
    QCOMPARE(book.StudentOf(3).savedShowAsId, std::int16_t(0));
    QCOMPARE(book.security().password, password);
    if (hidden) {
        QCOMPARE(nameColumn(book), (QStringList{u"S-103"_s, u"S-101"_s, u"S-102"_s}));
        for (int r = 1; r < book.rowCount(); ++r)
            QVERIFY(book.StudentOf(r).showAsId != 0);
    } else {
        QCOMPARE(nameColumn(book), (QStringList{u"Eve Adams"_s, u"S-101"_s, u"Gus Clark"_s}));
        QCOMPARE(book.StudentOf(1).showAsId, std::int16_t(0));
    }
}

void TestSecurity::rightPasswordBringsBackTheChosenNames() {
    Gradebook book;
    fillClass(book, mixedClass);
    protectWith(book, u"s3cret"_s, {true, false, false, false});
    std::vector<StudentRecord> records;
    for (int r = 1; r < book.rowCount(); ++r) {
        records.push_back(book.StudentOf(r));
        records.back().savedShowAsId = records.back().showAsId;
    }

    HideNames(book);
    // Every name is parked in its record while the IDs show.
    QCOMPARE(book.StudentOf(1).name.text(), u"Eve Adams"_s);
    QCOMPARE(book.StudentOf(3).name.text(), u"Gus Clark"_s);

    Unlock(book);
    RestoreNames(book);
    QCOMPARE(nameColumn(book), (QStringList{u"Eve Adams"_s, u"S-101"_s, u"Gus Clark"_s}));
    for (int r = 1; r < book.rowCount(); ++r)
        QVERIFY2(book.StudentOf(r) == records[std::size_t(r - 1)], qPrintable(QString::number(r)));

    // A second opening behaves the same: nothing was lost on the way.
    book.setAcceptedPassword(QString());
    HideNames(book);
    RestoreNames(book);
    QCOMPARE(nameColumn(book), (QStringList{u"Eve Adams"_s, u"S-101"_s, u"Gus Clark"_s}));
}

void TestSecurity::restoreAfterSortingKeepsEachStudentsChoice() {
    Gradebook book;
    fillClass(book, mixedClass);
    protectWith(book, u"s3cret"_s, {true, false, false, false});
    HideNames(book);
    // The rows are sorted by the IDs now shown, as the Refresh after opening does.
    book.view().studentSortRule = StudentsByName;
    QVERIFY(SortStudents(book, 1));
    QCOMPARE(nameColumn(book), (QStringList{u"S-101"_s, u"S-102"_s, u"S-103"_s}));
    Unlock(book);
    RestoreNames(book);
    // The student the teacher shows by ID stays so; the others get their names back.
    QCOMPARE(nameColumn(book), (QStringList{u"S-101"_s, u"Gus Clark"_s, u"Eve Adams"_s}));
}

void TestSecurity::hideAndRestoreIgnoreHeaderEditing_data() {
    QTest::addColumn<int>("editing");
    QTest::newRow("test names") << int(HeaderEditing::TestNames);
    QTest::newRow("student names") << int(HeaderEditing::StudentNames);
}

void TestSecurity::hideAndRestoreIgnoreHeaderEditing() {
    QFETCH(int, editing);
    Gradebook book;
    fillClass(book, mixedClass);
    protectWith(book, u"s3cret"_s, {true, false, false, false});
    book.setHeaderEditing(HeaderEditing(editing));

    HideNames(book);
    QCOMPARE(book.GetCellText(0, 0), u"Name"_s);
    QCOMPARE(book.GetCellText(0, 1), u"Total"_s);
    QCOMPARE(nameColumn(book), (QStringList{u"S-103"_s, u"S-101"_s, u"S-102"_s}));
    Unlock(book);
    RestoreNames(book);
    QCOMPARE(nameColumn(book), (QStringList{u"Eve Adams"_s, u"S-101"_s, u"Gus Clark"_s}));
    QCOMPARE(int(book.headerEditing()), editing);
}

void TestSecurity::restoreWithFewerSavedFlagsThanStudents() {
    Gradebook book;
    fillClass(book, mixedClass);
    protectWith(book, u"s3cret"_s, {true, false, false, false});
    HideNames(book);
    // A student added while the names were hidden has no saved flag: shown as added.
    book.setShape(book.rowCount() + 1, book.columnCount());
    book.StudentOf(4).id = u"S-104"_s;
    book.SetCellText(4, 0, u"NewName"_s);
    Unlock(book);
    RestoreNames(book);
    QCOMPARE(nameColumn(book),
             (QStringList{u"Eve Adams"_s, u"S-101"_s, u"Gus Clark"_s, u"NewName"_s}));
}

void TestSecurity::nameAsIdSwitch_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("shownAsId");
    QTest::addColumn<QString>("shownAsName");

    QTest::newRow("plain") << u"Ada Lovelace"_s << u"A-1"_s << u"A-1"_s << u"Ada Lovelace"_s;
    QTest::newRow("no ID") << u"Ada Lovelace"_s << QString() << QString() << u"Ada Lovelace"_s;
    // The name field holds 75 characters, the ID 25: longer texts come back cut.
    QTest::newRow("long texts") << QString(80, u'n') << QString(30, u'7') << QString(25, u'7')
                                << QString(75, u'n');
}

void TestSecurity::nameAsIdSwitch() {
    QFETCH(QString, name);
    QFETCH(QString, id);
    QFETCH(QString, shownAsId);
    QFETCH(QString, shownAsName);
    Gradebook book;
    fillClass(book, {{name, id, false}});
    book.SetCellText(1, 0, name);

    SetNameAsId(book, 1, true);
    QCOMPARE(book.GetCellText(1, 0), shownAsId);
    QCOMPARE(book.StudentOf(1).showAsId, std::int16_t(1));
    SetNameAsId(book, 1, true); // already on: nothing moves
    QCOMPARE(book.GetCellText(1, 0), shownAsId);
    SetNameAsId(book, 1, false);
    QCOMPARE(book.GetCellText(1, 0), shownAsName);
    QCOMPARE(book.StudentOf(1).id.text(), shownAsId);
    QCOMPARE(book.StudentOf(1).showAsId, std::int16_t(0));

    // Rows outside the students leave the headers alone.
    SetNameAsId(book, 0, true);
    SetNameAsId(book, book.rowCount(), true);
    QCOMPARE(book.GetCellText(0, 0), u"Name"_s);
}

QTEST_GUILESS_MAIN(TestSecurity)
#include "tst_security.moc"
