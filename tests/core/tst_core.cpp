// The document's core: numbers and texts as read and written, test dates, and protection.
#include "TestSupport.h"
#include "core/FixedText.h"
#include "core/Gradebook.h"
#include "core/NumberText.h"
#include "core/Security.h"
#include "core/TestDate.h"
#include "grading/Sorting.h"

#include <QRandomGenerator>
#include <QTest>

#include <bit>
#include <functional>

using namespace Qt::Literals::StringLiterals;
using namespace TestSupport;
using Format = std::function<QString(double)>;

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

class TestCore : public QObject {
    Q_OBJECT
private slots:
    // The number read from a text, and from a cell holding it (its first six characters).
    void readLeadingNumber_data() {
        Columns<QString, double, double>("text", "value", "cellValue");
        const auto row = [](const char* tag, const QString& text, double value, double cell) {
            QTest::newRow(tag) << text << value << cell;
        };
        row("empty", u""_s, 0, 0);
        row("leading blanks", u"   85"_s, 85, 85);
        row("score cell", u"92.5   (A)"_s, 92.5, 92.5);
        row("no leading zero", u".5"_s, 0.5, 0.5);
        row("negative", u"-.25"_s, -0.25, -0.25);
        row("plus sign", u"+7"_s, 7, 7);
        row("second point stops", u"1.2.3"_s, 1.2, 1.2);
        row("exponent", u"1E+07"_s, 1e7, 1e7);
        row("small exponent", u"1.5e-3"_s, 0.0015, 0.0015);
        row("exponent without digits", u"4E"_s, 4, 4);
        row("tab inside digits", u"8\t5"_s, 85, 85);
        row("line end inside digits", u"1.5\r\n25"_s, 1.525, 1.52);
        row("long entry", u"1234567"_s, 1234567, 123456);
        row("many leading zeros", QString(70, u'0') + u'5', 5, 0);
        row("sign alone", u"-"_s, 0, 0);
        row("ignore marker", u"        x"_s, 0, 0);
        row("overflow gives 0", u"1E999"_s, 0, 0);
    }
    void readLeadingNumber() {
        QFETCH(QString, text);
        QTEST(ReadLeadingNumber(text), "value");
        QTEST(CellValue(text), "cellValue");
    }

    // The fast paths for plain decimals read and check every text as the general ones do.
    void fastPathAgreesWithGeneralReader() {
        QRandomGenerator random(20260901);
        const QString alphabet = u"0123456789012345.-+eEdD \t\n\r\v\u00a0xa"_s;
        for (int n = 0; n < 300000; ++n) {
            QString text(random.bounded(1, 10), u' ');
            for (QChar& c : text)
                c = alphabet[random.bounded(int(alphabet.size()))];
            const double fast = ReadLeadingNumber(text), general = ReadLeadingNumberGeneral(text);
            QVERIFY2(std::bit_cast<quint64>(fast) == std::bit_cast<quint64>(general) &&
                         IsNumberText(text) == IsNumberTextGeneral(text),
                     text.toUtf8().toPercentEncoding().constData());
        }
    }

    // The number formats; a file float reads back as the same single-precision value.
    void formats_data() {
        Columns<Format, double, QString>("format", "value", "text");
        const auto row = [](const char* tag, const Format& format, double value, const QString& t) {
            QTest::newRow(tag) << format << value << t;
        };
        const Format general = FormatGeneral, two = FormatTwoDecimals, whole = FormatWhole,
                     hash = FormatWholeOrEmpty,
                     file = [](double v) { return FormatFileFloat(float(v)); };
        row("general whole", general, 85, u"85"_s);
        row("general below one", general, 0.5, u"0.5"_s);
        row("general seven digits", general, 1.0 / 3, u"0.3333333"_s);
        row("general float noise", general, 0.1 + 0.2, u"0.3"_s);
        row("general large", general, 12345678, u"12345680"_s);
        row("two decimals whole", two, 4, u"4.0"_s);
        row("two decimals rounds", two, 3.666, u"3.67"_s);
        row("two decimals, negative to zero", two, -0.001, u"0.0"_s);
        row("whole", whole, 84.5, u"85"_s);
        row("whole, negative to zero", whole, -0.4, u"0"_s);
        row("hash", hash, 33, u"33"_s);
        row("hash rounds to zero", hash, 0.4, u""_s);
        row("file half", file, 0.5, u".5"_s);
        row("file negative quarter", file, -0.25, u"-.25"_s);
        row("file zero", file, 0, u"0"_s);
        row("file single precision tenth", file, 0.1, u".1"_s);
        row("file seven digits", file, 1234567, u"1234567"_s);
        row("file ten million", file, 1e7, u"1E+07"_s);
        row("file tiny", file, 1.5e-5, u"1.5E-05"_s);
    }
    void formats() {
        QFETCH(Format, format);
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(format(value), text);
        if (QLatin1StringView(QTest::currentDataTag()).startsWith(u"file"_s))
            QCOMPARE(float(ReadLeadingNumber(text)), float(value));
    }

    // What a FixedText<10> holds after a text is assigned plainly or as a note.
    void fixedText_data() {
        // A null text is never assigned.
        Columns<QString, bool, QString, QString, QString>("assigned", "asNote", "raw", "text",
                                                          "note");
        const QChar nul(u'\0');
        const auto row = [](const char* tag, const QString& assigned, bool asNote,
                            const QString& raw, const QString& text, const QString& note) {
            QTest::newRow(tag) << assigned << asNote << raw << text << note;
        };
        // A text field without a NUL is no note; leading blanks are part of the text.
        row("never assigned", {}, false, QString(10, nul), u""_s, u""_s);
        row("padded", u" A-"_s, false, u" A-       "_s, u" A-"_s, u""_s);
        row("cut", u"Outstanding!"_s, false, u"Outstandin"_s, u"Outstandin"_s, u""_s);
        row("empty", u""_s, false, QString(10, u' '), u""_s, u""_s);
        row("starts with NUL", nul + u"late"_s, false, nul + u"late     "_s, u""_s, u""_s);
        row("note keeps its blanks", u" a  "_s, true, u" a  "_s + nul + u"     "_s, u" a"_s,
            u" a  "_s);
        row("longer note cut to the field", u"late work!"_s, true, u"late work"_s + nul,
            u"late work"_s, u"late work"_s);
    }
    void fixedText() {
        QFETCH(QString, assigned);
        QFETCH(bool, asNote);
        FixedText<10> field;
        if (asNote)
            field.assignNote(assigned);
        else if (!assigned.isNull())
            field = assigned;
        QTEST(field.raw(), "raw");
        QTEST(field.text(), "text");
        QTEST(field.noteText(), "note");
    }

    void testDates_data() {
        Columns<QString, QDate>("text", "date");
        QTest::newRow("last of 2000s window") << u"12/31/29"_s << QDate(2029, 12, 31);
        QTest::newRow("first of 1900s window") << u"01/01/30"_s << QDate(1930, 1, 1);
        QTest::newRow("blank") << u"        "_s << QDate();
        QTest::newRow("masked blank") << u"  /  /  "_s << QDate();
        QTest::newRow("no such day") << u"02/30/07"_s << QDate();
        QTest::newRow("words") << u"tomorrow"_s << QDate();
    }
    void testDates() {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        QCOMPARE(ParseTestDate(text).value_or(QDate()), date);
        if (date.isValid()) QCOMPARE(FormatTestDate(date), text);
    }

    void accessNeeded_data() {
        // The rules that ask.
        Columns<QString, QString, int, QList<int>>("password", "given", "protectMask", "asking");
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
        QCOMPARE(Column(book, 0), hidden ? idsShown : chosenNames);
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
        Columns<int, QStringList>("between", "restored");
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
            QStringList shown = Column(book, 0);
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
            QCOMPARE(Column(book, 0), restored);
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

QTEST_GUILESS_MAIN(TestCore)
#include "tst_core.moc"
