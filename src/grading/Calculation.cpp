#include "Calculation.h"

#include "Importance.h"
#include "Scale.h"
#include "core/NumberText.h"
#include "core/SharedTextCache.h"

namespace {

constexpr int ScoreFieldWidth = 7;
constexpr int IgnoredFieldWidth = 8;

} // namespace

CellFormatter::CellFormatter(const Gradebook& book, int col)
    : m_book(book), m_col(col), m_test(book.TestOf(col)), m_mode(book.view().displayMode),
      m_showTotal(book.view().showTotalScores) {
    const GradeScale& scale = m_test.scale;
    for (int i = 0; i < scale.used(); ++i) {
        const ScaleStep& step = scale.steps[std::size_t(i)];
        m_gradeTexts.push_back(m_mode == DisplayMode::Numbers ? FormatTwoDecimals(step.value)
                                                              : step.grade.text());
    }
}

QString CellFormatter::gradeText(int index) const {
    if (index < 0 || index >= int(m_gradeTexts.size())) return {};
    return m_gradeTexts[std::size_t(index)];
}

QString CellFormatter::format(int row, const QString& entry) const {
    return formatValue(row, entry, ReadLeadingNumber(entry));
}

QString CellFormatter::formatValue(int row, const QString& entry, double v) const {
    return formatFor(ignoredAt(row), entry, v);
}

QString CellFormatter::formatFor(bool ignored, const QString& entry, double v) const {
    if (m_test.calculateGrades == 0 && !ignored) return entry; // shares the entry's text
    Text text;
    formatInto(text, ignored, entry, v);
    return text.toString();
}

bool CellFormatter::formatsLike(const CellFormatter& other) const {
    return &m_book == &other.m_book && (m_col == 1) == (other.m_col == 1) &&
           m_test.maxScore == other.m_test.maxScore &&
           m_test.calculateGrades == other.m_test.calculateGrades &&
           m_test.scale == other.m_test.scale;
}

void CellFormatter::formatInto(Text& text, bool ignored, QStringView entry, double v) const {
    if (m_test.calculateGrades == 0) {
        text.add(entry);
    } else if (!entry.isEmpty() && v > 0) {
        QString percent;
        QStringView grade;
        if (m_mode == DisplayMode::PercentOfMax) {
            const double q = m_test.maxScore > 0 ? RoundHalfUp(v / m_test.maxScore * 100, 0) : 0;
            if (q > 0 && q <= 100) grade = percent = FormatWholeOrEmpty(q) + u'%';
        } else if (const int index = GradeIndex(m_test, float(v));
                   index >= 0 && index < int(m_gradeTexts.size())) {
            grade = m_gradeTexts[std::size_t(index)];
        }
        if (!grade.isEmpty()) {
            if (m_col != 1) {
                text.add(entry);
            } else if (m_mode == DisplayMode::PercentOfMax) {
                text.add(entry); // a total in % of MAX is its percentage alone
                text.add(u"%");
                return;
            } else if (m_showTotal) {
                text.add(entry);
                text.add(u"%");
            }
            text.padTo(ScoreFieldWidth);
            text.add(u"(");
            text.add(grade);
            text.add(u")");
        }
    }
    if (ignored) {
        text.padTo(IgnoredFieldWidth);
        text.add(u"x");
    }
}

ColumnTexts::ColumnTexts(const Gradebook& book, int col, QSet<QString>* shared)
    : m_formatter(book, col), m_shared(shared) {}

std::size_t ColumnTexts::Table::slotOf(std::uint64_t key) const {
    const int bits = std::countr_zero(m_slots.size());
    return std::size_t((key * 0x9E3779B97F4A7C15ull) >> (64 - bits));
}

const ColumnTexts::Cell* ColumnTexts::Table::find(std::uint64_t key) const {
    if (m_slots.empty()) return nullptr;
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = slotOf(key);; i = (i + 1) & mask) {
        const Slot& s = m_slots[i];
        if (s.index < 0) return nullptr;
        if (s.key == key) return &m_cells[std::size_t(s.index)];
    }
}

std::size_t ColumnTexts::Table::probeFree(std::uint64_t key) const {
    const std::size_t mask = m_slots.size() - 1;
    std::size_t i = slotOf(key);
    while (m_slots[i].index >= 0)
        i = (i + 1) & mask;
    return i;
}

const ColumnTexts::Cell& ColumnTexts::Table::add(std::uint64_t key, Cell cell) {
    if (m_cells.size() >= 4096) { // a column of many different scores: start again
        m_cells.clear();
        std::ranges::fill(m_slots, Slot{});
    }
    if (2 * (m_cells.size() + 1) > m_slots.size()) { // keep at most half the slots in use
        std::vector<Slot> old(std::max<std::size_t>(64, 2 * m_slots.size()));
        old.swap(m_slots);
        for (const Slot& s : old)
            if (s.index >= 0) m_slots[probeFree(s.key)] = s;
    }
    m_slots[probeFree(key)] = {key, std::int32_t(m_cells.size())};
    m_cells.push_back(std::move(cell));
    return m_cells.back();
}

template <typename Build>
const ColumnTexts::Cell& ColumnTexts::remembered(int kind, bool ignored, std::uint64_t key,
                                                 const Build& build) {
    Table& cells = m_cells[kind][ignored ? 1 : 0];
    if (const Cell* found = cells.find(key)) return *found;
    QString text = build();
    if (m_shared) text = *m_shared->insert(text);
    const double value = CellValue(text);
    return cells.add(key, Cell{std::move(text), value});
}

const ColumnTexts::Cell& ColumnTexts::ofValue(int row, double v) {
    const bool ignored = m_formatter.ignoredAt(row);
    return remembered(0, ignored, std::bit_cast<std::uint64_t>(v),
                      [&] { return m_formatter.formatFor(ignored, FormatGeneral(v), v); });
}

const ColumnTexts::Cell& ColumnTexts::ofStored(int row, int col, float stored) {
    const bool ignored = m_formatter.ignoredAt(row, col);
    return remembered(1, ignored, std::bit_cast<std::uint32_t>(stored), [&] {
        const QString entry = stored == -1 ? QString() : FormatGeneral(stored);
        return m_formatter.formatFor(ignored, entry, ReadLeadingNumber(entry));
    });
}

QString GradeText(const Gradebook& book, int col, int index) {
    return CellFormatter(book, col).gradeText(index);
}

QString FormatScoreCell(const Gradebook& book, int row, int col, const QString& entry) {
    return CellFormatter(book, col).format(row, entry);
}

bool UsesScoresRule(const Gradebook& book) {
    return book.totalSetup().importance != 0;
}

namespace {

bool AveragesGrades(const Gradebook& book) {
    return !UsesScoresRule(book) && book.view().displayMode != DisplayMode::PercentOfMax;
}

double PartOfTotal(const Gradebook& book, int row, int col, bool gradesRule) {
    const QString& s = book.cell(row, col);
    if (s.isEmpty()) return 0;
    const TestRecord& t = book.TestOf(col);
    const double v = book.cellValue(row, col);
    if (gradesRule && t.calculateGrades != 0) {
        const int count = t.scale.used();
        const int i = GradeIndex(t, float(v));
        const double x = i >= 0 ? t.scale.steps[std::size_t(i)].value : 0;
        const double top = count > 0 ? t.scale.steps[std::size_t(count - 1)].value : 0;
        return top > 0 ? x / top * 100 : 0;
    }
    return t.maxScore > 0 ? v / t.maxScore * 100 : 0;
}

} // namespace

double PartOfTotal(const Gradebook& book, int row, int col) {
    return PartOfTotal(book, row, col, AveragesGrades(book));
}

float RowTotal(Gradebook& book, int row) {
    ImportanceSet& groups = book.importanceSet();
    const int groupCount = groups.used();
    const int tests = std::min(book.testCount(), Limits::MaxTests);
    const StudentRecord& student = book.StudentOf(row);
    const bool gradesRule = AveragesGrades(book);

    for (auto& g : groups.steps)
        g.testCount = 0;
    for (int k = 1; k <= tests; ++k) {
        if (student.includeFlags.unit(k - 1) != u'1') continue;
        groups.steps[std::size_t(GroupOfTest(book.TestOf(k + 1), groupCount))].testCount += 1;
    }

    double sum = 0;
    double weightSum = 0;
    for (int k = 1; k <= tests; ++k) {
        if (student.includeFlags.unit(k - 1) != u'1') continue;
        const TestRecord& t = book.TestOf(k + 1);
        const double x = PartOfTotal(book, row, k + 1, gradesRule);
        const ImportanceGroup& g = groups.steps[std::size_t(t.importance)];
        const float w = g.percentOfTotal / g.testCount;
        sum += x * w;
        weightSum += w;
    }
    return weightSum > 0 ? float(sum / weightSum) : 0.0f;
}

namespace {

void writeTotal(Gradebook& book, int row, const CellFormatter& totals) {
    const double t = RoundHalfUp(RowTotal(book, row), 0);
    book.SetCellText(row, 1, t > 0 ? totals.format(row, FormatWhole(t)) : QString());
}

// `shared` holds the texts made so far, so that equal cells of different columns share one string.
void reformatColumn(Gradebook& book, int col, QSet<QString>& shared) {
    ColumnTexts texts(book, col, &shared);
    // A text found right for one cell is right for every cell holding it with the same
    // ignore flag: the formatted text follows from the cell's number and that flag alone.
    SharedTextCache<bool, 128> rightTexts[2];
    for (int r = 1; r < book.rowCount(); ++r) {
        // A cell's number has at most six characters, which the general format gives back
        // exactly, so the value need not be read again from the new entry.
        const double v = book.cellValue(r, col);
        if (v == 0) continue;
        auto& right = rightTexts[book.isIncluded(r, col) ? 0 : 1];
        if (right.find(book.cell(r, col))) continue;
        const ColumnTexts::Cell& cell = texts.ofValue(r, v);
        book.SetCellText(r, col, cell.text, cell.value);
        right.remember(book.cell(r, col), true);
    }
}

} // namespace

void UpdateRowTotal(Gradebook& book, int row) {
    if (row < 1 || row >= book.rowCount()) return;
    Gradebook::HeaderEditingOff off(book);
    writeTotal(book, row, CellFormatter(book, 1));
}

void RecalcTotals(Gradebook& book) {
    Gradebook::HeaderEditingOff off(book);
    Gradebook::BatchUpdate batch(book);
    const CellFormatter totals(book, 1);
    for (int r = 1; r < book.rowCount(); ++r)
        writeTotal(book, r, totals);
}

void RecalcColumn(Gradebook& book, int col) {
    RecalcColumns(book, col, col);
}

void RecalcColumns(Gradebook& book, int first, int last) {
    Gradebook::HeaderEditingOff off(book);
    Gradebook::BatchUpdate batch(book);
    QSet<QString> shared;
    for (int c = std::max(first, 1); c <= last && c < book.columnCount(); ++c)
        reformatColumn(book, c, shared);
    RecalcTotals(book);
}

void RecalcAll(Gradebook& book) {
    Gradebook::HeaderEditingOff off(book);
    Gradebook::BatchUpdate batch(book);
    if (book.columnCount() < 3)
        for (int r = 1; r < book.rowCount(); ++r)
            book.SetCellText(r, 1, QString());
    QSet<QString> shared;
    for (int c = 2; c < book.columnCount(); ++c)
        reformatColumn(book, c, shared);
    RecalcTotals(book);
}

bool SetAveragingRule(Gradebook& book, bool scores) {
    if (UsesScoresRule(book) == scores) return false;
    TestRecord& total = book.totalSetup();
    total.importance = scores ? -1 : 0;
    auto& remembered = book.totalScales();
    // Keep the scale of the rule being left; bring back the one of the new rule.
    remembered[scores ? 1 : 0] = total.scale;
    total.scale = remembered[scores ? 0 : 1];
    RecalcTotals(book);
    book.MarkModified();
    return true;
}
