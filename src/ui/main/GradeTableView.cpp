#include "GradeTableView.h"

#include "GradeTableModel.h"
#include "NameHeader.h"

#include <QLabel>
#include <QScrollBar>

GradeTableView::GradeTableView(Gradebook& book, QWidget* parent)
    : QTableView(parent), m_book(book), m_model(new GradeTableModel(book, this)),
      m_names(new NameHeader(this)), m_corner(new QLabel(this)) {
    setObjectName(QStringLiteral("Grid1"));
    setVerticalHeader(m_names);
    setModel(m_model);
    setCornerButtonEnabled(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setMinimumSectionSize(4);
    m_names->setMinimumSectionSize(4);

    // "Name" sits in the corner where the two headers meet.
    m_corner->setObjectName(QStringLiteral("NameCorner"));
    m_corner->setAutoFillBackground(true);
    m_corner->setBackgroundRole(QPalette::Button);
    m_corner->setMargin(3);

    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int section, int, int pixels) {
                if (!m_applyingGeometry) m_book.setColumnWidth(section + 1, pixelsToTwips(pixels));
            });
    connect(m_names, &QHeaderView::sectionResized, this, [this](int section, int, int pixels) {
        if (!m_applyingGeometry) m_book.setRowHeight(section + 1, pixelsToTwips(pixels));
    });
    connect(m_names, &NameHeader::columnWidthDragged, this,
            [this](int pixels) { m_book.setColumnWidth(0, pixelsToTwips(pixels)); });
    connect(&book, &Gradebook::reshaped, this, &GradeTableView::applyDocumentGeometry);
    connect(&book, &Gradebook::geometryChanged, this, &GradeTableView::applyDocumentGeometry);
    connect(&book, &Gradebook::cellsChanged, this, [this](int top, int left, int, int) {
        if (top == 0 && left == 0) m_corner->setText(m_book.GetCellText(0, 0));
    });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &GradeTableView::scrolled);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &GradeTableView::scrolled);
    applyDocumentGeometry();
}

int GradeTableView::twipsToPixels(int twips) const {
    return twips * logicalDpiX() / 1440;
}

int GradeTableView::pixelsToTwips(int pixels) const {
    return pixels * 1440 / std::max(1, logicalDpiX());
}

void GradeTableView::applyDocumentGeometry() {
    m_applyingGeometry = true;
    m_corner->setText(m_book.GetCellText(0, 0));
    m_names->setColumnWidth(twipsToPixels(m_book.columnWidth(0)));
    horizontalHeader()->setFixedHeight(twipsToPixels(m_book.rowHeight(0)));
    for (int c = 1; c < m_book.columnCount(); ++c)
        if (horizontalHeader()->sectionSize(c - 1) != twipsToPixels(m_book.columnWidth(c)))
            horizontalHeader()->resizeSection(c - 1, twipsToPixels(m_book.columnWidth(c)));
    for (int r = 1; r < m_book.rowCount(); ++r)
        if (m_names->sectionSize(r - 1) != twipsToPixels(m_book.rowHeight(r)))
            m_names->resizeSection(r - 1, twipsToPixels(m_book.rowHeight(r)));
    m_applyingGeometry = false;
    updateGeometries();
}

void GradeTableView::updateGeometries() {
    QTableView::updateGeometries();
    const int frame = frameWidth();
    m_corner->setGeometry(frame, frame, verticalHeader()->width(), horizontalHeader()->height());
}

int GradeTableView::currentRow() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? GradeTableModel::documentRow(i) : 1;
}

int GradeTableView::currentColumn() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? GradeTableModel::documentColumn(i) : 1;
}

void GradeTableView::setCurrentCell(int row, int col) {
    const QModelIndex i = m_model->indexOf(std::max(row, 1), std::max(col, 1));
    if (i.isValid()) selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
}

std::optional<QRect> GradeTableView::visibleCellRect(int row, int col) const {
    const QRect area = viewport()->geometry();
    const QHeaderView* top = horizontalHeader();
    QRect cell;
    if (row == 0 && col == 0) return m_corner->geometry();
    if (row == 0) {
        const int x = top->sectionViewportPosition(col - 1);
        cell =
            QRect(area.left() + x, top->geometry().top(), top->sectionSize(col - 1), top->height());
        if (cell.left() < area.left() || cell.right() > area.right()) return std::nullopt;
        return cell;
    }
    if (col == 0) {
        const int y = m_names->sectionViewportPosition(row - 1);
        cell = QRect(m_names->geometry().left(), area.top() + y, m_names->width(),
                     m_names->sectionSize(row - 1));
        if (cell.top() < area.top() || cell.bottom() > area.bottom()) return std::nullopt;
        return cell;
    }
    const QModelIndex i = m_model->indexOf(row, col);
    if (!i.isValid()) return std::nullopt;
    cell = visualRect(i).translated(area.topLeft());
    if (!area.contains(cell)) return std::nullopt;
    return cell;
}
