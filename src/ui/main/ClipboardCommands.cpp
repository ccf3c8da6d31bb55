#include "ClipboardCommands.h"

#include "GradeTableView.h"
#include "MainWindow.h"
#include "Prompter.h"
#include "TextEntry.h"
#include "core/ScoreCell.h"
#include "core/Security.h"
#include "grading/ScoreEntry.h"

#include <QClipboard>
#include <QGuiApplication>

ClipboardCommands::ClipboardCommands(MainWindow& window) : QObject(&window), m_window(window) {}

void ClipboardCommands::copy(bool cut) {
    Gradebook& book = m_window.gradebook();
    GradeTableView* table = m_window.table();
    const int r = table->currentRow();
    const int c = table->currentColumn();
    if (c < 2) return;
    QGuiApplication::clipboard()->setText(ScoreOfCell(book.GetCellText(r, c)) +
                                          QStringLiteral("\r\n"));
    if (cut && m_window.CheckAccess(EditScores)) {
        EnterScore(book, r, c, QString());
        m_window.RefreshCurrentCell();
    }
}

void ClipboardCommands::paste() {
    Gradebook& book = m_window.gradebook();
    GradeTableView* table = m_window.table();
    const int r = table->currentRow();
    const int c = table->currentColumn();
    if (c < 2) return;
    if (!m_window.CheckAccess(EditScores)) {
        m_window.prompter().tell(&m_window, QStringLiteral("Security violation!"));
        return;
    }
    // One value: the first field of the first line, as the file can keep it.
    const QString text = QGuiApplication::clipboard()->text();
    const QString value = ToFileText(text.section(u'\n', 0, 0).section(u'\t', 0, 0).trimmed());
    EnterScore(book, r, c, value);
    m_window.RefreshCurrentCell();
}
