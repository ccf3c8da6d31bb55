#include "TestSupport.h"
#include "WindowSession.h"
#include "ui/dialogs/TextExchangeSetupDialog.h"

#include <QComboBox>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;
using namespace TestSupport;
using Setup = TextExchangeSetupDialog;

namespace {

// Runs `step` on the setup dialog once it is open over `window`, then answers "&Ok" or
// "&Cancel". The wait ends with the window, so a dialog that never came cannot answer later ones.
void WhenSetupOpen(QWidget* window, bool ok, std::function<void(Setup*)> step = {}) {
    QTimer::singleShot(10, window, [=] {
        auto* dialog = qobject_cast<Setup*>(QApplication::activeModalWidget());
        if (!dialog) return WhenSetupOpen(window, ok, step);
        if (step) step(dialog);
        QTest::mouseClick(dialog->findChild<QPushButton*>(ok ? u"Command10"_s : u"Command11"_s),
                          Qt::LeftButton);
    });
}

// Keeps the name the Save dialog proposed, and cancels it.
struct PresetPrompter : ScriptedPrompter {
    QString preset;
    QString saveFileName(QWidget*, const QString& name, const QString&, const QString&) override {
        preset = name;
        return {};
    }
};

} // namespace

class TextExchangeWindowTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.filePath(u"ini"_s));
    }

    void exportsTableOrSelectedBlock_data() {
        QTest::addColumn<bool>("block"); // rows 1-2 of both tests selected, else one cell
        QTest::addColumn<int>("step"); // 0 Ok, 1 "All" then Ok, 2 "|" typed and "{NONE}", 3 Cancel
        QTest::addColumn<QByteArray>("written"); // null: no file
        const QByteArray all = "\"Name\"\t\"Total\"\t\"T2\"\t\"T3\"\r\n\"Ann\"\t88\t85\t90\r\n"
                               "\"Bob\"\t35\t70\t\r\n" +
                               "\"\"\t\t\t\r\n"_ba.repeated(5);
        const QByteArray block = "\"Name\"\t\"T2\"\t\"T3\"\r\n\"Ann\"\t85\t90\r\n\"Bob\"\t70\t\r\n";
        QTest::newRow("one cell: whole table") << false << 0 << all;
        QTest::newRow("block") << true << 0 << block;
        QTest::newRow("block, All chosen") << true << 1 << all;
        QTest::newRow("typed") << true << 2 << "Name|T2|T3\r\nAnn|85|90\r\nBob|70|\r\n"_ba;
        QTest::newRow("cancel") << true << 3 << QByteArray();
    }
    void exportsTableOrSelectedBlock() {
        QFETCH(int, step);
        QFETCH(QByteArray, written);
        Session s;
        s.addTests(2);
        s.book.SetCellText(0, 2, u"T2"_s);
        s.book.SetCellText(0, 3, u"T3"_s);
        s.book.SetCellText(1, 0, u"Ann"_s);
        s.book.SetCellText(2, 0, u"Bob"_s);
        s.typeColumn(2, {u"85"_s, u"70"_s});
        s.typeColumn(3, {u"90"_s});
        const GradeTableModel* model = s.table->gradeModel();
        QFETCH(bool, block);
        if (block)
            s.table->selectionModel()->select(
                QItemSelection(model->indexOf(1, 2), model->indexOf(2, 3)),
                QItemSelectionModel::ClearAndSelect);
        const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
        s.prompter->fileNames << path;
        WhenSetupOpen(&s.window, step != 3, [&](Setup* d) {
            if (step == 1) d->findChild<QRadioButton*>(u"All1"_s)->click();
            if (step != 2) return;
            d->findChild<QComboBox*>(u"Separator0"_s)->setEditText(u"|"_s);
            d->findChild<QComboBox*>(u"Separator1"_s)->setCurrentIndex(2);
        });
        s.action(u"exp_imp0"_s)->trigger();
        QCOMPARE(QFile::exists(path), !written.isNull());
        QCOMPARE(Contents(path), written);
    }

    // "Smith, John" keeps its comma through an import, an export and back; both dialogs keep
    // the comma for their next use.
    void importRoundTripsThroughExport() {
        Session s;
        QByteArray text = "\"Name\",\"Total\",\"Quiz\"\r\n";
        for (int i = 0; i < 9; ++i)
            text += "\"Smith, John" + QByteArray::number(i) + "\",," + QByteArray::number(60 + i) +
                    "\r\n";
        const QString source = m_dir.filePath(u"class.txt"_s), first = m_dir.filePath(u"a.txt"_s),
                      second = m_dir.filePath(u"b.txt"_s);
        QVERIFY(Store(source, text));
        s.prompter->fileNames << m_dir.filePath(u"class.grd"_s);
        QVERIFY(s.window.fileCommands().AskSaveAs()); // titled, to see the import make it untitled
        const auto run = [&](const char* item, const QString& file, bool chooseComma) {
            s.prompter->fileNames << file;
            WhenSetupOpen(&s.window, true, [=](Setup* d) {
                if (chooseComma) d->findChild<QComboBox*>(u"Separator0"_s)->setCurrentIndex(1);
            });
            s.action(QString::fromLatin1(item))->trigger();
        };
        run("exp_imp1", source, true);
        QCOMPARE(s.panel->studentCount->text(), u"9"_s);
        QCOMPARE(s.window.windowTitle(), u"Quillmark"_s);
        QVERIFY(s.book.fileName().isEmpty() && !s.book.isModified());
        run("exp_imp0", first, true);
        QVERIFY(Contents(first).contains("\r\n\"Smith, John0\",88,60\r\n"));
        s.prompter->answers << QMessageBox::No; // the export's Refresh has sorted: save?
        run("exp_imp1", first, false);
        run("exp_imp0", second, false);
        QCOMPARE(Contents(second), Contents(first));
    }

    // Cancel anywhere keeps the open gradebook; a failed import says why. Either way the unsaved
    // work stays unsaved.
    void importCancelledOrFailing_data() {
        QTest::addColumn<int>("save"); // the answer to "Save your work?"
        QTest::addColumn<bool>("ok");  // the answer to Import Setup
        QTest::addColumn<QString>("message");
        QTest::newRow("save question") << int(QMessageBox::Cancel) << true << QString();
        QTest::newRow("setup") << int(QMessageBox::No) << false << QString();
        QTest::newRow("not a number") << int(QMessageBox::No) << true << u"Error importing from "_s;
    }
    void importCancelledOrFailing() {
        QFETCH(int, save);
        QFETCH(QString, message);
        Session s;
        s.addTests(1);
        s.typeColumn(2, {u"85"_s});
        const QString path = m_dir.filePath(u"bad.txt"_s);
        QVERIFY(Store(path, "Name\tTotal\tQuiz\r\nAnn\t\t85abc"));
        s.prompter->answers << QMessageBox::StandardButton(save);
        s.prompter->fileNames << path;
        QFETCH(bool, ok);
        WhenSetupOpen(&s.window, ok);
        s.action(u"exp_imp1"_s)->trigger();
        QCOMPARE(s.book.columnCount() == 3 && s.book.GetCellText(0, 2) == u"Test  1"_s,
                 message.isEmpty());
        QCOMPARE(s.prompter->told.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) QVERIFY(FailsWith(s.prompter->told[0], message + path + u". "_s));
        QVERIFY(s.book.isModified());
    }

    void presetsTheNameBesideTheGradebook_data() {
        QTest::addColumn<QString>("gradebook");
        QTest::addColumn<QString>("preset");
        QTest::newRow("dotted folder")
            << u"/home/ann/2026.fall/p4.grd"_s << u"/home/ann/2026.fall/p4.TXT"_s;
        QTest::newRow("first dot, case kept")
            << u"/home/Ann/P4.Fall.GRD"_s << u"/home/Ann/P4.TXT"_s;
        QTest::newRow("no dot") << u"/home/ann/p4"_s << u"/home/ann/p4.TXT"_s;
        QTest::newRow("untitled") << QString() << u".TXT"_s;
    }
    void presetsTheNameBesideTheGradebook() {
        QFETCH(QString, gradebook);
        auto prompter = std::make_shared<PresetPrompter>();
        MainWindow window(prompter);
        window.gradebook().setFileName(gradebook);
        window.findChild<QAction*>(u"exp_imp0"_s)->trigger();
        QTEST(prompter->preset, "preset");
    }
};

QTEST_MAIN(TextExchangeWindowTest)
#include "tst_textexchangewindow.moc"
