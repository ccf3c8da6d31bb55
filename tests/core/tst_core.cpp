// The document's core: numbers and texts as read and written, test dates, protection, and the
// gradebook's table and records.
#include "TestSupport.h"
#include "core/FixedText.h"
#include "core/Gradebook.h"
#include "core/NumberText.h"
#include "core/Security.h"
#include "core/StudentCommands.h"
#include "core/TestDate.h"
#include "grading/Sorting.h"

#include <QRandomGenerator>
#include <QSignalSpy>
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
        const Table<QString, double, double> row("text", "value", "cellValue");
        row("empty", u""_s, 0, 0);
        row("leading blanks", u"   85"_s, 85, 85);
        row("score cell", u"92.5   (A)"_s, 92.5, 92.5);
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
        const Table<Format, double, QString> row("format", "value", "text");
        const Format general = FormatGeneral, two = FormatTwoDecimals, whole = FormatWhole,
                     hash = FormatWholeOrEmpty,
                     file = [](double v) { return FormatFileFloat(float(v)); };
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
        row("file negative quarter", file, -0.25, u"-.25"_s);
        row("file zero", file, 0, u"0"_s);
        row("file single precision tenth", file, 0.1, u".1"_s);
        row("file seven digits", file, 1234567, u"1234567"_s);
        row("file ten million", file, 1e7, u"1E+07"_s);
        row("file tiny", file, 1.5e-5, u"1.5E-05"_s);
    }
    void formats() {
        auto [format, value, text] = Fetch<Format, double, QString>();
        QCOMPARE(format(value), text);
        if (QLatin1StringView(QTest::currentDataTag()).startsWith(u"file"_s))
            QCOMPARE(float(ReadLeadingNumber(text)), float(value));
    }

    // What a FixedText<10> holds after a text is assigned plainly or as a note.
    void fixedText_data() {
        // A null text is never assigned.
        const Table<QString, bool, QString, QString, QString> row("assigned", "asNote", "raw",
                                                                  "text", "note");
        const QChar nul(u'\0');
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
        auto [assigned, asNote] = Fetch<QString, bool>();
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
        const Table<QString, QDate> row("text", "date");
        row("last of 2000s window", u"12/31/29"_s, QDate(2029, 12, 31));
        row("first of 1900s window", u"01/01/30"_s, QDate(1930, 1, 1));
        row("blank", u"        "_s, QDate());
        row("masked blank", u"  /  /  "_s, QDate());
        row("no such day", u"02/30/07"_s, QDate());
        row("words", u"tomorrow"_s, QDate());
    }
    void testDates() {
        auto [text, date] = Fetch<QString, QDate>();
        QCOMPARE(ParseTestDate(text).value_or(QDate()), date);
        if (date.isValid()) QCOMPARE(FormatTestDate(date), text);
    }

    void accessNeeded_data() {
        // The rules that ask.
        const Table<QString, QString, int, QList<int>> row("password", "given", "protectMask",
                                                           "asking");
        const QString pw = u"s3cret"_s;
        row("no password", {}, {}, 0xF, {});
        // Any-rule asks whenever the gradebook is locked, whatever is protected.
        row("names and saving protected", pw, {}, 0b0101, {AnyRule, AccessNames, SaveToDisk});
        row("names not protected", pw, {}, 0b1110,
            {AnyRule, EditScores, SaveToDisk, ChangeGradingRules});
        row("unlocked", pw, pw, 0xF, {}); // by Unlock
        // The comparison is exact; so a password changed after Unlock asks again.
        row("other case", pw, u"S3CRET"_s, 0xF,
            {AnyRule, AccessNames, EditScores, SaveToDisk, ChangeGradingRules});
    }
    void accessNeeded() {
        auto [password, given, protectMask, asking] = Fetch<QString, QString, int, QList<int>>();
        Gradebook book;
        fillClass(book, mixedClass, password, protectMask);
        given == password ? Unlock(book) : book.setAcceptedPassword(given);
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

    void hideThenRestore_data() {
        const Table<int, QStringList> row("between", "restored");
        row("nothing between", Nothing, chosenNames);
        // Sorted by the IDs shown, as the Refresh after opening does: Finn, shown by ID by
        // choice, stays so; the others get their names back.
        row("sorted between", SortRows, Items(u"S-101|Gus Clark|Eve Adams"_s));
        // A student added while the names were hidden has no saved choice: shown as added.
        row("student added", AddStudent, chosenNames + QStringList{u"Hal Dunn"_s});
    }
    void hideThenRestore() {
        auto [between, restored] = Fetch<int, QStringList>();
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
        QCOMPARE(std::pair(book.GetCellText(0, 0), book.headerEditing()),
                 std::pair(u"Name"_s, HeaderEditing::TestNames));
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
        SetNameAsId(book, 0, true); // rows outside the students leave the headers alone
        SetNameAsId(book, book.rowCount(), true);
        QCOMPARE(book.GetCellText(0, 0) + u'|' + book.GetCellText(1, 0) +
                     book.StudentOf(1).id.text() + QString::number(book.StudentOf(1).showAsId),
                 u"Name|Ada Lovelace0"_s);
    }

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
        QCOMPARE(book.security().password + book.acceptedPassword() + book.fileName() +
                     QString::number(book.nextTestNumber()),
                 u"0"_s);
        // Without libraries there is no scale and no group.
        ResetToNew(book, Libraries{});
        QCOMPARE(book.totalSetup().scale, GradeScale{});
        QCOMPARE(book.importanceSet(), ImportanceSet{});
    }

    // While a header is being renamed, writes to a score go to its name; the guard's scope
    // writes the score and gives the mode back.
    void headerEditingRedirectsWrites_data() {
        const Table<int, QPoint> row("mode", "cell"); // the cell written, as (row, column)
        row("off", int(HeaderEditing::Off), {3, 2});
        row("student names", int(HeaderEditing::StudentNames), {3, 0});
        row("test names", int(HeaderEditing::TestNames), {0, 2});
    }
    void headerEditingRedirectsWrites() {
        auto [mode, cell] = Fetch<int, QPoint>();
        Gradebook book;
        NewClass(book, {}, 1).setHeaderEditing(HeaderEditing(mode));
        book.SetCellText(3, 2, u"typed"_s);
        QCOMPARE(book.GetCellText(cell.x(), cell.y()), u"typed"_s);
        {
            Gradebook::HeaderEditingOff off(book);
            book.SetCellText(3, 2, u"score"_s);
        }
        QCOMPARE(book.GetCellText(3, 2), u"score"_s);
        QCOMPARE(int(book.headerEditing()), mode);
    }

    // Current column -> where the blank test goes.
    void blankTestGoesInFrontOfTheCurrentColumn_data() {
        const Table<int, int> row("current", "expected");
        row("name column", 0, 2);
        row("total column", 1, 2);
        row("second test", 3, 3);
        row("past the end", 9, 4);
    }
    void blankTestGoesInFrontOfTheCurrentColumn() {
        QFETCH(int, current);
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
        QVERIFY(AddBlankTest(book, col, libs, QDate(2026, 9, 15)) && book.isModified());
        QTEST(col, "expected");
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
        int col = 2;
        QCOMPARE(book.GetCellText(0, 401) +
                     AddBlankTest(book, col, {}, QDate(2026, 9, 1)).message(),
                 u"Test  400Too many tests!"_s);
        QCOMPARE(book.testCount(), 400);
        // Removing tests shifts the later ones with their records and include flags.
        for (int c = 2; c < 6; ++c)
            book.TestOf(c).maxScore = float(10 * (c - 1));
        book.setIncluded(2, 5, false); // fourth test ignored for the second student
        book.removeTestColumns(3, 2);  // second and third tests
        QCOMPARE((QStringList{QString::number(book.testCount()), book.GetCellText(0, 3),
                              QString::number(book.TestOf(3).maxScore)}),
                 Items(u"398|Test  4|40"_s));
        QVERIFY(!book.isIncluded(2, 3) && book.isIncluded(2, 2));
    }

    void batchedWritesGiveOneNotice() {
        Gradebook book;
        ResetToNew(book, {});
        QSignalSpy spy(&book, &Gradebook::cellsChanged);
        book.SetCellText(2, 0, u"Ada"_s);
        book.SetCellText(2, 0, u"Ada"_s); // unchanged text: nothing to repaint
        {
            Gradebook::BatchUpdate batch(book);
            book.SetCellText(3, 1, u"x"_s);
            book.SetCellText(5, 0, u"y"_s);
            QCOMPARE(spy.count(), 1);
        }
        QCOMPARE(QList<QList<QVariant>>(spy), (QList<QList<QVariant>>{{2, 0, 2, 0}, {3, 0, 5, 1}}));
        // The panel filling its controls is no change by the user.
        book.setModified(false);
        for (const bool panel : {true, false}) {
            book.setPanelUpdating(panel);
            book.MarkModified();
            QCOMPARE(book.isModified(), !panel);
        }
    }

    // Deleting students: a range goes, and when it is everyone the first row stays as a new
    // student. A row nobody has used is fresh, so deleting it asks nothing.
    void deletingStudents_data() {
        const Table<int, int, QString> row("first", "last", "names"); // names after, "|" between
        row("one", 2, 2, u"A|C|NewName"_s);
        row("a range", 1, 2, u"C|NewName"_s);
        row("everyone", 1, 4, QString());
        row("past the end", 3, 9, u"A|B"_s);
    }
    void deletingStudents() {
        auto [first, last, names] = Fetch<int, int, QString>();
        Gradebook book;
        NewClass(book, LetterLibraries(), 1).setShape(5, book.columnCount());
        for (int r = 1; r <= 3; ++r) {
            book.SetCellText(r, 0, QString(QChar(u'A' + r - 1)));
            book.StudentOf(r).id = u"S-"_s + QString::number(r);
        }
        book.SetCellText(4, 0, u"NewName"_s);
        QVERIFY(!IsFreshStudent(book, 1) && IsFreshStudent(book, 4));
        DeleteStudents(book, first, last);
        QCOMPARE(Column(book, 0).join(u'|'), names);
        if (names.isEmpty()) QCOMPARE(book.StudentOf(1), NewStudentRecord());
        QVERIFY(book.isModified());
    }
};

QTEST_GUILESS_MAIN(TestCore)
#include "tst_core.moc"
