#pragma once

#include <QCursor>
#include <QObject>

class MainWindow;
class QAction;
class QMenu;
class QPoint;
class QWidget;

// The mouse on the table beyond what the view does by itself: a test's name selects its column
// and a student's name its row; the right button opens the menu of what it points at; a test
// dragged by its name (pressed a second time) moves to the column it is dropped on.
class TableMouse : public QObject {
    Q_OBJECT
public:
    explicit TableMouse(MainWindow& window);

    QMenu* cellMenu() const { return m_cellMenu; }
    // What a drop of the test in column `source` on column `target` does.
    void dropTest(int source, int target);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The right button at (row, col) in document terms, seen from `source` at `pos`.
    void onRightButton(int row, int col, QWidget* source, const QPoint& pos);
    void onSectionMoved(int logical, int oldVisual, int newVisual);
    // A left press on the test names: the second press on the same test starts a drag.
    void onNamePress(const QPoint& pos);
    // The column a test dragged to `pos` of the names would be dropped on, or 0 where it may
    // not be dropped.
    int dropColumn(const QPoint& pos) const;

    MainWindow& m_window;
    QMenu* m_cellMenu;
    QAction* m_ignoreAction;
    bool m_dragArmed = false;
    int m_dragSource = 0; // the column of the last left press on the test names
    bool m_dragging = false;
    QCursor m_dropCursor;
    QCursor m_noDropCursor;
    const QObject* m_namesViewport = nullptr; // the test names' viewport, whose mouse we watch
};
