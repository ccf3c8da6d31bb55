#include "GradeTableView.h"

#include "GradeTableModel.h"
#include "NameHeader.h"
#include "ScoreCellDelegate.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>

#include <cmath>

namespace {
// Narrower than this, a cell at the edge of the table is too little to type into.
constexpr int MinimumVisibleWidth = 24;
// Room above and below a line of text in a row.
constexpr int RowPadding = 2;
} // namespace

GradeTableView::GradeTableView(Gradebook& book, QWidget* parent)
    : QTableView(parent), m_book(book), m_model(new GradeTableModel(book, this)),
      m_names(new NameHeader(this)), m_corner(new QLabel(this)) {
    setObjectName(QStringLiteral("Grid1"));
    setAccessibleName(tr("Grades"));
    setAccessibleDescription(tr("Students in rows, their totals, then one column a test"));
    setVerticalHeader(m_names);
    setModel(m_model);
    setCornerButtonEnabled(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Whole cells at the top and left edge, each beside its own name and heading.
    setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setItemDelegate(new ScoreCellDelegate(this));
    setTabKeyNavigation(false);
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
                if (!m_applyingGeometry)
                    m_book.setColumnWidth(section + 1, pixelsToTwips(unscaled(pixels)));
            });
    connect(m_names, &QHeaderView::sectionResized, this, [this](int section, int, int pixels) {
        if (!m_applyingGeometry) m_book.setRowHeight(section + 1, pixelsToTwips(pixels));
    });
    connect(m_names, &NameHeader::columnWidthDragged, this,
            [this](int pixels) { m_book.setColumnWidth(0, pixelsToTwips(unscaled(pixels))); });
    connect(&book, &Gradebook::reshaped, this, &GradeTableView::applyDocumentGeometry);
    connect(&book, &Gradebook::geometryChanged, this, &GradeTableView::applyDocumentGeometry);
    connect(&book, &Gradebook::cellsChanged, this, [this](int top, int left, int, int) {
        if (top == 0 && left == 0) m_corner->setText(m_book.GetCellText(0, 0));
    });
    // A longer test name may need a wider column.
    connect(m_model, &QAbstractItemModel::headerDataChanged, this,
            [this](Qt::Orientation orientation, int first, int last) {
                if (orientation == Qt::Horizontal) fitColumns(first + 1, last + 1);
            });
    // The headers may get a font of their own; rows and columns then fit it.
    horizontalHeader()->installEventFilter(this);
    m_names->installEventFilter(this);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &GradeTableView::scrolled);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &GradeTableView::scrolled);
    applyDocumentGeometry();
}

void GradeTableView::keyPressEvent(QKeyEvent* event) {
    // Left to the item view, a key would move the current cell by content or position behind
    // the editor's back; every key goes through the window's own commands instead.
    emit keyTyped(event);
    event->accept();
}

int GradeTableView::twipsToPixels(int twips) const {
    return twips * logicalDpiX() / 1440;
}

int GradeTableView::pixelsToTwips(int pixels) const {
    return pixels * 1440 / std::max(1, logicalDpiX());
}

int GradeTableView::minimumRowHeight(const QHeaderView* header) const {
    return std::max(fontMetrics().lineSpacing(), header->fontMetrics().lineSpacing()) +
           2 * RowPadding;
}

double GradeTableView::fontScale() const {
    // Stored widths suit the standard font; a larger table font widens every column alike, so
    // scores and grades keep their room.
    const double standard = QFontMetricsF(QApplication::font()).averageCharWidth();
    return std::max(1.0, QFontMetricsF(font()).averageCharWidth() / std::max(1.0, standard));
}

int GradeTableView::unscaled(int pixels) const {
    return int(std::lround(pixels / fontScale()));
}

int GradeTableView::shownColumnWidth(int col) const {
    const int heading =
        col == 0 ? m_corner->sizeHint().width() : horizontalHeader()->sectionSizeHint(col - 1);
    return std::max(int(std::lround(twipsToPixels(m_book.columnWidth(col)) * fontScale())),
                    heading);
}

void GradeTableView::applyDocumentGeometry() {
    // The document's lengths, made large enough for the font; the document keeps its own
    // until the user drags a border.
    m_applyingGeometry = true;
    m_corner->setText(m_book.GetCellText(0, 0));
    m_names->setColumnWidth(shownColumnWidth(0));
    horizontalHeader()->setFixedHeight(
        std::max(twipsToPixels(m_book.rowHeight(0)), minimumRowHeight(horizontalHeader())));
    const int minimumHeight = minimumRowHeight(m_names);
    for (int r = 1; r < m_book.rowCount(); ++r) {
        const int height = std::max(twipsToPixels(m_book.rowHeight(r)), minimumHeight);
        if (m_names->sectionSize(r - 1) != height) m_names->resizeSection(r - 1, height);
    }
    m_applyingGeometry = false;
    fitColumns(1, m_book.columnCount() - 1);
    updateGeometries();
}

void GradeTableView::fitColumns(int first, int last) {
    m_applyingGeometry = true;
    for (int c = std::max(first, 1); c <= last && c < m_book.columnCount(); ++c)
        if (const int width = shownColumnWidth(c); horizontalHeader()->sectionSize(c - 1) != width)
            horizontalHeader()->resizeSection(c - 1, width);
    m_applyingGeometry = false;
}

void GradeTableView::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) applyDocumentGeometry();
}

bool GradeTableView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FontChange &&
        (watched == horizontalHeader() || watched == m_names))
        applyDocumentGeometry();
    return QTableView::eventFilter(watched, event);
}

void GradeTableView::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, dy);
    alignToCells();
}

void GradeTableView::alignToCells() {
    // At the end of its range the item view lines the last cell up with the far edge, which
    // cuts into the first one seen; a gap after the last cell is the smaller harm.
    const auto align = [](QHeaderView* header, const QScrollBar* bar) {
        if (header->count() == 0) return 0;
        const int first = header->logicalIndex(std::min(bar->value(), header->count() - 1));
        const int shift = header->offset() - header->sectionPosition(first);
        if (shift != 0) header->setOffset(header->sectionPosition(first));
        return shift;
    };
    const int dx = align(horizontalHeader(), horizontalScrollBar());
    const int dy = align(verticalHeader(), verticalScrollBar());
    if (dx != 0 || dy != 0) viewport()->scroll(dx, dy);
}

void GradeTableView::updateGeometries() {
    QTableView::updateGeometries();
    alignToCells();
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
    if (row == 0 && col == 0) return m_corner->geometry();
    QRect cell;
    if (row == 0) {
        cell = QRect(area.left() + top->sectionViewportPosition(col - 1), top->geometry().top(),
                     top->sectionSize(col - 1), top->height());
    } else if (col == 0) {
        cell = QRect(m_names->geometry().left(),
                     area.top() + m_names->sectionViewportPosition(row - 1), m_names->width(),
                     m_names->sectionSize(row - 1));
    } else {
        const QModelIndex i = m_model->indexOf(row, col);
        if (!i.isValid()) return std::nullopt;
        cell = visualRect(i).translated(area.topLeft());
    }
    // A cell wider than the table is shown by its visible part; one cut off at the top or
    // bottom, or with too little of it in view to type into, counts as out of sight.
    const QRect visible(QPoint(std::max(cell.left(), area.left()), cell.top()),
                        QPoint(std::min(cell.right(), area.right()), cell.bottom()));
    if (row != 0 && (cell.top() < area.top() || cell.bottom() > area.bottom())) return std::nullopt;
    if (col == 0) return cell; // the names stay beside the scrolled cells
    if (visible.width() < std::min(cell.width(), MinimumVisibleWidth)) return std::nullopt;
    return visible;
}

CellBlock GradeTableView::selectionBlock() const {
    const QItemSelection selection = selectionModel()->selection();
    if (selection.isEmpty()) return {currentRow(), currentColumn(), currentRow(), currentColumn()};
    CellBlock block{INT_MAX, INT_MAX, 0, 0};
    for (const QItemSelectionRange& range : selection) {
        block.top = std::min(block.top, range.top() + 1);
        block.left = std::min(block.left, range.left() + 1);
        block.bottom = std::max(block.bottom, range.bottom() + 1);
        block.right = std::max(block.right, range.right() + 1);
    }
    return block;
}

bool GradeTableView::wholeColumnsSelected() const {
    const QItemSelection selection = selectionModel()->selection();
    for (const QItemSelectionRange& range : selection)
        if (range.bottom() - range.top() >= m_book.rowCount() - 2) return true;
    return false;
}

bool GradeTableView::wholeRowsSelected() const {
    const QItemSelection selection = selectionModel()->selection();
    for (const QItemSelectionRange& range : selection)
        if (range.right() - range.left() >= m_book.columnCount() - 2) return true;
    return false;
}

// The document indices the selection's ranges cover along one axis, in order; read from the
// ranges, which stay few however many cells are selected.
static QList<int> coveredIndices(const QItemSelection& selection, bool columns, int count,
                                 int from) {
    std::vector<bool> covered(std::size_t(std::max(count, 0)), false);
    for (const QItemSelectionRange& range : selection) {
        const int first = (columns ? range.left() : range.top()) + 1;
        const int last = (columns ? range.right() : range.bottom()) + 1;
        for (int i = std::max(first, from); i <= last && i < count; ++i)
            covered[std::size_t(i)] = true;
    }
    QList<int> indices;
    for (int i = from; i < count; ++i)
        if (covered[std::size_t(i)]) indices << i;
    return indices;
}

QList<int> GradeTableView::selectedTestColumns() const {
    QList<int> columns =
        coveredIndices(selectionModel()->selection(), true, m_book.columnCount(), 2);
    if (columns.isEmpty() && currentColumn() >= 2) columns << currentColumn();
    return columns;
}

QList<int> GradeTableView::selectedRows() const {
    QList<int> rows = coveredIndices(selectionModel()->selection(), false, m_book.rowCount(), 1);
    if (rows.isEmpty()) rows << currentRow();
    return rows;
}
