#pragma once

#include <QObject>

class MainWindow;
class QAction;
class QMenu;
class QPoint;
class QWidget;

// The mouse on the table beyond what the view does by itself: a test's name selects its column
// and a student's name its row; the right button opens the menu of what it points at; a test
// dragged by its name moves to where it is dropped.
class TableMouse : public QObject {
    Q_OBJECT
public:
    explicit TableMouse(MainWindow& window);

    QMenu* cellMenu() const { return m_cellMenu; }

private:
    // The right button at (row, col) in document terms, seen from `source` at `pos`.
    void onRightButton(int row, int col, QWidget* source, const QPoint& pos);
    void onTestDragged(int logical, int oldVisual, int newVisual);

    MainWindow& m_window;
    QMenu* m_cellMenu;
    QAction* m_ignoreAction;
};
