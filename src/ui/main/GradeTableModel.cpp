#include "GradeTableModel.h"

GradeTableModel::GradeTableModel(Gradebook& book, QObject* parent)
    : QAbstractTableModel(parent), m_book(book) {
    connect(&book, &Gradebook::aboutToReshape, this, [this] { beginResetModel(); });
    connect(&book, &Gradebook::reshaped, this, [this] { endResetModel(); });
    connect(&book, &Gradebook::cellsChanged, this, &GradeTableModel::onCellsChanged);
}

int GradeTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_book.rowCount() - 1;
}

int GradeTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_book.columnCount() - 1;
}

QVariant GradeTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
    return m_book.cell(documentRow(index), documentColumn(index));
}

QVariant GradeTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    if (orientation == Qt::Horizontal) return m_book.GetCellText(0, section + 1);
    return m_book.GetCellText(section + 1, 0);
}

void GradeTableModel::onCellsChanged(int top, int left, int bottom, int right) {
    if (top == 0) {
        if (right >= 1) emit headerDataChanged(Qt::Horizontal, std::max(left, 1) - 1, right - 1);
        ++top;
    }
    if (left == 0) {
        if (top <= bottom) emit headerDataChanged(Qt::Vertical, top - 1, bottom - 1);
        ++left;
    }
    if (top <= bottom && left <= right)
        emit dataChanged(index(top - 1, left - 1), index(bottom - 1, right - 1), {Qt::DisplayRole});
}
