#include "GradeTableModel.h"

#include <QBrush>
#include <QFont>
#include <QPalette>

GradeTableModel::GradeTableModel(Gradebook& book, QObject* parent)
    : QAbstractTableModel(parent), m_book(book) {
    connect(&book, &Gradebook::aboutToReshape, this, [this] { beginResetModel(); });
    connect(&book, &Gradebook::reshaped, this, [this] { endResetModel(); });
    connect(&book, &Gradebook::cellsChanged, this,
            [this](int top, int left, int bottom, int right) {
                emit dataChanged(index(top, left), index(bottom, right), {Qt::DisplayRole});
            });
}

int GradeTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_book.rowCount();
}

int GradeTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_book.columnCount();
}

QVariant GradeTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const bool heading = index.row() == 0 || index.column() == 0;
    switch (role) {
    case Qt::DisplayRole:
        return m_book.cell(index.row(), index.column());
    case Qt::BackgroundRole:
        if (heading) return QPalette().brush(QPalette::Button);
        return {};
    case Qt::FontRole:
        if (index.row() == 0) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    default:
        return {};
    }
}
