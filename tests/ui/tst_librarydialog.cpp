#include "ScriptedPrompter.h"
#include "TestSupport.h"
#include "storage/LibraryFile.h"
#include "ui/dialogs/LibraryDialog.h"
#include "ui/dialogs/NewScaleDialog.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;
using namespace TestSupport;

namespace {

// Runs `step` on the modal dialog of type D once it is open.
template <typename D> void WhenOpen(std::function<void(D*)> step) {
    QTimer::singleShot(10, qApp, [=] {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        dialog ? step(dialog) : WhenOpen<D>(step);
    });
}

} // namespace

class TestLibraryDialog : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Steps: "sel N on|off" clicks entry N, after which "&Delete" is on or off; "dclick N",
    // "del ok", "del cancel", "add NAME" (typed into an emptied box), "add-cancel", "break" (the
    // folder goes, so writes fail), "load", "close".
    void libraryDialog_data() {
        QTest::addColumn<bool>("importance");
        QTest::addColumn<int>("entries"); // in the file S0, S1, ...; -1: no file
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("names"); // listed at the end, and in the file if there is one
        QTest::addColumn<QString>("told");  // the beginnings of what was told
        QTest::addColumn<QString>("edited");
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
        QFETCH(bool, importance);
        QFETCH(int, entries);
        QFETCH(QString, steps);
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
};

QTEST_MAIN(TestLibraryDialog)
#include "tst_librarydialog.moc"
