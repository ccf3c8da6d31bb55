#include "CellEditor.h"

#include "TextEntry.h"

#include <QKeyEvent>
#include <QTimer>

CellEditor::CellEditor(QWidget* parent) : QLineEdit(parent) {
    setObjectName(QStringLiteral("Text1"));
    setAccessibleName(tr("Current cell"));
    setFrame(false);
    KeepToFileText(this);
}

bool CellEditor::KeyStaysInEditor(int key) const {
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Up || key == Qt::Key_Down)
        return false;
    if (selectedText().size() == text().size()) return false;
    if (key == Qt::Key_Right && cursorPosition() == text().size()) return false;
    if (key == Qt::Key_Left && cursorPosition() == 0) return false;
    return true;
}

void CellEditor::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (event->modifiers() == Qt::ControlModifier &&
        (key == Qt::Key_C || key == Qt::Key_X || key == Qt::Key_V)) {
        const Clipboard command = key == Qt::Key_C   ? Clipboard::Copy
                                  : key == Qt::Key_X ? Clipboard::Cut
                                                     : Clipboard::Paste;
        // The table command runs after the editor has finished with the key.
        QTimer::singleShot(0, this, [this, command] { emit clipboardCommand(command); });
        event->accept();
        return;
    }
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (KeyStaysInEditor(key)) break;
        event->accept();
        if (key == Qt::Key_Left || key == Qt::Key_Right)
            emit stepHorizontal(key == Qt::Key_Right ? 1 : -1);
        else
            emit stepVertical(key == Qt::Key_Up ? -1 : 1);
        return;
    case Qt::Key_X:
        if (!m_headerMode && (event->modifiers() & ~Qt::ShiftModifier) == Qt::NoModifier) {
            event->accept();
            emit toggleIgnore();
            return;
        }
        break;
    default:
        break;
    }
    QLineEdit::keyPressEvent(event);
    // Keys the editor has no use for (Page Up, Ctrl+Home, ...) go nowhere, least of all to the
    // table underneath, whose own navigation would move the cell behind the editor's back.
    event->accept();
}

void CellEditor::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    emit focusLost(event->reason());
}

bool CellEditor::event(QEvent* event) {
    // Undo and redo belong to the gradebook's history, not to the editor's own text.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
            key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y)) {
            event->ignore();
            return false;
        }
    }
    // Tab and Shift+Tab would carry the focus, and the table's current cell, elsewhere.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            event->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}
