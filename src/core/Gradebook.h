#pragma once

#include "CellSpan.h"
#include "Records.h"

#include <QObject>
#include <QString>

#include <array>
#include <vector>

// The one open document: the grade table of cell texts (row 0 = "Name", "Total" and the test
// names; column 0 = student names; column 1 = totals) with the records kept in step with it.
// Every change goes through a method, which tells the views what changed.
class Gradebook : public QObject {
    Q_OBJECT
public:
    explicit Gradebook(QObject* parent = nullptr);

    // Table shape.
    int rowCount() const { return m_rows; }
    int columnCount() const { return m_cols; }
    int studentCount() const { return m_rows - 1; }
    int testCount() const { return m_cols - 2; }
    bool contains(int row, int col) const {
        return row >= 0 && row < m_rows && col >= 0 && col < m_cols;
    }
    // Resizes the table, keeping the cells that fit; new rows and columns get the default
    // height and width, and the record arrays grow to cover the table (new students blank,
    // with every score counted).
    void setShape(int rows, int cols);

    // Cell texts. Reading outside the table gives the empty text; writing there is ignored.
    // While header editing is on, a write goes to the header of the given row or column.
    QString GetCellText(int row, int col) const;
    void SetCellText(int row, int col, const QString& text);
    // The same for a text whose number, CellValue(text), the caller already knows.
    void SetCellText(int row, int col, const QString& text, double value);
    // The same from a view, allocating only when the cell's text changes.
    void SetCellText(int row, int col, QStringView text);
    // Unchecked read for the inner loops of the calculations.
    const QString& cell(int row, int col) const {
        return m_cells[std::size_t(row * m_cols + col)].text;
    }
    // The number of a cell, CellValue of its text, kept with it because the calculations read
    // every score many times.
    double cellValue(int row, int col) const {
        return m_cells[std::size_t(row * m_cols + col)].value;
    }

    // Records. StudentOf(row) belongs to table row row (>= 1), TestOf(col) to column col (>= 1).
    StudentRecord& StudentOf(int row) { return m_students[std::size_t(row - 1)]; }
    const StudentRecord& StudentOf(int row) const { return m_students[std::size_t(row - 1)]; }
    TestRecord& TestOf(int col) { return m_tests[std::size_t(col - 1)]; }
    const TestRecord& TestOf(int col) const { return m_tests[std::size_t(col - 1)]; }
    TestRecord& totalSetup() { return m_tests[0]; }
    const TestRecord& totalSetup() const { return m_tests[0]; }
    std::vector<StudentRecord>& students() { return m_students; }
    const std::vector<StudentRecord>& students() const { return m_students; }
    std::vector<TestRecord>& tests() { return m_tests; }
    const std::vector<TestRecord>& tests() const { return m_tests; }

    // Whether the score of (row, col), col >= 2, counts for the student.
    bool isIncluded(int row, int col) const {
        return StudentOf(row).includeFlags.unit(col - 2) == u'1';
    }
    void setIncluded(int row, int col, bool included);

    ImportanceSet& importanceSet() { return m_importance; }
    const ImportanceSet& importanceSet() const { return m_importance; }
    std::array<GradeScale, 2>& totalScales() { return m_totalScales; }
    const std::array<GradeScale, 2>& totalScales() const { return m_totalScales; }
    SecurityRules& security() { return m_security; }
    const SecurityRules& security() const { return m_security; }
    ViewState& view() { return m_view; }
    const ViewState& view() const { return m_view; }
    int nextTestNumber() const { return m_nextTestNumber; }
    void setNextTestNumber(int n) { m_nextTestNumber = n; }

    // Lengths in twips.
    int columnWidth(int col) const { return m_colWidths[std::size_t(col)]; }
    int rowHeight(int row) const { return m_rowHeights[std::size_t(row)]; }
    void setColumnWidth(int col, int twips);
    void setRowHeight(int row, int twips);

    // Run-time state, not saved with the document.
    bool isModified() const { return m_modified; }
    void MarkModified();
    void setModified(bool modified);
    bool panelUpdating() const { return m_panelUpdating; }
    void setPanelUpdating(bool on) { m_panelUpdating = on; }
    HeaderEditing headerEditing() const { return m_headerEditing; }
    void setHeaderEditing(HeaderEditing h) { m_headerEditing = h; }
    QString fileName() const { return m_fileName; }
    void setFileName(const QString& path) { m_fileName = path; }
    // The password last given in this run; equal to the password means unlocked.
    QString acceptedPassword() const { return m_acceptedPassword; }
    void setAcceptedPassword(const QString& text) { m_acceptedPassword = text; }

    // Structural edits that keep cells, widths, records and include flags in step.
    // Inserts a column at col (>= 2) holding a test; the new column's cells are empty and every
    // student's include flag for it is "1".
    void insertTestColumn(int col, const TestRecord& record, const QString& name, int width);
    void removeTestColumns(int first, int count);
    // Inserts a student row at `row` (>= 1) holding `record` and the name `name`; the rows from
    // there on move down with their records.
    void insertStudentRow(int row, const StudentRecord& record, const QString& name);
    void removeStudentRows(int first, int count);
    // Moves rows 1.. / columns 2.. into a new order (column widths stay by position): order[i] is
    // the old index of new index i, for the student rows (order covers rows 1 .. R-1) or test
    // columns (2 .. C-1).
    void reorderStudents(const std::vector<int>& oldRowOfNewRow);
    void reorderTests(const std::vector<int>& oldColumnOfNewColumn);

    // Groups many cell writes into one change notice.
    class BatchUpdate {
    public:
        explicit BatchUpdate(Gradebook& book) : m_book(book) { ++m_book.m_batchDepth; }
        ~BatchUpdate() { m_book.endBatch(); }
        BatchUpdate(const BatchUpdate&) = delete;
        BatchUpdate& operator=(const BatchUpdate&) = delete;

    private:
        Gradebook& m_book;
    };

    // Switches header editing off for a scope; calculations write with it off.
    class HeaderEditingOff {
    public:
        explicit HeaderEditingOff(Gradebook& book) : m_book(book), m_saved(book.m_headerEditing) {
            book.m_headerEditing = HeaderEditing::Off;
        }
        ~HeaderEditingOff() { m_book.m_headerEditing = m_saved; }
        HeaderEditingOff(const HeaderEditingOff&) = delete;
        HeaderEditingOff& operator=(const HeaderEditingOff&) = delete;

    private:
        Gradebook& m_book;
        HeaderEditing m_saved;
    };

signals:
    void cellsChanged(int top, int left, int bottom, int right);
    void aboutToReshape();
    void reshaped();
    void geometryChanged();
    void modifiedChanged(bool modified);

public:
    // A cell: its text and that text's number.
    struct Cell {
        QString text;
        double value = 0;
        void assign(const QString& t);
        void assign(const QString& t, double v);
    };

private:
    friend class History; // takes the document's content as it is and puts it back
    // The cell a write to (row, col) goes to under header editing, moved there; null outside.
    Cell* writableCell(int& row, int& col);
    void noteChanged(int row, int col);
    void endBatch();
    void ensureRecords();

    int m_rows = 0;
    int m_cols = 0;
    std::vector<Cell> m_cells;
    std::vector<int> m_colWidths;
    std::vector<int> m_rowHeights;
    std::vector<StudentRecord> m_students;
    std::vector<TestRecord> m_tests;
    ImportanceSet m_importance;
    std::array<GradeScale, 2> m_totalScales;
    SecurityRules m_security;
    ViewState m_view;
    int m_nextTestNumber = 0;

    bool m_modified = false;
    bool m_panelUpdating = false;
    HeaderEditing m_headerEditing = HeaderEditing::Off;
    QString m_fileName;
    QString m_acceptedPassword;

    int m_batchDepth = 0;
    CellSpan m_dirty; // the cells a batch has changed so far
};
