#include "Gradebook.h"

#include "NewGradebook.h"
#include "NumberText.h"

#include <algorithm>

Gradebook::Gradebook(QObject* parent) : QObject(parent) {
    setShape(2, 2);
}

void Gradebook::setShape(int rows, int cols) {
    rows = std::max(rows, 1);
    cols = std::max(cols, 2);
    emit aboutToReshape();
    const int oldRows = m_rows;
    if (cols != m_cols || rows != m_rows) {
        std::vector<Cell> cells(std::size_t(rows) * std::size_t(cols));
        const int keepRows = std::min(rows, m_rows);
        const int keepCols = std::min(cols, m_cols);
        for (int r = 0; r < keepRows; ++r)
            for (int c = 0; c < keepCols; ++c)
                cells[std::size_t(r * cols + c)] = std::move(m_cells[std::size_t(r * m_cols + c)]);
        m_cells = std::move(cells);
        m_rows = rows;
        m_cols = cols;
    }
    m_colWidths.resize(std::size_t(cols), Limits::DefaultColumnWidth);
    m_rowHeights.resize(std::size_t(rows), Limits::DefaultRowHeight);
    ensureRecords();
    // Rows the table grows by hold new students (blank, every score counted), never the
    // records of students removed earlier by a shrink.
    for (int r = std::max(oldRows, 1); r < rows; ++r)
        m_students[std::size_t(r - 1)] = NewStudentRecord();
    m_dirty.clear(); // the reshape repaints everything
    emit reshaped();
}

void Gradebook::ensureRecords() {
    if (m_tests.size() < std::size_t(m_cols - 1)) m_tests.resize(std::size_t(m_cols - 1));
    if (m_students.size() < std::size_t(m_rows - 1)) m_students.resize(std::size_t(m_rows - 1));
}

QString Gradebook::GetCellText(int row, int col) const {
    return contains(row, col) ? cell(row, col) : QString();
}

void Gradebook::Cell::assign(const QString& t) {
    assign(t, CellValue(t));
}

void Gradebook::Cell::assign(const QString& t, double v) {
    text = t;
    value = v;
}

Gradebook::Cell* Gradebook::writableCell(int& row, int& col) {
    if (m_headerEditing == HeaderEditing::StudentNames)
        col = 0;
    else if (m_headerEditing == HeaderEditing::TestNames)
        row = 0;
    return contains(row, col) ? &m_cells[std::size_t(row * m_cols + col)] : nullptr;
}

void Gradebook::SetCellText(int row, int col, const QString& text) {
    Cell* slot = writableCell(row, col);
    if (!slot || slot->text == text) return;
    slot->assign(text);
    noteChanged(row, col);
}

void Gradebook::SetCellText(int row, int col, const QString& text, double value) {
    Cell* slot = writableCell(row, col);
    if (!slot || (slot->text.size() == text.size() && slot->text == text)) return;
    slot->assign(text, value);
    noteChanged(row, col);
}

void Gradebook::SetCellText(int row, int col, QStringView text) {
    Cell* slot = writableCell(row, col);
    if (!slot || slot->text == text) return;
    slot->assign(text.toString());
    noteChanged(row, col);
}

void Gradebook::noteChanged(int row, int col) {
    if (m_batchDepth == 0) {
        emit cellsChanged(row, col, row, col);
        return;
    }
    m_dirty.add(row, col, row, col);
}

void Gradebook::endBatch() {
    if (--m_batchDepth > 0 || m_dirty.empty()) return;
    const CellSpan changed = m_dirty;
    m_dirty.clear();
    emit cellsChanged(changed.top, changed.left, changed.bottom, changed.right);
}

void Gradebook::setIncluded(int row, int col, bool included) {
    StudentOf(row).includeFlags.set(col - 2, included ? QChar(u'1') : QChar(u'0'));
}

void Gradebook::setColumnWidth(int col, int twips) {
    if (col < 0 || col >= m_cols || m_colWidths[std::size_t(col)] == twips) return;
    m_colWidths[std::size_t(col)] = twips;
    emit geometryChanged();
}

void Gradebook::setRowHeight(int row, int twips) {
    if (row < 0 || row >= m_rows || m_rowHeights[std::size_t(row)] == twips) return;
    m_rowHeights[std::size_t(row)] = twips;
    emit geometryChanged();
}

void Gradebook::MarkModified() {
    if (!m_panelUpdating) setModified(true);
}

void Gradebook::setModified(bool modified) {
    if (m_modified == modified) return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

void Gradebook::insertTestColumn(int col, const TestRecord& record, const QString& name,
                                 int width) {
    col = std::clamp(col, 2, m_cols);
    const int oldCols = m_cols;
    emit aboutToReshape();
    std::vector<Cell> cells(std::size_t(m_rows) * std::size_t(oldCols + 1));
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < oldCols; ++c)
            cells[std::size_t(r * (oldCols + 1) + (c < col ? c : c + 1))] =
                std::move(m_cells[std::size_t(r * oldCols + c)]);
    m_cells = std::move(cells);
    m_cols = oldCols + 1;
    m_cells[std::size_t(col)].assign(name);
    m_colWidths.insert(m_colWidths.begin() + col, width);
    ensureRecords();
    // Records after the insertion point move one place right.
    std::move_backward(m_tests.begin() + (col - 1), m_tests.begin() + (oldCols - 1),
                       m_tests.begin() + oldCols);
    m_tests[std::size_t(col - 1)] = record;
    // Include flag k-1 belongs to test k (column k+1): insert "1" at col-2.
    const int at = col - 2;
    for (auto& s : m_students) {
        char16_t* f = s.includeFlags.data();
        std::move_backward(f + at, f + Limits::MaxTests - 1, f + Limits::MaxTests);
        f[at] = u'1';
    }
    m_dirty.clear();
    emit reshaped();
}

void Gradebook::removeTestColumns(int first, int count) {
    first = std::max(first, 2);
    count = std::min(count, m_cols - first);
    if (count <= 0) return;
    const int newCols = m_cols - count;
    emit aboutToReshape();
    std::vector<Cell> cells(std::size_t(m_rows) * std::size_t(newCols));
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_cols; ++c) {
            if (c >= first && c < first + count) continue;
            const int to = c < first ? c : c - count;
            cells[std::size_t(r * newCols + to)] = std::move(m_cells[std::size_t(r * m_cols + c)]);
        }
    m_cells = std::move(cells);
    m_colWidths.erase(m_colWidths.begin() + first, m_colWidths.begin() + first + count);
    m_tests.erase(m_tests.begin() + (first - 1), m_tests.begin() + (first - 1 + count));
    const int at = first - 2;
    for (auto& s : m_students) {
        char16_t* f = s.includeFlags.data();
        std::move(f + at + count, f + Limits::MaxTests, f + at);
        std::fill(f + Limits::MaxTests - count, f + Limits::MaxTests, u' ');
    }
    m_cols = newCols;
    ensureRecords();
    m_dirty.clear();
    emit reshaped();
}

void Gradebook::insertStudentRow(int row, const StudentRecord& record, const QString& name) {
    row = std::clamp(row, 1, m_rows);
    emit aboutToReshape();
    m_cells.insert(m_cells.begin() + std::ptrdiff_t(row) * m_cols, std::size_t(m_cols), Cell());
    m_cells[std::size_t(row * m_cols)].assign(name);
    m_rowHeights.insert(m_rowHeights.begin() + row, Limits::DefaultRowHeight);
    ++m_rows;
    ensureRecords();
    std::move_backward(m_students.begin() + (row - 1), m_students.begin() + (m_rows - 2),
                       m_students.begin() + (m_rows - 1));
    m_students[std::size_t(row - 1)] = record;
    m_dirty.clear();
    emit reshaped();
}

void Gradebook::removeStudentRows(int first, int count) {
    first = std::max(first, 1);
    count = std::min(count, m_rows - first);
    if (count <= 0) return;
    emit aboutToReshape();
    const auto at = m_cells.begin() + std::ptrdiff_t(first) * m_cols;
    m_cells.erase(at, at + std::ptrdiff_t(count) * m_cols);
    m_rowHeights.erase(m_rowHeights.begin() + first, m_rowHeights.begin() + first + count);
    m_students.erase(m_students.begin() + (first - 1), m_students.begin() + (first - 1 + count));
    m_rows -= count;
    ensureRecords();
    m_dirty.clear();
    emit reshaped();
}

void Gradebook::reorderStudents(const std::vector<int>& oldRowOfNewRow) {
    // Cells are moved, not copied: a copy of every cell text would touch every string.
    std::vector<Cell> cells = std::move(m_cells);
    m_cells.resize(cells.size());
    for (int c = 0; c < m_cols; ++c)
        m_cells[std::size_t(c)] = std::move(cells[std::size_t(c)]);
    const std::vector<StudentRecord> students = m_students;
    for (int newRow = 1; newRow < m_rows; ++newRow) {
        const int oldRow = oldRowOfNewRow[std::size_t(newRow - 1)];
        std::move(cells.begin() + std::ptrdiff_t(oldRow) * m_cols,
                  cells.begin() + std::ptrdiff_t(oldRow + 1) * m_cols,
                  m_cells.begin() + std::ptrdiff_t(newRow) * m_cols);
        m_students[std::size_t(newRow - 1)] = students[std::size_t(oldRow - 1)];
    }
    if (m_rows > 1) {
        BatchUpdate batch(*this);
        noteChanged(1, 0);
        noteChanged(m_rows - 1, m_cols - 1);
    }
}

void Gradebook::reorderTests(const std::vector<int>& oldColumnOfNewColumn) {
    if (m_cols <= 2) return;
    std::vector<Cell> cells = std::move(m_cells);
    m_cells.resize(cells.size());
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < 2; ++c)
            m_cells[std::size_t(r * m_cols + c)] = std::move(cells[std::size_t(r * m_cols + c)]);
    const std::vector<TestRecord> tests = m_tests;
    const int n = m_cols - 2;
    for (int newCol = 2; newCol < m_cols; ++newCol) {
        const int oldCol = oldColumnOfNewColumn[std::size_t(newCol - 2)];
        for (int r = 0; r < m_rows; ++r)
            m_cells[std::size_t(r * m_cols + newCol)] =
                std::move(cells[std::size_t(r * m_cols + oldCol)]);
        m_tests[std::size_t(newCol - 1)] = tests[std::size_t(oldCol - 1)];
    }
    for (auto& s : m_students) {
        const auto flags = s.includeFlags;
        for (int newCol = 2; newCol < 2 + n; ++newCol)
            s.includeFlags.set(newCol - 2,
                               flags.at(oldColumnOfNewColumn[std::size_t(newCol - 2)] - 2));
    }
    BatchUpdate batch(*this);
    noteChanged(0, 2);
    noteChanged(m_rows - 1, m_cols - 1);
}
