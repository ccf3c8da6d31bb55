// The dialogs driven as the teacher drives them: Set Scale and Importance Groups over their
// slider grid, the Test and Student Information dialogs, and the library dialog.
#include "WindowSession.h"
#include "core/NumberText.h"
#include "core/TestDate.h"
#include "grading/Scale.h"
#include "storage/EditableLibrary.h"
#include "storage/LibraryFile.h"
#include "ui/dialogs/CurveDialog.h"
#include "ui/dialogs/DropLowestDialog.h"
#include "ui/dialogs/HelpWindow.h"
#include "ui/dialogs/ImportanceGroupsDialog.h"
#include "ui/dialogs/LibraryDialog.h"
#include "ui/dialogs/NewScaleDialog.h"
#include "ui/dialogs/PasswordDialog.h"
#include "ui/dialogs/SecurityRulesDialog.h"
#include "ui/dialogs/SetScaleDialog.h"
#include "ui/dialogs/SliderGrid.h"
#include "ui/dialogs/StudentInfoDialog.h"
#include "ui/dialogs/TestInfoDialog.h"
#include "ui/dialogs/TextExchangeSetupDialog.h"

#include <QClipboard>
#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolButton>

using namespace Qt::Literals::StringLiterals;
using namespace TestSupport;

namespace {

const QString Letters = u"F 59, D 69, C 79, B 89, A 100"_s;
const QString Groups = u"Quiz 20, Tests 40, Homework 40"_s;

// Set Scale over the letter scale (values 0 ... 4 unless given), or Importance Groups, shown
// and active, with the label column 1500 twips wide and the slider 3000.
struct Opened {
    ScriptedPrompter prompter;
    Libraries libs = LetterLibraries();
    GradeScale scale = LetterScale();
    ImportanceSet set = GroupSet({{u"Quiz", 20}, {u"Tests", 40}, {u"Homework", 40}});
    int chosen = -1; // what the library dialog answers; it renames to "Mine"
    std::unique_ptr<SliderDialog> dialog;

    explicit Opened(bool groups, const QList<float>& values = {}) {
        libs.scales.push_back(LetterScale(u"PassFail"_s));
        libs.scales.back().count = 2;
        libs.scales.back().steps[0] = {FixedText<Limits::GradeWidth>(u"Fail"), 0, 50};
        libs.scales.back().steps[1] = {FixedText<Limits::GradeWidth>(u"Pass"), 1, 100};
        for (int i = 0; i < values.size(); ++i)
            scale.steps[std::size_t(i)].value = values[i];
        const auto choose = [this](QWidget*, auto& edited) {
            edited.name = u"Mine"_s;
            return chosen;
        };
        if (groups)
            dialog = std::make_unique<ImportanceGroupsDialog>(set, libs, choose, prompter);
        else
            dialog = std::make_unique<SetScaleDialog>(scale, u"Quiz 1"_s, libs, choose, prompter);
        dialog->setSliderGeometry(1500, 3000);
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        if (!QTest::qWaitForWindowActive(dialog.get())) qWarning("the dialog is not active");
    }
    SliderGrid* grid() const { return dialog->grid(); }
    QLineEdit* box(int i) const { return dialog->findChild<QLineEdit*>(u"Text1%1"_s.arg(i)); }
    // Selects a column from the keyboard, starting at the first.
    void select(int column) {
        grid()->setFocus();
        QTest::keyClick(grid(), Qt::Key_Home);
        for (int c = 1; c < column; ++c)
            QTest::keyClick(grid(), Qt::Key_Right);
    }
    QString shown() const {
        QStringList cells;
        for (int c = 1; c <= grid()->count(); ++c)
            cells << grid()->cellText(0, c) + u' ' + grid()->cellText(1, c);
        return cells.join(u", "_s);
    }
};

const QString today = FormatTestDate(QDate::currentDate());

// Plays steps on the shown dialog: "Text1=abc" fills a field (a note by pasting, a list by
// picking) and leaves it for the selector, "Text1>abc" presses Enter in it; "ShowAs" clicks,
// "close" is the close box, "?" notes the test's fields ("-": unavailable). Returns them, the
// focused control, "open", "ok" or "cancel", and "*" when the gradebook was marked modified.
QString Play(QDialog& dialog, const Gradebook& book, const QStringList& steps) {
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    if (!QTest::qWaitForWindowActive(&dialog)) return {};
    QString played;
    for (const QString& step : steps) {
        const qsizetype at = std::max(step.indexOf(u'='), step.indexOf(u'>'));
        QWidget* w = dialog.findChild<QWidget*>(step.left(at));
        if (step == u"close"_s) dialog.close();
        if (step == u"?"_s)
            for (const char* name : {"Datt", "Text1", "Combo2"}) {
                w = dialog.findChild<QWidget*>(QLatin1StringView(name));
                played += w->property(name[0] == 'C' ? "currentIndex" : "text").toString() +
                          (w->isEnabled() ? u" "_s : u"- "_s);
            }
        if (qobject_cast<QAbstractButton*>(w))
            QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(4, w->height() / 2));
        if (at < 0) continue;
        w->setFocus();
        if (auto* line = qobject_cast<QLineEdit*>(w)) line->setText(step.mid(at + 1));
        if (auto* list = qobject_cast<QComboBox*>(w))
            list->setCurrentIndex(step.mid(at + 1).toInt());
        if (qobject_cast<QPlainTextEdit*>(w)) {
            QGuiApplication::clipboard()->setText(step.mid(at + 1));
            QTest::keySequence(w, QKeySequence::Paste);
            QCoreApplication::processEvents();
        }
        step[at] == u'>' ? QTest::keyClick(w, Qt::Key_Return)
                         : dialog.findChild<QWidget*>(u"Combo1"_s)->setFocus();
    }
    const QWidget* focus = QApplication::focusWidget();
    const char* how = dialog.isVisible() ? "open" : dialog.result() ? "ok" : "cancel";
    return played + (focus ? focus->objectName() + u' ' : QString()) + QLatin1StringView(how) +
           (book.isModified() ? u"*"_s : QString());
}

// Three tests of 100 dated 09/01/26 in group 1, the second undated and in a group the set lacks;
// Ann shown by name, Bob by his ID, Cy added and named in the table only.
void Class(Gradebook& book) {
    NewClass(book, LetterLibraries(), 3);
    book.importanceSet() = GroupSet({{u"Quiz", 20}, {u"Exam", 80}});
    book.TestOf(3).date = QString();
    book.TestOf(3).importance = 7;
    for (int r = 1; r <= 3; ++r) {
        book.SetCellText(r, 0, QStringList{u"Ann Lee"_s, u"S-2"_s, u"Cy Ng"_s}[r - 1]);
        book.StudentOf(r).name = QStringList{u"Ann Lee"_s, u"Bob Ray"_s, {}}[r - 1];
        book.StudentOf(r).id = r < 3 ? u"S-"_s + QString::number(r) : QString();
        book.StudentOf(r).showAsId = r == 2;
    }
    book.setModified(false);
}

// Tests as maximum, date, group and note; students as name cell, name, ID, "Name as ID", note.
QStringList Records(const Gradebook& book, bool tests) {
    QStringList records;
    for (int i = 1; i <= 3; ++i) {
        const TestRecord& t = book.TestOf(i + 1);
        const StudentRecord& s = book.StudentOf(i);
        records << (tests ? QStringList{FormatGeneral(t.maxScore), t.date.text(),
                                        FormatGeneral(t.importance), t.note.noteText()}
                          : QStringList{book.GetCellText(i, 0), s.name.text(), s.id.text(),
                                        QString::number(s.showAsId), s.note.noteText()})
                       .join(u',');
    }
    return records;
}
} // namespace

class TestDialogs : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // A border dragged with the mouse; 15 twips a pixel at 96 DPI.
    void dragsBorders_data() {
        // Column: the handle after it. After: shown while held and after the release. (How
        // widths become tops and shares, the grading tests show.)
        const Table<bool, int, int, QString, int> row("groups", "column", "dx", "after",
                                                      "sliderAfter");
        row("to the right", false, 2, 2, u"F 59, D 70, C 79, B 89, A 100"_s, 3000);
        row("last border", false, 5, 20, Letters, 3300);
        row("group", true, 1, 20, u"Quiz 30, Tests 30, Homework 40"_s, 3000);
    }
    void dragsBorders() {
        auto [groups, column, dx, after] = Fetch<bool, int, int, QString>();
        Opened o(groups);
        const QPoint from = o.grid()->handleRect(column).center();
        QTest::mouseMove(o.grid(), from);
        QCOMPARE(o.grid()->cursor().shape(), Qt::SplitHCursor);
        QTest::mousePress(o.grid(), Qt::LeftButton, {}, from);
        QTest::mouseMove(o.grid(), from + QPoint(dx, 0));
        QCOMPARE(o.shown(), after);
        QTest::mouseRelease(o.grid(), Qt::LeftButton, {}, from + QPoint(dx, 0));
        QCOMPARE(o.shown(), after);
        QTEST(o.dialog->sliderWidth(), "sliderAfter");
        const std::vector<int>& widths = o.grid()->columns().widths;
        QVERIFY(*std::min_element(widths.begin(), widths.end()) >= MinColumnWidth);
    }

    // A box typed into for a column and left with Enter (the grid takes the focus) or Tab.
    void appliesBoxes_data() {
        // Box 0: top score or share, 1: value, 2: grade or name. (Which tops and shares are
        // refused, the grading tests show.)
        const Table<bool, int, int, QString, bool, QString, QString> row(
            "groups", "column", "box", "typed", "enter", "boxAfter", "after");
        row("top refused", false, 2, 0, u"105"_s, true, u"69"_s, Letters);
        row("top", false, 2, 0, u"72"_s, true, u"72"_s, u"F 59, D 72, C 79, B 89, A 100"_s);
        row("value", false, 2, 1, u"2.5x"_s, true, u"2.5"_s, Letters);
        row("letter", false, 1, 2, u"Excellent++"_s, false, u"Excellent+"_s,
            u"Excellent+ 59, D 69, C 79, B 89, A 100"_s);
        row("share", true, 1, 0, u"50"_s, true, u"50"_s, u"Quiz 50, Tests 10, Homework 40"_s);
        row("share refused", true, 1, 0, u"61"_s, true, u"20"_s, Groups);
        row("group name", true, 3, 2, u"Assignments"_s, false, u"Assignment"_s,
            u"Quiz 20, Tests 40, Assignment 40"_s);
    }
    void appliesBoxes() {
        auto [groups, column, box, typed, enter] = Fetch<bool, int, int, QString, bool>();
        Opened o(groups);
        o.select(column);
        QLineEdit* edit = o.box(box);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        QTest::keyClick(edit, enter ? Qt::Key_Return : Qt::Key_Tab);
        QVERIFY(enter ? o.grid()->hasFocus() : !edit->hasFocus());
        QTEST(edit->text(), "boxAfter");
        QTEST(o.shown(), "after");
    }

    // A button at a column, a question answered, then "OK" or "Cancel". After a button the
    // column is kept, except that column 1 gives way to count - 1.
    void buttons_data() {
        // Chosen: the library index; for "&Del", 1 answers OK.
        Columns<bool, QList<float>, int, QString, int, bool, QString, int, QString>(
            "groups", "values", "column", "button", "chosen", "ok", "after", "current", "message");
        const QString ins = u"InsDel0"_s, del = u"InsDel1"_s, load = u"InsDel2"_s,
                      even = u"InsDel3"_s;
        const auto row = [](const char* tag, int column, const QString& button, int chosen,
                            const QString& after, int current, const QString& message = {},
                            bool ok = true, bool groups = false, const QList<float>& values = {}) {
            QTest::newRow(tag) << groups << values << column << button << chosen << ok << after
                               << current << message;
        };
        const QString deleting = u"Deleting a Grade"_s;
        row("Ins at the first", 1, ins, 0, u"X 8, F 66, D 74, C 82, B 91, A 100"_s, 5);
        row("Ins at the last", 5, ins, 0, u"F 57, D 66, C 74, B 82, X 91, A 100"_s, 5);
        row("Del, Cancel", 2, del, 0, Letters, 2, deleting);
        row("Del", 2, del, 1, u"F 62, C 74, B 87, A 100"_s, 2, deleting);
        row("Auto Even, Cancel", 3, even, 0, u"F 12, D 37, C 62, B 87, A 100"_s, 3, {}, false);
        row("Auto Even out of order", 5, even, 0, Letters, 3, ValuesOutOfOrderMessage, true, false,
            {0, 1, 1, 3, 4});
        row("Auto Even, best value 0", 2, even, 0, Letters, 5,
            u"Error: The highest Numeric Value (0) must be above 0!"_s, true, false,
            {-4, -3, -2, -1, 0});
        row("Load, Cancel", 3, load, 2, u"Fail 50, Pass 100"_s, 1, {}, false);
        row("Load nothing", 3, load, -1, Letters, 3);
        row("Del group", 1, del, 1, u"Tests 50, Homework 50"_s, 1, u"Deleting Importance Group"_s,
            true, true);
        row("Load groups", 2, load, 0, u"All 100"_s, 0, {}, true, true);
    }
    void buttons() {
        auto [groups, values, column, button, chosen, ok] =
            Fetch<bool, QList<float>, int, QString, int, bool>();
        Opened o(groups, values);
        const GradeScale given = o.scale;
        o.chosen = chosen;
        if (chosen == 1) o.prompter.answers << QMessageBox::Ok;
        o.select(column);
        QTest::mouseClick(o.dialog->findChild<QPushButton*>(button), Qt::LeftButton);
        QTEST(o.shown(), "after");
        QTEST(o.grid()->currentColumn(), "current");
        QTEST((o.prompter.asked + o.prompter.told).join(u'|'), "message");
        if (button == u"InsDel2" && chosen < 0)
            QCOMPARE(groups ? o.grid()->importanceSet().name.text() : o.grid()->scale().name.text(),
                     u"Mine"_s);
        QTest::mouseClick(o.dialog->findChild<QPushButton*>(ok ? u"Command10"_s : u"Command11"_s),
                          Qt::LeftButton);
        QCOMPARE(o.dialog->result(), ok ? QDialog::Accepted : QDialog::Rejected);
        QCOMPARE(o.scale, given);
    }

    void dialogs_data() {
        // Tests: Test Information, else Student Information. State: then Scale's calls and what
        // the teacher was told.
        Columns<bool, QStringList, QString, QStringList>("tests", "records", "state", "steps");
        const auto row = [](const char* tag, bool tests, const QString& steps,
                            const QString& records, const QString& state) {
            QTest::newRow(tag) << tests << records.split(u'|') << state << steps.split(u';');
        };
        const QString longNote = u"\"ł"_s + QString(300, u'n'), cut = u"'"_s + QString(253, u'n');
        const QString tests = u"100,09/01/26,1,|100,,7,|100,09/01/26,1,"_s;
        const QString several =
            u"Text1=50;Datt=;Combo1=2;Text1=60;Datt=01/02/27;Combo1=3;Note="_s + longNote;
        row("cancel restores every test", true, several + u";Command11"_s, tests, u"cancel"_s);
        row("ok, by Enter in a field", true, several + u";Text1>70"_s,
            u"50,,1,|60,01/02/27,0,|70,09/01/26,1,"_s + cut, u"ok*"_s);
        row("not a number", true, u"Text1=5x"_s, tests, u"Text1 open Invalid Value!"_s);
        row("total column, undated test, scale", true, u"Combo1=0;?;Combo1=2;?;Command12"_s,
            u"100,09/01/26,1,|100,,0,|100,09/01/26,1,"_s,
            u"today- 100- -1- today 100 0 Command12 open 3"_s);
        const QString ann = u"Ann Lee,Ann Lee,S-1,0,|"_s, bob = u"S-2,Bob Ray,S-2,1,|"_s;
        const QString id25(25, u'7');
        // Bob's choice cleared and ticked again: his name and ID stay his.
        row("name as ID; ID and note cut", false,
            u"Combo1=0;ID=7"_s + id25 + u";Note="_s + longNote +
                u";ShowAs;Combo1=1;ShowAs;ShowAs;Command10"_s,
            id25 + u",Ann Lee,"_s + id25 + u",1,"_s + cut.chopped(30) + u'|' + bob +
                u"Cy Ng,Cy Ng,,0,"_s,
            u"ok*"_s);
        row("close box restores every student", false,
            u"Combo1=0;ShowAs;ID=X;Combo1=1;Note=n;close"_s, ann + bob + u"Cy Ng,,,0,"_s,
            u"cancel"_s);
        row("new ID shown, by Enter", false, u"ID>S-22"_s,
            ann + u"S-22,Bob Ray,S-22,1,|Cy Ng,Cy Ng,,0,"_s, u"ok*"_s);
    }
    void dialogs() {
        auto [tests, records, state, steps] = Fetch<bool, QStringList, QString, QStringList>();
        Gradebook book;
        Class(book);
        ScriptedPrompter prompter;
        QStringList calls;
        // Both open, on the first test and the second student; only the one played is checked.
        TestInfoDialog testInfo(book, 2, prompter, [&](int c) { calls << QString::number(c); });
        StudentInfoDialog studentInfo(book, 2);
        QDialog& dialog = tests ? static_cast<QDialog&>(testInfo) : studentInfo;
        const QString played = Play(dialog, book, steps);
        QCOMPARE(Records(book, tests), records);
        QCOMPARE((QStringList{played} + calls + prompter.told).join(u' '),
                 state.replace(u"today"_s, today));
        if (state.endsWith(u"ok*"_s)) // the note box holds no more than the note keeps
            QVERIFY(records.join(u',').contains(
                dialog.findChild<QPlainTextEdit*>(u"Note"_s)->toPlainText()));
    }

    // Steps: "sel N on|off" clicks entry N, after which "&Delete" is on or off; "dclick N",
    // "del ok", "del cancel", "add NAME" (typed into an emptied box), "add-cancel", "break" (the
    // folder goes, so writes fail), "load", "close".
    void libraryDialog_data() {
        // Entries: in the file S0, S1, ...; -1: no file. Names: listed at the end, and in the file
        // if there is one. Told: the beginnings of what was told.
        Columns<bool, int, QString, int, QString, QString, QString>(
            "importance", "entries", "steps", "chosen", "names", "told", "edited");
        const auto row = [](const char* tag, bool imp, int entries, const QString& steps,
                            int chosen, const QString& names, const QString& told = {},
                            const QString& edited = u"Editing"_s) {
            QTest::newRow(tag) << imp << entries << steps << chosen << names << told << edited;
        };
        row("empty file", true, 0, u"close"_s, -1, {});
        row("first two kept", true, 4, u"sel 1 off|sel 0 off|sel 3 on|del cancel|close"_s, -1,
            u"S0|S1|S2|S3"_s);
        row("delete", false, 4, u"sel 2 on|del ok|close"_s, -1, u"S0|S1|S3"_s);
        row("add unnamed", false, 2, u"add-cancel|add |close"_s, -1, u"S0|S1|(noname)"_s, {},
            u"(noname)"_s);
        row("add to missing file", true, -1, u"add Finals|sel 0 off|load"_s, 0, u"Finals"_s,
            u"Error reading parameters! "_s, u"Finals"_s);
        QStringList fifty;
        for (int i = 0; i < 50; ++i)
            fifty << u"S%1"_s.arg(i);
        row("full", false, 50, u"add Extra|close"_s, -1, fifty.join(u'|'),
            u"Warning: Only 50 Entries were loaded!|You can have only  50 default Scales!"_s,
            u"Extra"_s);
        row("double click", true, 3, u"dclick 2"_s, 2, u"S0|S1|S2"_s);
        row("write fails", false, 3, u"break|sel 2 on|del ok|close"_s, -1, u"S0|S1"_s,
            u"Error opening "_s);
    }
    void libraryDialog() {
        auto [importance, entries, steps] = Fetch<bool, int, QString>();
        QTemporaryDir dir;
        const QString file = dir.filePath(importance ? ImportanceLibraryName : ScaleLibraryName);
        std::vector<GradeScale> written;
        for (int i = 0; i < entries; ++i)
            written.push_back(LetterScale(u"S%1"_s.arg(i)));
        if (entries >= 0) QVERIFY(WriteLibraryFile(file, written, entries));
        ScriptedPrompter prompter;
        QStringList listed;
        WhenOpen<LibraryDialog>([&](LibraryDialog* d) {
            const auto closed = qScopeGuard([d] { d->isVisible() && d->close(); }); // on failure
            QListWidget* list = d->list();
            connect(d, &QDialog::finished, [&] {
                for (int i = 0; i < list->count(); ++i)
                    listed << list->item(i)->text();
            });
            QCOMPARE(d->button(LibraryDialog::Load)->isEnabled(), entries > 0);
            for (const QString& step : steps.split(u'|')) {
                const QString verb = step.section(u' ', 0, 0), arg = step.section(u' ', 1, 1);
                const QPoint at = list->visualItemRect(list->item(arg.toInt())).center();
                if (verb == u"sel" || verb == u"dclick") // a double click starts as a click
                    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
                if (verb == u"sel")
                    QCOMPARE(d->button(LibraryDialog::Delete)->isEnabled(), step.endsWith(u"on"));
                if (verb == u"dclick") QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
                if (verb == u"del")
                    prompter.answers = {arg == u"ok" ? QMessageBox::Ok : QMessageBox::Cancel};
                if (verb.startsWith(u"add"))
                    WhenOpen<NewScaleDialog>([=](NewScaleDialog* n) {
                        n->nameBox()->clear();
                        QTest::keyClicks(n->nameBox(), arg);
                        QTest::mouseClick(
                            n->findChild<QPushButton*>(u"Command1%1"_s.arg(verb == u"add" ? 0 : 1)),
                            Qt::LeftButton);
                    });
                if (verb == u"break") QVERIFY(dir.remove());
                const QStringList buttons{u"add"_s, u"close"_s, u"del"_s, u"load"_s}; // by number
                if (const auto b = buttons.indexOf(verb.section(u'-', 0, 0)); b >= 0)
                    QTest::mouseClick(d->button(LibraryDialog::Button(b)), Qt::LeftButton);
            }
            QVERIFY(!d->isVisible());
        });

        Libraries libs = LetterLibraries();
        GradeScale scale = LetterScale(u"Editing"_s);
        ImportanceSet set = GroupSet({{u"All", 100}}, u"Editing"_s);
        QTEST(importance ? ChooseFromLibrary(nullptr, prompter, libs, set, dir.path())
                         : ChooseFromLibrary(nullptr, prompter, libs, scale, dir.path()),
              "chosen");
        QTEST((importance ? set.name : scale.name).text(), "edited");
        QFETCH(QString, told);
        QCOMPARE(prompter.told.size(), told.isEmpty() ? 0 : told.count(u'|') + 1);
        QCOMPARE(prompter.told.join(u'|').left(told.size()), told);
        // The list shows the library in memory, which the file holds when it could be written.
        QTEST(listed.join(u'|'), "names");
        QCOMPARE(importance ? libs.importanceCount : libs.scaleCount, listed.size());
        std::vector<ImportanceSet> onDisk;
        const LibraryReadResult read = ReadLibraryFile(file, onDisk);
        QStringList stored;
        for (int i = 0; i < read.count; ++i)
            stored << onDisk[std::size_t(i)].name.text();
        if (read.replaced) QTEST(stored.join(u'|'), "names");
    }

    // F1 in each dialog, modal as the window shows it, opens the help at the part that explains
    // the dialog, in a help window the dialog does not block; Set Scale's help button too. Every
    // control of the dialog has a name a screen reader can say.
    void helpKey_data() {
        Columns<int, QString>("dialog", "page");
        const char* pages[] = {
            "dialogs.html#setscale", "dialogs.html#importance", "dialogs.html#library",
            "dialogs.html#newscale", "dialogs.html#testinfo",   "dialogs.html#studentinfo",
            "security.html#rules",   "security.html#password",  "files.html#textexchange",
            "tools.html#droplowest", "tools.html#curve",        "dialogs.html#setscale"};
        for (int i = 0; i < int(std::size(pages)); ++i)
            QTest::newRow(pages[i]) << i << QString::fromLatin1(pages[i]);
    }
    void helpKey() {
        auto [which, page] = Fetch<int, QString>();
        Gradebook book;
        Class(book);
        ScriptedPrompter prompter;
        Libraries libs = LetterLibraries();
        GradeScale scale = LetterScale();
        EditableLibrary library(libs, scale);
        const auto none = [](QWidget*, auto&) { return -1; };
        const std::function<QDialog*()> make[] = {
            [&] { return new SetScaleDialog(scale, u"Quiz"_s, libs, none, prompter); },
            [&] { return new ImportanceGroupsDialog(book.importanceSet(), libs, none, prompter); },
            [&] { return new LibraryDialog(library, prompter); },
            [&] { return new NewScaleDialog; },
            [&] { return new TestInfoDialog(book, 2, prompter, [](int) {}); },
            [&] { return new StudentInfoDialog(book, 1); },
            [&] { return new SecurityRulesDialog(book.security()); },
            [&] { return new PasswordDialog(u"pw"_s, prompter); },
            [&] { return new TextExchangeSetupDialog(TextExchangeSetupDialog::Export); },
            [&] { return new DropLowestDialog(book); },
            [&] { return new CurveDialog(book, 2); },
            [&] { return new SetScaleDialog(scale, u"Quiz"_s, libs, none, prompter); }};
        const std::unique_ptr<QDialog> dialog(make[which]());
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        QCOMPARE(Unnamed(dialog.get()), QStringList());
        if (which == 11)
            QTest::mouseClick(dialog->findChild<QToolButton*>(u"Helpi"_s), Qt::LeftButton);
        else
            QTest::keyClick(dialog.get(), Qt::Key_F1);
        auto* help = dialog->findChild<HelpWindow*>();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->browser()->source().toString(), u"qrc:/help/"_s + page);
        const QString anchor = page.section(u'#', 1);
        QVERIFY2(help->browser()->document()->toHtml().contains(u"name=\""_s + anchor + u'"'),
                 qPrintable(anchor));
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
