#pragma once

#include "core/Gradebook.h"
#include "grading/TableTransfer.h"

#include <QTableView>

#include <optional>

class GradeTableModel;
class NameHeader;
class QLabel;

// The table of grades: the document's cells with the test names and the student names as
// headers that stay in place while the scores scroll. Lengths come from the document in twips,
// shown no smaller than the font needs, and go back to it only when the user drags a border.
class GradeTableView : public QTableView {
    Q_OBJECT
public:
    GradeTableView(Gradebook& book, QWidget* parent = nullptr);

    GradeTableModel* gradeModel() const { return m_model; }
    NameHeader* nameHeader() const { return m_names; }

    // The document cell that is current, and making a document cell current.
    int currentRow() const;
    int currentColumn() const;
    void setCurrentCell(int row, int col);

    // The selection in document terms. Whole columns are selected when a range spans every
    // student but one or more, whole rows when it spans every column but one or more; the
    // lists fall back to the current cell's test or student.
    CellBlock selectionBlock() const; // the rectangle around the selection, or the current cell
    bool wholeColumnsSelected() const;
    bool wholeRowsSelected() const;
    QList<int> selectedTestColumns() const;
    QList<int> selectedRows() const;

    // Where document cell (row, col) lies in this widget's coordinates, when all of it can be
    // seen; header cells included.
    std::optional<QRect> visibleCellRect(int row, int col) const;

    int twipsToPixels(int twips) const;
    int pixelsToTwips(int pixels) const;

    // The table is read-only: no keyboard search, no navigation of its own.
    void keyboardSearch(const QString&) override {}

signals:
    void scrolled();
    // A key pressed while the table itself has the focus; the window decides what it does.
    void keyTyped(QKeyEvent* event);

protected:
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void applyDocumentGeometry();
    void fitColumns(int first, int last);
    void alignToCells();
    // What the font needs: the height of a row beside `header`, a column's width as shown.
    int minimumRowHeight(const QHeaderView* header) const;
    int shownColumnWidth(int col) const;
    double fontScale() const;
    int unscaled(int pixels) const; // a shown width as the width it stands for in the standard font

    Gradebook& m_book;
    GradeTableModel* m_model;
    NameHeader* m_names;
    QLabel* m_corner;
    bool m_applyingGeometry = false;
};
