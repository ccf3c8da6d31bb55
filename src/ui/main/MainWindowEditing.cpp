// The main window's current cell: the panels that follow it, the floating editor over it,
// and moving it with the keyboard.
#include "ControlPanel.h"
#include "GradeTableModel.h"
#include "GradeTableView.h"
#include "MainWindow.h"
#include "NameHeader.h"
#include "Prompter.h"
#include "core/NumberText.h"
#include "core/ScoreCell.h"
#include "core/Security.h"
#include "grading/Calculation.h"
#include "grading/Importance.h"
#include "grading/ScoreEntry.h"
#include "ui/dialogs/PasswordDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QStackedWidget>

namespace {

// Sets a flag for a scope and clears it again.
class PanelUpdating {
public:
    explicit PanelUpdating(Gradebook& book) : m_book(book) { book.setPanelUpdating(true); }
    ~PanelUpdating() { m_book.setPanelUpdating(false); }
    PanelUpdating(const PanelUpdating&) = delete;
    PanelUpdating& operator=(const PanelUpdating&) = delete;

private:
    Gradebook& m_book;
};

} // namespace

bool MainWindow::CheckAccess(int rule) {
    if (!AccessNeeded(*m_book, rule)) return true;
    if (!PasswordDialog::Verify(m_book->security().password, *m_prompter, this)) return false;
    Unlock(*m_book);
    return true;
}

void MainWindow::RefreshCurrentCell() {
    if (!isVisible()) return;
    // Placing the editor moves the focus, and focus and current-cell handlers call back here:
    // a nested call only asks for one more pass once this one is done.
    if (m_refreshing) {
        m_refreshAgain = true;
        return;
    }
    const QScopedValueRollback<bool> refreshing(m_refreshing, true);
    for (int pass = 0; pass < 3; ++pass) {
        m_refreshAgain = false;
        refreshPanelAndEditor();
        if (!m_refreshAgain) break;
    }
}

void MainWindow::refreshPanelAndEditor() {
    PanelUpdating updating(*m_book);
    ControlPanel& p = *m_panel;
    const int r = m_table->currentRow();
    const int c = m_table->currentColumn();
    const bool total = c == 1;
    const bool test = c >= 2 && c < m_book->columnCount();

    // The importance list and Calculate Grades on a test column, the averaging rules on any
    // other: the two share one place, so nothing else in the panel moves.
    p.columnOptions->setCurrentWidget(test ? p.testOptions : p.totalOptions);
    // The maximum keeps its place, greyed with its label, where there is no test.
    p.maxScoreLabel->setEnabled(test);
    p.maxScore->setEnabled(test);
    p.ignoreGrade->setEnabled(test);
    p.showTotalScores->setVisible(total);
    p.showTotalScores->setChecked(m_book->view().showTotalScores);
    p.averaging->setVisible(!test);
    for (auto* b : p.averagingRule)
        b->setEnabled(c >= 1);
    const bool graded = c >= 1 && c < m_book->columnCount() && m_book->TestOf(c).calculateGrades;
    p.scale->setEnabled(graded);
    m_setScaleAction->setEnabled(graded);
    // Test information needs its dialog, which is not built yet.
    p.info->setEnabled(false);
    m_testInfoAction->setEnabled(false);
    p.deleteTest->setEnabled(test);
    m_deleteTestAction->setEnabled(test);

    const bool studentRow = r >= 1 && r < m_book->rowCount();
    p.nameAsId->setChecked(studentRow && m_book->StudentOf(r).showAsId != 0);
    p.studentName->setText(m_book->GetCellText(r, 0));

    if (test) {
        TestRecord& t = m_book->TestOf(c);
        p.maxScore->setText(FormatGeneral(t.maxScore));
        const QStringList items = ImportanceListItems(m_book->importanceSet());
        if (p.importance->count() != items.size() || [&] {
                for (int i = 0; i < items.size(); ++i)
                    if (p.importance->itemText(i) != items[i]) return true;
                return false;
            }()) {
            p.importance->clear();
            p.importance->addItems(items);
        }
        // A group the set no longer has shows as the first group, and becomes it.
        if (!(t.importance >= 0 && t.importance < p.importance->count())) t.importance = 0;
        p.importance->setCurrentIndex(int(t.importance));
        p.calculateGrades->setChecked(t.calculateGrades != 0);
        m_calculateGradesAction->setChecked(t.calculateGrades != 0);
        p.ignoreGrade->setChecked(studentRow && !m_book->isIncluded(r, c));
    } else {
        p.averagingRule[0]->setChecked(UsesScoresRule(*m_book));
        p.averagingRule[1]->setChecked(!UsesScoresRule(*m_book));
        p.ignoreGrade->setChecked(false);
    }
    const int mode = int(m_book->view().displayMode);
    p.displayMode[std::size_t(mode)]->setChecked(true);
    p.sortRule[0]->setCurrentIndex(m_book->view().studentSortRule);
    p.sortRule[1]->setCurrentIndex(m_book->view().testSortRule);
    p.studentCount->setText(QString::number(m_book->studentCount()));

    // The editor: over a score, or over the name being renamed; never over a total.
    const HeaderEditing header = m_book->headerEditing();
    m_table->setSelectionMode(header == HeaderEditing::Off ? QAbstractItemView::ExtendedSelection
                                                           : QAbstractItemView::NoSelection);
    // While a name is renamed, only its header looks current.
    if (header != HeaderEditing::Off) m_table->selectionModel()->clearSelection();
    if (header != HeaderEditing::Off || c >= 2) {
        if (header == HeaderEditing::Off) m_editor->setText(ScoreOfCell(m_book->GetCellText(r, c)));
        placeEditor(r, c);
    } else if (total) {
        hideEditor();
        m_editor->setEnabled(false);
    }

    p.testFrame->setTitle(test ? tr("Current Test: ") + m_book->GetCellText(0, c)
                               : tr("Current Test: None"));
    p.studentButtons[0]->setEnabled(r >= 1);
    p.studentButtons[1]->setEnabled(r >= 1);
    syncViewMenus();
}

void MainWindow::placeEditor(int row, int col) {
    const HeaderEditing header = m_book->headerEditing();
    if (header == HeaderEditing::StudentNames)
        col = 0;
    else if (header == HeaderEditing::TestNames)
        row = 0;
    const std::optional<QRect> cell = m_table->visibleCellRect(row, col);
    if (!cell) {
        hideEditor();
        return;
    }
    const bool score = row != 0 && col != 0;
    m_editor->setHeaderMode(!score);
    QPalette palette = m_editor->palette();
    palette.setColor(QPalette::Base, score ? Qt::white : QColor(0xC0, 0xC0, 0xC0));
    m_editor->setPalette(palette);
    if (!score) {
        m_editor->setEnabled(true);
        m_editor->setText(m_book->GetCellText(row, col));
    }
    const int width =
        header != HeaderEditing::Off && m_headerEditKind > 0
            ? cell->width()
            : m_editor->fontMetrics().horizontalAdvance(u' ' + m_editor->text() + u' ');
    // A long text is cut at the table's edge rather than hiding the editor.
    QRect rect(cell->topLeft(), QSize(std::max(width, 8), cell->height()));
    rect.setRight(std::min(rect.right(), m_table->viewport()->geometry().right()));
    if (rect.width() < 8) {
        hideEditor();
        return;
    }
    // While scores are locked the editor does not open at all.
    if (AccessNeeded(*m_book, EditScores)) {
        hideEditor();
        return;
    }
    m_editor->setGeometry(rect);
    m_editor->setEnabled(true);
    m_editor->raise();
    m_editor->show();
    focusEditor();
}

void MainWindow::focusEditor() {
    if (!m_editor->isEnabled() || !m_editor->isVisible()) return;
    m_editor->setFocus(Qt::OtherFocusReason);
    m_editor->selectAll();
}

void MainWindow::hideEditor() {
    m_editor->lower();
    m_editor->hide();
}

void MainWindow::followScroll() {
    if (!m_editor->isVisible() && !m_editor->hasFocus()) return;
    const int r = m_table->currentRow();
    const int c = m_table->currentColumn();
    if (m_book->headerEditing() != HeaderEditing::Off || c > 1) placeEditor(r, c);
}

void MainWindow::onEditorEdited(const QString& text) {
    if (m_inEditorChange) return;
    m_inEditorChange = true;
    const auto done = qScopeGuard([this] { m_inEditorChange = false; });
    if (AccessNeeded(*m_book, EditScores)) return;
    const int row = m_table->currentRow();
    const int col = m_table->currentColumn();
    m_book->MarkModified();
    const HeaderEditing header = m_book->headerEditing();
    if (header != HeaderEditing::Off) {
        // Renaming walks the names only: "Total" and the "Name" heading are never renamed.
        if ((header == HeaderEditing::TestNames && col >= 2) ||
            (header == HeaderEditing::StudentNames && row >= 1))
            m_book->SetCellText(row, col, text);
        return;
    }
    if (col >= 2) {
        if (ScoreOfCell(m_book->GetCellText(row, col)) == text) return;
        EnterScore(*m_book, row, col, text);
        // The editor grows with what is typed, within the table, and the caret goes to the end.
        QRect r = m_editor->geometry();
        r.setWidth(m_editor->fontMetrics().horizontalAdvance(u' ' + text + u' '));
        r.setRight(std::min(r.right(), m_table->viewport()->geometry().right()));
        m_editor->setGeometry(r);
        m_editor->setCursorPosition(int(m_editor->text().size()));
    }
}

void MainWindow::onTableKey(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Down:
        return stepVertical(1);
    case Qt::Key_Up:
        return stepVertical(-1);
    case Qt::Key_Left:
        return stepHorizontal(-1);
    case Qt::Key_Right:
        return stepHorizontal(1);
    default:
        break;
    }
    // A character typed on a score starts its editor, as in a spreadsheet; anywhere else, or
    // while scores are locked, it does nothing.
    const QString text = event->text();
    if (text.isEmpty() || !text.front().isPrint() ||
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return;
    RefreshCurrentCell();
    if (m_editor->isVisible() && m_editor->hasFocus()) QCoreApplication::sendEvent(m_editor, event);
}

void MainWindow::onEditorFocusLost(Qt::FocusReason reason) {
    // A message box or another program takes the focus for a while: the editor stays. It goes
    // when another control of this window takes the focus.
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
    if (QApplication::focusWidget() != m_editor) hideEditor();
}

void MainWindow::moveCurrentCell(int dRow, int dCol) {
    // Past the last row or column the cell stays; renaming tests walks the test names only.
    const int firstCol = m_book->headerEditing() == HeaderEditing::TestNames ? 2 : 1;
    const int row = std::clamp(m_table->currentRow() + dRow, 1, m_book->rowCount() - 1);
    const int col =
        std::clamp(m_table->currentColumn() + dCol, firstCol, m_book->columnCount() - 1);
    m_table->setFocus(Qt::OtherFocusReason);
    m_table->setCurrentCell(row, col);
    RefreshCurrentCell();
}

void MainWindow::stepHorizontal(int direction) {
    if (m_headerEditKind == 1 || m_book->headerEditing() == HeaderEditing::Off) {
        if (m_headerEditKind != 1) m_headerEditKind = 0;
        moveCurrentCell(0, direction);
        return;
    }
    // Renaming students: Right ends the renaming, Left does nothing.
    if (direction < 0) return;
    m_book->setHeaderEditing(HeaderEditing::Off);
    m_headerEditKind = 0;
    moveCurrentCell(0, 0);
}

void MainWindow::stepVertical(int direction) {
    if (m_headerEditKind == 2 || m_book->headerEditing() == HeaderEditing::Off) {
        if (m_headerEditKind != 2) m_headerEditKind = 0;
        moveCurrentCell(direction, 0);
        return;
    }
    // Renaming tests: Down or Enter ends the renaming, Up does nothing.
    if (direction < 0) return;
    endHeaderEdit();
    moveCurrentCell(0, 0);
}

void MainWindow::endHeaderEdit() {
    m_book->setHeaderEditing(HeaderEditing::Off);
    m_headerEditKind = 0;
    m_table->setCurrentCell(m_table->currentRow(), m_table->currentColumn());
}

void MainWindow::startHeaderEdit(int kind, int row, int col) {
    if (kind == 1 && (col < 2 || col >= m_book->columnCount())) return;
    if (kind == 2 && (row < 1 || row >= m_book->rowCount())) return;
    m_headerEditKind = kind;
    m_book->setHeaderEditing(kind == 1 ? HeaderEditing::TestNames : HeaderEditing::StudentNames);
    m_table->setCurrentCell(row, col);
    RefreshCurrentCell();
}
