#pragma once

#include "core/Gradebook.h"

#include <QAbstractTableModel>

// The grade table as the view sees it. The document's row 0 (test names) and column 0
// (student names) are the view's header sections, which stay in place while the rest scrolls;
// model cell (i, j) is document cell (i + 1, j + 1). The model follows the document's change
// notices, so one edited score repaints one row rather than the table.
class GradeTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GradeTableModel(Gradebook& book, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Document coordinates of a model index, and back.
    static int documentRow(const QModelIndex& index) { return index.row() + 1; }
    static int documentColumn(const QModelIndex& index) { return index.column() + 1; }
    QModelIndex indexOf(int row, int col) const { return index(row - 1, col - 1); }

private:
    void onCellsChanged(int top, int left, int bottom, int right);

    Gradebook& m_book;
};
