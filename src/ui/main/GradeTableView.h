#pragma once

#include "core/Gradebook.h"

#include <QTableView>

#include <optional>

class GradeTableModel;
class NameHeader;
class QLabel;

// The table of grades: the document's cells with the test names and the student names as
// headers that stay in place while the scores scroll. Lengths come from the document in twips
// and go back to it when the user drags a border.
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

    // Where document cell (row, col) lies in this widget's coordinates, when all of it can be
    // seen; header cells included.
    std::optional<QRect> visibleCellRect(int row, int col) const;

    int twipsToPixels(int twips) const;
    int pixelsToTwips(int pixels) const;

signals:
    void scrolled();

protected:
    void updateGeometries() override;

private:
    void applyDocumentGeometry();

    Gradebook& m_book;
    GradeTableModel* m_model;
    NameHeader* m_names;
    QLabel* m_corner;
    bool m_applyingGeometry = false;
};
