#pragma once

#include "core/Gradebook.h"

#include <QAbstractTableModel>

// The grade table as the view sees it: every cell of the document, row 0 and column 0 being
// the headings. It follows the document's change notices, so one edited score repaints one
// row rather than the table.
class GradeTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GradeTableModel(Gradebook& book, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    Gradebook& m_book;
};
