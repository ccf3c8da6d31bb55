#include "CellEditing.h"

#include "CellEditor.h"
#include "ClipboardCommands.h"
#include "ControlPanel.h"
#include "GradeTableView.h"
#include "MainWindow.h"
#include "UndoCommands.h"
#include "core/ScoreCell.h"
#include "core/Security.h"
#include "grading/ScoreEntry.h"

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScopeGuard>

CellEditing::CellEditing(MainWindow& window)
    : QObject(&window), m_window(window), m_book(window.gradebook()), m_table(window.table()),
      m_editor(window.editor()) {
    connect(m_editor, &QLineEdit::textEdited, this, &CellEditing::onEdited);
    connect(m_editor, &CellEditor::stepHorizontal, this, &CellEditing::stepHorizontal);
    connect(m_editor, &CellEditor::stepVertical, this, &CellEditing::stepVertical);
    connect(m_editor, &CellEditor::toggleIgnore, this, [this] {
        if (m_table->currentColumn() >= 2) m_window.panel()->ignoreGrade->click();
        focusEditor();
    });
    connect(m_editor, &CellEditor::clipboardCommand, this, [this](CellEditor::Clipboard command) {
        ClipboardCommands& clipboard = m_window.clipboardCommands();
        if (command == CellEditor::Clipboard::Paste)
            clipboard.paste();
        else
            clipboard.copy(command == CellEditor::Clipboard::Cut);
        if (command != CellEditor::Clipboard::Copy)
            m_window.undoCommands().commandDone(
                command == CellEditor::Clipboard::Paste ? tr("Paste") : tr("Cut"));
    });
    connect(m_editor, &CellEditor::focusLost, this, &CellEditing::onFocusLost);
    connect(m_table, &GradeTableView::keyTyped, this, &CellEditing::onTableKey);
    connect(m_table, &GradeTableView::scrolled, this, &CellEditing::followScroll);
    // Any press on the table or its headers ends renaming; a double-click on a header starts it.
    const auto endRenaming = [this] {
        if (m_book.headerEditing() != HeaderEditing::Off) endHeaderEdit();
    };
    connect(m_table, &QAbstractItemView::pressed, this, endRenaming);
    connect(m_table->horizontalHeader(), &QHeaderView::sectionPressed, this, endRenaming);
    connect(m_table->verticalHeader(), &QHeaderView::sectionPressed, this, endRenaming);
    connect(m_table->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this,
            [this](int section) { startHeaderEdit(1, 1, section + 1); });
    connect(m_table->verticalHeader(), &QHeaderView::sectionDoubleClicked, this,
            [this](int section) { startHeaderEdit(2, section + 1, 1); });
}

void CellEditing::followCurrentCell(int r, int c) {
    const HeaderEditing header = m_book.headerEditing();
    m_table->setSelectionMode(header == HeaderEditing::Off ? QAbstractItemView::ExtendedSelection
                                                           : QAbstractItemView::NoSelection);
    // While a name is renamed, only its header looks current.
    if (header != HeaderEditing::Off) m_table->selectionModel()->clearSelection();
    if (header != HeaderEditing::Off || c >= 2) {
        if (header == HeaderEditing::Off) m_editor->setText(ScoreOfCell(m_book.GetCellText(r, c)));
        placeEditor(r, c);
    } else if (c == 1) {
        hideEditor();
        m_editor->setEnabled(false);
    }
}

void CellEditing::placeEditor(int row, int col) {
    const HeaderEditing header = m_book.headerEditing();
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
        m_editor->setText(m_book.GetCellText(row, col));
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
    if (AccessNeeded(m_book, EditScores)) {
        hideEditor();
        return;
    }
    m_editor->setGeometry(rect);
    m_editor->setEnabled(true);
    m_editor->raise();
    m_editor->show();
    focusEditor();
}

void CellEditing::focusEditor() {
    if (!m_editor->isEnabled() || !m_editor->isVisible() || m_window.focusStays()) return;
    m_editor->setFocus(Qt::OtherFocusReason);
    m_editor->selectAll();
}

void CellEditing::hideEditor() {
    m_editor->lower();
    m_editor->hide();
}

void CellEditing::followScroll() {
    if (!m_editor->isVisible() && !m_editor->hasFocus()) return;
    const int r = m_table->currentRow();
    const int c = m_table->currentColumn();
    if (m_book.headerEditing() != HeaderEditing::Off || c > 1) placeEditor(r, c);
}

void CellEditing::onEdited(const QString& text) {
    if (m_inChange) return;
    m_inChange = true;
    const auto done = qScopeGuard([this] { m_inChange = false; });
    if (AccessNeeded(m_book, EditScores)) return;
    const int row = m_table->currentRow();
    const int col = m_table->currentColumn();
    m_book.MarkModified();
    const HeaderEditing header = m_book.headerEditing();
    if (header != HeaderEditing::Off) {
        // Renaming walks the names only: "Total" and the "Name" heading are never renamed.
        if ((header == HeaderEditing::TestNames && col >= 2) ||
            (header == HeaderEditing::StudentNames && row >= 1)) {
            m_book.SetCellText(row, col, text);
            m_window.undoCommands().typedIn(row, col);
        }
        return;
    }
    if (col >= 2) {
        if (ScoreOfCell(m_book.GetCellText(row, col)) == text) return;
        EnterScore(m_book, row, col, text);
        m_window.undoCommands().typedIn(row, col);
        // The editor grows with what is typed, within the table, and the caret goes to the end.
        QRect r = m_editor->geometry();
        r.setWidth(m_editor->fontMetrics().horizontalAdvance(u' ' + text + u' '));
        r.setRight(std::min(r.right(), m_table->viewport()->geometry().right()));
        m_editor->setGeometry(r);
        m_editor->setCursorPosition(int(m_editor->text().size()));
    }
}

void CellEditing::onTableKey(QKeyEvent* event) {
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
    m_window.RefreshCurrentCell();
    if (m_editor->isVisible() && m_editor->hasFocus()) QCoreApplication::sendEvent(m_editor, event);
}

void CellEditing::onFocusLost(Qt::FocusReason reason) {
    // A message box or another program takes the focus for a while: the editor stays. It goes
    // when another control of this window takes the focus.
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
    if (QApplication::focusWidget() != m_editor) hideEditor();
}

void CellEditing::moveCurrentCell(int dRow, int dCol) {
    // Past the last row or column the cell stays; renaming tests walks the test names only.
    const int firstCol = m_book.headerEditing() == HeaderEditing::TestNames ? 2 : 1;
    const int row = std::clamp(m_table->currentRow() + dRow, 1, m_book.rowCount() - 1);
    const int col = std::clamp(m_table->currentColumn() + dCol, firstCol, m_book.columnCount() - 1);
    m_table->setFocus(Qt::OtherFocusReason);
    m_table->setCurrentCell(row, col);
    m_window.RefreshCurrentCell();
}

void CellEditing::stepHorizontal(int direction) {
    if (m_headerEditKind == 1 || m_book.headerEditing() == HeaderEditing::Off) {
        if (m_headerEditKind != 1) m_headerEditKind = 0;
        moveCurrentCell(0, direction);
        return;
    }
    // Renaming students: Right ends the renaming, Left does nothing.
    if (direction < 0) return;
    m_book.setHeaderEditing(HeaderEditing::Off);
    m_headerEditKind = 0;
    moveCurrentCell(0, 0);
}

void CellEditing::stepVertical(int direction) {
    if (m_headerEditKind == 2 || m_book.headerEditing() == HeaderEditing::Off) {
        if (m_headerEditKind != 2) m_headerEditKind = 0;
        moveCurrentCell(direction, 0);
        return;
    }
    // Renaming tests: Down or Enter ends the renaming, Up does nothing.
    if (direction < 0) return;
    endHeaderEdit();
    moveCurrentCell(0, 0);
}

void CellEditing::endHeaderEdit() {
    m_book.setHeaderEditing(HeaderEditing::Off);
    m_headerEditKind = 0;
    m_table->setCurrentCell(m_table->currentRow(), m_table->currentColumn());
}

void CellEditing::startHeaderEdit(int kind, int row, int col) {
    if (kind == 1 && (col < 2 || col >= m_book.columnCount())) return;
    if (kind == 2 && (row < 1 || row >= m_book.rowCount())) return;
    m_headerEditKind = kind;
    m_book.setHeaderEditing(kind == 1 ? HeaderEditing::TestNames : HeaderEditing::StudentNames);
    m_table->setCurrentCell(row, col);
    m_window.RefreshCurrentCell();
}
