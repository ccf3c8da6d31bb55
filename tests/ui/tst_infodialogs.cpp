// The Test and Student Information dialogs, driven as the teacher drives them.
#include "ScriptedPrompter.h"
#include "TestSupport.h"
#include "core/NumberText.h"
#include "core/TestDate.h"
#include "ui/dialogs/StudentInfoDialog.h"
#include "ui/dialogs/TestInfoDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace TestSupport;

namespace {
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

class InfoDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void dialogs_data() {
        QTest::addColumn<bool>("tests");          // Test Information, else Student Information
        QTest::addColumn<QStringList>("steps");   // given apart by ";"
        QTest::addColumn<QStringList>("records"); // given apart by "|"
        QTest::addColumn<QString>("state"); // then Scale's calls and what the teacher was told
        const auto row = [](const char* tag, bool tests, const QString& steps,
                            const QString& records, const QString& state) {
            QTest::newRow(tag) << tests << steps.split(u';') << records.split(u'|') << state;
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
        QFETCH(bool, tests);
        QFETCH(QStringList, records);
        QFETCH(QString, state);
        Gradebook book;
        Class(book);
        ScriptedPrompter prompter;
        QStringList calls;
        // Both open, on the first test and the second student; only the one played is checked.
        TestInfoDialog testInfo(book, 2, prompter, [&](int c) { calls << QString::number(c); });
        StudentInfoDialog studentInfo(book, 2);
        QDialog& dialog = tests ? static_cast<QDialog&>(testInfo) : studentInfo;
        QFETCH(QStringList, steps);
        const QString played = Play(dialog, book, steps);
        QCOMPARE(Records(book, tests), records);
        QCOMPARE((QStringList{played} + calls + prompter.told).join(u' '),
                 state.replace(u"today"_s, today));
        if (state.endsWith(u"ok*"_s)) // the note box holds no more than the note keeps
            QVERIFY(records.join(u',').contains(
                dialog.findChild<QPlainTextEdit*>(u"Note"_s)->toPlainText()));
    }
};

QTEST_MAIN(InfoDialogsTest)
#include "tst_infodialogs.moc"
