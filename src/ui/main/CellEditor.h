#pragma once

#include <QLineEdit>

// The one floating editor laid over the current cell. It commits at every keystroke (textEdited);
// Enter and the arrow keys leave the cell once the caret cannot move further, and a few keys are
// table commands rather than text.
class CellEditor : public QLineEdit {
    Q_OBJECT
public:
    enum class Clipboard { Copy, Cut, Paste };

    explicit CellEditor(QWidget* parent = nullptr);

    // While names are edited, "x" is text; over a score it toggles "Ignore grade".
    void setHeaderMode(bool on) { m_headerMode = on; }
    // Whether a navigation key moves the caret rather than leaving the cell.
    bool KeyStaysInEditor(int key) const;

signals:
    void stepHorizontal(int direction);
    void stepVertical(int direction);
    void toggleIgnore();
    void clipboardCommand(CellEditor::Clipboard command);
    void focusLost(Qt::FocusReason reason);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool m_headerMode = false;
};
