#include "GradingToolCommands.h"

#include "GradeTableView.h"
#include "MainWindow.h"
#include "Prompter.h"
#include "ui/dialogs/CurveDialog.h"
#include "ui/dialogs/DropLowestDialog.h"

GradingToolCommands::GradingToolCommands(MainWindow& window) : QObject(&window), m_window(window) {}

void GradingToolCommands::dropLowest() {
    // Leaving scores out is what "Ignore grade" does, and guarded as it is.
    if (!m_window.CheckAccess(ChangeGradingRules)) return;
    Gradebook& book = m_window.gradebook();
    DropLowestDialog dialog(book, &m_window);
    if (dialog.exec() == QDialog::Accepted) ApplyDrops(book, dialog.plan());
    m_window.RefreshCurrentCell();
}

void GradingToolCommands::curve() {
    const int col = m_window.table()->currentColumn();
    Gradebook& book = m_window.gradebook();
    if (col < 2) {
        m_window.prompter().tell(&m_window, tr("Click a score of the test to curve first."));
        return;
    }
    // New scores are typed scores, guarded as typing is.
    if (!m_window.CheckAccess(EditScores)) return;
    CurveDialog dialog(book, col, &m_window);
    if (dialog.exec() == QDialog::Accepted) ApplyCurve(book, col, dialog.plan());
    m_window.RefreshCurrentCell();
}
