#include "ClipboardCommands.h"

#include "GradeTableView.h"
#include "MainWindow.h"
#include "Prompter.h"
#include "TableCommands.h"
#include "TextEntry.h"
#include "core/NumberText.h"
#include "core/Security.h"
#include "grading/Calculation.h"
#include "grading/ScoreEntry.h"
#include "grading/TableTransfer.h"
#include "storage/ParameterBlocks.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

const QString TestFormat = ParameterBlocks::TestFormat.toString();
const QString StudentFormat = ParameterBlocks::StudentFormat.toString();

} // namespace

ClipboardCommands::ClipboardCommands(MainWindow& window) : QObject(&window), m_window(window) {}

void ClipboardCommands::copy(bool cut) {
    Gradebook& book = m_window.gradebook();
    const CellBlock block = m_window.table()->selectionBlock();
    auto mime = std::make_unique<QMimeData>();
    TextLayout placed;
    if (m_window.table()->wholeColumnsSelected()) {
        mime->setData(TestFormat, EncodeTestBlocks(book, block.left, block.right));
        placed.testNames = true;
    }
    if (m_window.table()->wholeRowsSelected()) {
        // Without the password the identity the table hides and the note stay behind.
        const StudentIdentity identity =
            m_window.CheckAccess(AccessNames) ? StudentIdentity::Kept : StudentIdentity::Masked;
        mime->setData(StudentFormat, EncodeStudentBlocks(book, block.top, block.bottom, identity));
        placed.studentNames = true;
    }
    mime->setText(BlockText(book, block, placed));
    QGuiApplication::clipboard()->setMimeData(mime.release());
    if (!cut) return;
    if (!m_window.tableCommands().cutTestsOrStudents() && m_window.CheckAccess(EditScores))
        ClearScores(book, block);
    m_window.RefreshCurrentCell();
}

void ClipboardCommands::paste() {
    Gradebook& book = m_window.gradebook();
    GradeTableView* table = m_window.table();
    const CellBlock block = table->selectionBlock();
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime) return;
    const bool hasTests = mime->hasFormat(TestFormat);
    const bool hasStudents = mime->hasFormat(StudentFormat);
    Prompter& prompter = m_window.prompter();
    const auto yes = [&](const QString& question) {
        return prompter.ask(&m_window, question, QMessageBox::Yes | QMessageBox::No) ==
               QMessageBox::Yes;
    };
    TextLayout taken;
    if (hasTests && table->wholeColumnsSelected() &&
        yes(QStringLiteral("Paste Test parameters too?"))) {
        const QList<TestParams> tests = DecodeTestBlocks(mime->data(TestFormat));
        for (int i = 0; i < tests.size() && block.left + i <= block.right; ++i)
            ApplyTestParams(book, block.left + i, tests[i]);
        taken.testNames = true;
    }
    if (hasStudents && table->wholeRowsSelected() &&
        yes(QStringLiteral("Paste student parameters too?"))) {
        const QList<StudentRecord> students = DecodeStudentBlocks(mime->data(StudentFormat));
        for (int i = 0; i < students.size() && block.top + i <= block.bottom; ++i)
            if (block.top + i >= 1 && block.top + i < book.rowCount())
                book.StudentOf(block.top + i) = students[i];
        taken.studentNames = true;
    }
    if (!m_window.CheckAccess(EditScores)) {
        prompter.tell(&m_window, QStringLiteral("Security violation!"));
    } else if (mime->hasText()) {
        // Only what a gradebook file can keep goes into the table.
        const QString text = ToFileText(mime->text());
        if (text.contains(u'\r') || text.contains(u'\n')) {
            const TextLayout layout{hasTests || taken.testNames, hasStudents || taken.studentNames};
            PasteText(book, block, text, layout, taken);
        } else if (!text.isEmpty() && ReadLeadingNumber(text) > 0) {
            EnterScore(book, table->currentRow(), table->currentColumn(), text);
        }
    }
    // New maximum scores and scales grade their columns again.
    if (taken.testNames) RecalcColumns(book, std::max(block.left, 2), block.right);
    book.MarkModified();
    m_window.RefreshCurrentCell();
}
