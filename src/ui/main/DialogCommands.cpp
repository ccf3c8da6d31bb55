#include "DialogCommands.h"

#include "ControlPanel.h"
#include "FileCommands.h"
#include "GradeTableView.h"
#include "MainWindow.h"
#include "Prompter.h"
#include "grading/Calculation.h"
#include "output/BarChartView.h"
#include "output/DistributionChart.h"
#include "storage/LibraryFile.h"
#include "storage/Settings.h"
#include "ui/dialogs/ImportanceGroupsDialog.h"
#include "ui/dialogs/LibraryDialog.h"
#include "ui/dialogs/SetScaleDialog.h"
#include "ui/dialogs/StudentInfoDialog.h"
#include "ui/dialogs/TestInfoDialog.h"

DialogCommands::DialogCommands(MainWindow& window) : QObject(&window), m_window(window) {}

void DialogCommands::setScale() {
    const int col = m_window.table()->currentColumn();
    if (m_window.CheckAccess(ChangeGradingRules) && col >= 1 &&
        col < m_window.gradebook().columnCount() && editScale(col))
        RecalcColumn(m_window.gradebook(), col);
    m_window.RefreshCurrentCell();
}

bool DialogCommands::editScale(int col) {
    Gradebook& book = m_window.gradebook();
    Libraries& libraries = m_window.libraries();
    const QString dir = m_window.fileCommands().libraryDir();
    const auto choose = [this, &libraries, dir](QWidget* parent, GradeScale& edited) {
        return ChooseFromLibrary(parent, m_window.prompter(), libraries, edited, dir);
    };
    SetScaleDialog dialog(book.TestOf(col).scale, book.GetCellText(0, col), libraries, choose,
                          m_window.prompter(), &m_window);
    const AppSettings& settings = m_window.fileCommands().settings();
    dialog.setSliderGeometry(settings.labelColumnWidth, settings.sliderWidth);
    auto* chart = new BarChartView;
    chart->setChart(DistributionChart(book, col));
    dialog.setChart(chart);
    const bool kept = dialog.exec() == QDialog::Accepted;
    if (kept) {
        book.TestOf(col).scale = dialog.scale();
        book.MarkModified();
    } else {
        rereadLibraries();
    }
    storeSliderGeometry(dialog);
    return kept;
}

void DialogCommands::setImportance() {
    if (m_window.CheckAccess(ChangeGradingRules)) {
        Gradebook& book = m_window.gradebook();
        Libraries& libraries = m_window.libraries();
        const QString dir = m_window.fileCommands().libraryDir();
        const auto choose = [this, &libraries, dir](QWidget* parent, ImportanceSet& edited) {
            return ChooseFromLibrary(parent, m_window.prompter(), libraries, edited, dir);
        };
        ImportanceGroupsDialog dialog(book.importanceSet(), libraries, choose, m_window.prompter(),
                                      &m_window);
        const AppSettings& settings = m_window.fileCommands().settings();
        dialog.setSliderGeometry(settings.labelColumnWidth, settings.sliderWidth);
        if (dialog.exec() == QDialog::Accepted) {
            book.importanceSet() = dialog.importanceSet();
            book.MarkModified();
        } else {
            rereadLibraries();
        }
        storeSliderGeometry(dialog);
        RecalcTotals(book);
    }
    m_window.RefreshCurrentCell();
}

void DialogCommands::testInformation() {
    Gradebook& book = m_window.gradebook();
    const int col = m_window.table()->currentColumn();
    if (col < 1 || col >= book.columnCount()) return;
    // "Scale" in the dialog edits the test chosen there, under the same rule as the button;
    // the dialog's own recalculation below covers it.
    const auto openScale = [this](int column) {
        if (m_window.CheckAccess(ChangeGradingRules)) editScale(column);
    };
    TestInfoDialog dialog(book, col, m_window.prompter(), openScale, &m_window);
    dialog.exec();
    // Maximum scores, groups and scales may all have changed, whichever way the dialog opened.
    RecalcAll(book);
    m_window.RefreshCurrentCell();
}

void DialogCommands::studentInformation() {
    GradeTableView* table = m_window.table();
    if (!m_window.CheckAccess(AccessNames) || table->currentRow() < 1) return;
    StudentInfoDialog dialog(m_window.gradebook(), table->currentRow(), &m_window);
    dialog.exec();
    m_window.RefreshCurrentCell();
}

void DialogCommands::rereadLibraries() {
    // The dialogs write every change to the library files at once, so what is on disk is what
    // the teacher kept.
    for (const QString& message :
         ReadLibraries(m_window.libraries(), m_window.fileCommands().libraryDir()))
        m_window.prompter().tell(&m_window, message, QMessageBox::Critical);
}

void DialogCommands::storeSliderGeometry(const SliderDialog& dialog) {
    AppSettings& settings = m_window.fileCommands().settings();
    settings.labelColumnWidth = dialog.labelColumnWidth();
    settings.sliderWidth = dialog.sliderWidth();
    m_window.fileCommands().reportSettingsFailure(
        SaveScaleGeometry(*OpenSettingsStore(), settings.labelColumnWidth, settings.sliderWidth));
}
