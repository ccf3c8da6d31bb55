#pragma once

#include <QObject>

class CellEditor;
class Gradebook;
class GradeTableView;
class MainWindow;
class QKeyEvent;

// The floating editor over the current cell: where it lies, what its typing does to the
// document, the keys that walk the table, and renaming tests and students in place.
class CellEditing : public QObject {
    Q_OBJECT
public:
    explicit CellEditing(MainWindow& window);

    // The editor's part of refreshing the current cell: over a score, or over the name being
    // renamed; hidden over a total; left as it is on the name column.
    void followCurrentCell(int row, int col);
    // Renaming starts over the test names (kind 1) or the student names (kind 2).
    void startHeaderEdit(int kind, int row, int col);
    void endHeaderEdit();
    void focusEditor();
    void hideEditor();

private:
    void placeEditor(int row, int col);
    void onEdited(const QString& text);
    void onTableKey(QKeyEvent* event);
    void onFocusLost(Qt::FocusReason reason);
    void stepHorizontal(int direction);
    void stepVertical(int direction);
    void moveCurrentCell(int dRow, int dCol);
    void followScroll();

    MainWindow& m_window;
    Gradebook& m_book;
    GradeTableView* m_table;
    CellEditor* m_editor;
    int m_headerEditKind = 0; // 0 none, 1 test names, 2 student names
    bool m_inChange = false;
};
