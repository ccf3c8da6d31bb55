#pragma once

#include "core/Gradebook.h"

#include <QSet>
#include <QString>
#include <QStringView>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <vector>

// Formats the score cells of one column: the entry padded to seven characters, the grade in
// parentheses on graded tests, and "x" where the student's score is ignored.
class CellFormatter {
public:
    // A cell's text under construction, kept off the heap: this runs for every cell of a
    // recalculation.
    class Text {
    public:
        void add(QStringView s) {
            if (m_long.isNull() && m_size + s.size() <= Inline) {
                std::copy_n(s.utf16(), s.size(), m_units.begin() + m_size);
                m_size += s.size();
            } else {
                spill();
                m_long += s;
            }
        }
        void padTo(int width) {
            while (view().size() < width)
                add(u" ");
        }
        QStringView view() const {
            return m_long.isNull() ? QStringView(m_units.data(), m_size) : QStringView(m_long);
        }
        QString toString() const { return view().toString(); }

    private:
        static constexpr qsizetype Inline = 48;
        void spill() {
            if (m_long.isNull()) m_long = view().toString();
        }
        std::array<char16_t, Inline> m_units;
        qsizetype m_size = 0;
        QString m_long; // a text too long for the array, such as a long typed entry
    };

    CellFormatter(const Gradebook& book, int col);
    QString format(int row, const QString& entry) const;
    // As format(), for an entry whose number is already known.
    QString formatValue(int row, const QString& entry, double value) const;
    // As formatValue(), for a cell whose ignore flag is given.
    QString formatFor(bool ignored, const QString& entry, double value) const;
    // Whether the cell of `row` is ignored, which shows as its "x".
    bool ignoredAt(int row) const { return ignoredAt(row, m_col); }
    bool ignoredAt(int row, int col) const { return col >= 2 && !m_book.isIncluded(row, col); }
    // Whether `other`, of a column of the same gradebook, gives each entry the same text.
    bool formatsLike(const CellFormatter& other) const;
    // The text of a grade step in the current display mode; empty for -1.
    QString gradeText(int index) const;

private:
    // As formatFor(), appending to `out`, which starts empty.
    void formatInto(Text& out, bool ignored, QStringView entry, double value) const;

    const Gradebook& m_book;
    int m_col;
    const TestRecord& m_test;
    DisplayMode m_mode;
    bool m_showTotal;
    std::vector<QString> m_gradeTexts;
};

// The formatted score cells of one column by their number: a class repeats the same few
// scores, so each text is built once and the cells share it.
class ColumnTexts {
public:
    struct Cell {
        QString text;
        double value; // CellValue(text)
    };
    // Texts made for one column are looked up in `shared`, when given, so that equal texts of
    // different columns are one string too.
    ColumnTexts(const Gradebook& book, int col, QSet<QString>* shared = nullptr);
    // The cell of the number `v` entered in `row` in the general format.
    const Cell& ofValue(int row, double v);
    // The cell of a score read from a file, where -1 stands for an empty score, in `row` of
    // `col`: this column or one that formats like it.
    const Cell& ofStored(int row, int col, float stored);
    // Whether the column of `formatter` formats its cells as this one does, so it can take them.
    bool formatsLike(const CellFormatter& formatter) const {
        return m_formatter.formatsLike(formatter);
    }

private:
    // The cells made so far for one kind of number and one ignore flag, found by the
    // number's bits: open addressing with a multiplicative hash, as a lookup runs per cell.
    class Table {
    public:
        const Cell* find(std::uint64_t key) const;
        const Cell& add(std::uint64_t key, Cell cell);

    private:
        struct Slot {
            std::uint64_t key = 0;
            std::int32_t index = -1;
        };
        std::size_t slotOf(std::uint64_t key) const;
        std::size_t probeFree(std::uint64_t key) const;
        std::vector<Slot> m_slots; // none until the first cell: most tables stay unused
        std::vector<Cell> m_cells;
    };
    template <typename Build>
    const Cell& remembered(int kind, bool ignored, std::uint64_t key, const Build& build);

    CellFormatter m_formatter;
    QSet<QString>* m_shared;
    Table m_cells[2][2]; // [kind][ignored]
};

QString GradeText(const Gradebook& book, int col, int index);
QString FormatScoreCell(const Gradebook& book, int row, int col, const QString& entry);

// The student's weighted total in percent under the averaging rule. Tests whose group no
// longer exists are moved to group 0 on the way, and each group's testCount is left holding
// this student's counts.
float RowTotal(Gradebook& book, int row);
// What the score of (row, col) counts for in that total, in percent: its share of the maximum,
// or under the grades rule its grade's value's share of the best grade's value.
double PartOfTotal(const Gradebook& book, int row, int col);
void UpdateRowTotal(Gradebook& book, int row);
// Re-formats every score of a column, then every total.
void RecalcColumn(Gradebook& book, int col);
// The same for columns first ... last, with the totals recalculated once.
void RecalcColumns(Gradebook& book, int first, int last);
void RecalcTotals(Gradebook& book);
// Re-formats every score of every test, then every total.
void RecalcAll(Gradebook& book);

// "Average Normalized Scores" is any non-zero rule value, "Average Normalized Grades" zero.
bool UsesScoresRule(const Gradebook& book);
// Switches the averaging rule, swapping in the Total scale remembered for the new rule, and
// recalculates the totals. Choosing the rule already in force changes nothing.
bool SetAveragingRule(Gradebook& book, bool scores);
