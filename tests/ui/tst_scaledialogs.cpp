#include "ScriptedPrompter.h"
#include "TestSupport.h"
#include "grading/Scale.h"
#include "ui/dialogs/ImportanceGroupsDialog.h"
#include "ui/dialogs/SetScaleDialog.h"
#include "ui/dialogs/SliderGrid.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace TestSupport;

namespace {

const QString Letters = u"F 59, D 69, C 79, B 89, A 100"_s;
const QString Groups = u"Quiz 20, Tests 40, Homework 40"_s;

// Set Scale over the letter scale (values 0 ... 4 unless given), or Importance Groups, shown
// and active, with the label column 1500 twips wide and the slider as given.
struct Opened {
    ScriptedPrompter prompter;
    Libraries libs = LetterLibraries();
    GradeScale scale = LetterScale();
    ImportanceSet set = GroupSet({{u"Quiz", 20}, {u"Tests", 40}, {u"Homework", 40}});
    int chosen = -1; // what the library dialog answers; it renames to "Mine"
    std::unique_ptr<SliderDialog> dialog;

    Opened(bool groups, int slider = 3000, const QList<float>& values = {}) {
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
        dialog->setSliderGeometry(1500, slider);
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

} // namespace

class ScaleDialogsTest : public QObject {
    Q_OBJECT
private slots:
    // A border dragged with the mouse; 15 twips a pixel at 96 DPI.
    void dragsBorders_data() {
        QTest::addColumn<bool>("groups");
        QTest::addColumn<int>("slider");
        QTest::addColumn<int>("column"); // the handle after it
        QTest::addColumn<int>("dx");
        QTest::addColumn<QString>("after"); // shown while held and after the release
        QTest::addColumn<int>("sliderAfter");
        QTest::newRow("to the right")
            << false << 3000 << 2 << 2 << u"F 59, D 70, C 79, B 89, A 100"_s << 3000;
        QTest::newRow("narrower than 50")
            << false << 5000 << 2 << -32 << u"F 59, D 60, C 79, B 89, A 100"_s << 5000;
        QTest::newRow("past the next border")
            << false << 3000 << 2 << 40 << u"F 59, D 77, C 79, B 89, A 100"_s << 3000;
        QTest::newRow("last border") << false << 3000 << 5 << 20 << Letters << 3300;
        QTest::newRow("group") << true << 3000 << 1 << 20 << u"Quiz 30, Tests 30, Homework 40"_s
                               << 3000;
    }
    void dragsBorders() {
        QFETCH(bool, groups);
        QFETCH(int, slider);
        QFETCH(int, column);
        QFETCH(int, dx);
        QFETCH(QString, after);
        Opened o(groups, slider);
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
        QTest::addColumn<bool>("groups");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("enter");
        QTest::addColumn<QString>("boxAfter");
        QTest::addColumn<QString>("after");
        QTest::newRow("105") << false << 2 << 0 << u"105"_s << true << u"69"_s << Letters;
        QTest::newRow("72") << false << 2 << 0 << u"72"_s << true << u"72"_s
                            << u"F 59, D 72, C 79, B 89, A 100"_s;
        QTest::newRow("rounds onto the next")
            << false << 2 << 0 << u"78.6"_s << false << u"69"_s << Letters;
        QTest::newRow("last top score") << false << 5 << 0 << u"5"_s << true << u"100"_s << Letters;
        QTest::newRow("value") << false << 2 << 1 << u"2.5x"_s << true << u"2.5"_s << Letters;
        QTest::newRow("letter") << false << 1 << 2 << u"Excellent++"_s << false << u"Excellent+"_s
                                << u"Excellent+ 59, D 69, C 79, B 89, A 100"_s;
        QTest::newRow("share") << true << 1 << 0 << u"50"_s << true << u"50"_s
                               << u"Quiz 50, Tests 10, Homework 40"_s;
        QTest::newRow("share beyond the next")
            << true << 1 << 0 << u"61"_s << true << u"20"_s << Groups;
        QTest::newRow("group name") << true << 3 << 2 << u"Assignments"_s << false
                                    << u"Assignment"_s << u"Quiz 20, Tests 40, Assignment 40"_s;
    }
    void appliesBoxes() {
        QFETCH(bool, groups);
        QFETCH(int, column);
        QFETCH(int, box);
        QFETCH(QString, typed);
        QFETCH(bool, enter);
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
        QTest::addColumn<bool>("groups");
        QTest::addColumn<QList<float>>("values");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("chosen"); // library index; for "&Del": 1 answers OK
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("message");
        const QString ins = u"InsDel0"_s, del = u"InsDel1"_s, load = u"InsDel2"_s,
                      even = u"InsDel3"_s;
        const QList<float> none;
        QTest::newRow("Ins at the first") << false << none << 1 << ins << 0 << true
                                          << u"X 8, F 66, D 74, C 82, B 91, A 100"_s << 5 << u""_s;
        QTest::newRow("Ins at the last") << false << none << 5 << ins << 0 << true
                                         << u"F 57, D 66, C 74, B 82, X 91, A 100"_s << 5 << u""_s;
        QTest::newRow("Del, Cancel")
            << false << none << 2 << del << 0 << true << Letters << 2 << u"Deleting a Grade"_s;
        QTest::newRow("Del") << false << none << 2 << del << 1 << true
                             << u"F 62, C 74, B 87, A 100"_s << 2 << u"Deleting a Grade"_s;
        QTest::newRow("Auto Even, Cancel") << false << none << 3 << even << 0 << false
                                           << u"F 12, D 37, C 62, B 87, A 100"_s << 3 << u""_s;
        QTest::newRow("Auto Even out of order")
            << false << QList<float>{0, 1, 1, 3, 4} << 5 << even << 0 << true << Letters << 3
            << ValuesOutOfOrderMessage;
        QTest::newRow("Auto Even, best value 0")
            << false << QList<float>{-4, -3, -2, -1, 0} << 2 << even << 0 << true << Letters << 5
            << u"Error: The highest Numeric Value (0) must be above 0!"_s;
        QTest::newRow("Load, Cancel")
            << false << none << 3 << load << 2 << false << u"Fail 50, Pass 100"_s << 1 << u""_s;
        QTest::newRow("Load nothing")
            << false << none << 3 << load << -1 << true << Letters << 3 << u""_s;
        QTest::newRow("Del group")
            << true << none << 1 << del << 1 << true << u"Tests 50, Homework 50"_s << 1
            << u"Deleting Importance Group"_s;
        QTest::newRow("Load groups")
            << true << none << 2 << load << 0 << true << u"All 100"_s << 0 << u""_s;
    }
    void buttons() {
        QFETCH(bool, groups);
        QFETCH(QList<float>, values);
        QFETCH(int, column);
        QFETCH(QString, button);
        QFETCH(int, chosen);
        QFETCH(bool, ok);
        Opened o(groups, 3000, values);
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
};

QTEST_MAIN(ScaleDialogsTest)
#include "tst_scaledialogs.moc"
