#include "History.h"

#include <algorithm>
#include <cstdint>
#include <utility>

using Cell = Gradebook::Cell;

namespace {

// What of the document is neither a cell, a record, a length nor the importance groups.
struct Settings {
    std::array<GradeScale, 2> totalScales;
    SecurityRules security;
    ViewState view;
    int nextTestNumber = 0;
    bool operator==(const Settings&) const = default;
};

// One part of the document before and after a step, kept only when the step changed it.
template <typename T> using PartChange = std::unique_ptr<std::pair<T, T>>;

struct CellChange {
    std::uint32_t index;
    Cell before, after;
};

template <typename Record> struct RecordChange {
    std::uint32_t index;
    Record before, after;
};

// A whole table with each distinct text once, for the steps that move or reshape most of it.
struct Table {
    int rows = 0, cols = 0;
    std::vector<Cell> texts;
    std::vector<std::uint32_t> index; // into texts, cell by cell
    std::vector<StudentRecord> students;
    std::vector<TestRecord> tests;
};

bool sameText(const Cell& a, const Cell& b) {
    // Cells of equal scores mostly share one string: the address settles most comparisons.
    return (a.text.constData() == b.text.constData() && a.text.size() == b.text.size()) ||
           a.text == b.text;
}

std::size_t textBytes(const QString& text) {
    return std::size_t(text.size()) * sizeof(QChar);
}

// Cells are shared strings: one string's cells are found by its address and length, in an
// open-addressed table that grows as distinct texts come.
class TextIndex {
public:
    std::uint32_t indexOf(const Cell& cell, std::vector<Cell>& texts) {
        if (2 * (texts.size() + 1) > m_slots.size()) grow(texts);
        for (std::size_t i = slotOf(cell.text);; i = (i + 1) & (m_slots.size() - 1)) {
            std::uint32_t& slot = m_slots[i];
            if (slot == Empty) {
                slot = std::uint32_t(texts.size());
                texts.push_back(cell);
                return slot;
            }
            const QString& known = texts[slot].text;
            if (known.constData() == cell.text.constData() && known.size() == cell.text.size())
                return slot;
        }
    }

private:
    static constexpr std::uint32_t Empty = ~std::uint32_t(0);
    std::size_t slotOf(const QString& text) const {
        const auto key = quint64(quintptr(text.constData())) ^ quint64(text.size());
        return std::size_t((key * 0x9E3779B97F4A7C15ull) >> 32) & (m_slots.size() - 1);
    }
    void grow(const std::vector<Cell>& texts) {
        m_slots.assign(std::max<std::size_t>(1024, 2 * m_slots.size()), Empty);
        for (std::uint32_t k = 0; k < texts.size(); ++k) {
            std::size_t i = slotOf(texts[k].text);
            while (m_slots[i] != Empty)
                i = (i + 1) & (m_slots.size() - 1);
            m_slots[i] = k;
        }
    }
    std::vector<std::uint32_t> m_slots;
};

Table pack(int rows, int cols, const std::vector<Cell>& cells,
           const std::vector<StudentRecord>& students, const std::vector<TestRecord>& tests) {
    Table t{rows, cols, {}, {}, students, tests};
    t.index.reserve(cells.size());
    TextIndex known;
    for (const Cell& cell : cells)
        t.index.push_back(known.indexOf(cell, t.texts));
    return t;
}

std::size_t tableBytes(const Table& t) {
    std::size_t n = sizeof(Table) + t.index.size() * sizeof(std::uint32_t) +
                    t.texts.size() * sizeof(Cell) + t.students.size() * sizeof(StudentRecord) +
                    t.tests.size() * sizeof(TestRecord);
    for (const Cell& c : t.texts)
        n += textBytes(c.text);
    return n;
}

} // namespace

struct History::Content {
    int rows = 0, cols = 0;
    std::vector<Cell> cells;
    std::vector<StudentRecord> students;
    std::vector<TestRecord> tests;
    std::vector<int> widths, heights;
    // Saved with the file, and rewritten by every total's calculation (its test counts).
    ImportanceSet importance;
    Settings settings;
};

struct History::Step {
    QString name;
    StepPlace place;
    int rule = NoRule;
    std::vector<CellChange> cells;
    std::vector<RecordChange<StudentRecord>> students;
    std::vector<RecordChange<TestRecord>> tests;
    PartChange<std::vector<int>> widths, heights;
    PartChange<ImportanceSet> importance;
    PartChange<Settings> settings;
    std::unique_ptr<Table> wholeBefore, wholeAfter;
    std::size_t bytes = 0;
};

namespace {

Settings settingsOf(const Gradebook& b) {
    return {b.totalScales(), b.security(), b.view(), b.nextTestNumber()};
}

// Keeps `was` and `now` in `change` when they differ; the bytes kept.
template <typename T> std::size_t noteChange(PartChange<T>& change, const T& was, const T& now) {
    if (was == now) return 0;
    change = std::make_unique<std::pair<T, T>>(was, now);
    return sizeof(*change);
}

// The groups as the teacher set them; their test counts are a total calculation's working
// counters, rewritten whenever a total is worked out (even by a chart), so no step of their own.
bool sameGroups(const ImportanceSet& a, const ImportanceSet& b) {
    if (!(a.name == b.name) || a.count != b.count) return false;
    for (std::size_t i = 0; i < a.steps.size(); ++i)
        if (!(a.steps[i].name == b.steps[i].name) ||
            a.steps[i].percentOfTotal != b.steps[i].percentOfTotal)
            return false;
    return true;
}

// The side of a change that a step's undo (false) or redo (true) puts back.
template <typename T> void putBack(const PartChange<T>& change, bool after, T& into) {
    if (change) into = after ? change->second : change->first;
}

} // namespace

History::History(Gradebook& book, std::size_t memoryLimit)
    : m_book(book), m_limit(memoryLimit), m_content(std::make_unique<Content>()) {
    m_cellsWritten =
        QObject::connect(&book, &Gradebook::cellsChanged, &book,
                         [this](int t, int l, int b, int r) { m_written.add(t, l, b, r); });
    m_reshaped =
        QObject::connect(&book, &Gradebook::aboutToReshape, &book, [this] { m_allWritten = true; });
    takeContent();
}

History::~History() {
    QObject::disconnect(m_cellsWritten);
    QObject::disconnect(m_reshaped);
}

void History::forgetWritten() {
    m_allWritten = false;
    m_written.clear();
}

// Calls `visit` with the index of every cell that may have changed since the last step, while
// it returns true.
template <typename Visit> void History::visitWritten(const Visit& visit) const {
    const Content& c = *m_content;
    if (m_allWritten) {
        for (std::size_t i = 0; i < c.cells.size(); ++i)
            if (!visit(i)) return;
        return;
    }
    const int bottom = std::min(m_written.bottom, c.rows - 1);
    const int right = std::min(m_written.right, c.cols - 1);
    for (int r = std::max(m_written.top, 0); r <= bottom; ++r)
        for (int col = std::max(m_written.left, 0); col <= right; ++col)
            if (!visit(std::size_t(r) * std::size_t(c.cols) + std::size_t(col))) return;
}

void History::takeContent() {
    const Gradebook& b = m_book;
    Content& c = *m_content;
    c.rows = b.m_rows;
    c.cols = b.m_cols;
    c.cells = b.m_cells;
    c.students = b.m_students;
    c.tests = b.m_tests;
    c.widths = b.m_colWidths;
    c.heights = b.m_rowHeights;
    c.importance = b.m_importance;
    c.settings = settingsOf(b);
}

void History::clear(bool saved) {
    m_steps.clear();
    m_done = 0;
    m_saved = saved ? std::optional<std::size_t>(0) : std::nullopt;
    m_stepBytes = 0;
    takeContent();
    forgetWritten();
}

bool History::hasUncommittedChanges() const {
    const Gradebook& b = m_book;
    const Content& c = *m_content;
    if (c.rows != b.m_rows || c.cols != b.m_cols || c.students != b.m_students ||
        c.tests != b.m_tests)
        return true;
    bool written = false;
    visitWritten([&](std::size_t i) {
        written = !sameText(c.cells[i], b.m_cells[i]);
        return !written;
    });
    if (written) return true;
    return c.widths != b.m_colWidths || c.heights != b.m_rowHeights ||
           !sameGroups(c.importance, b.m_importance) || !(c.settings == settingsOf(b));
}

bool History::commit(const QString& name, StepPlace place, int rule, bool joinLast) {
    const Gradebook& b = m_book;
    Content& c = *m_content;
    Step step;
    step.name = name;
    step.place = place;
    step.rule = rule;

    bool whole = c.rows != b.m_rows || c.cols != b.m_cols ||
                 c.students.size() != b.m_students.size() || c.tests.size() != b.m_tests.size();
    if (!whole) {
        // A step that changes much of the table (a sort, say) is kept whole and compact.
        const std::size_t most = c.cells.size() / 8 + 64;
        visitWritten([&](std::size_t i) {
            if (!sameText(c.cells[i], b.m_cells[i])) {
                step.cells.push_back({std::uint32_t(i), c.cells[i], b.m_cells[i]});
                whole = step.cells.size() > most;
            }
            return !whole;
        });
        for (std::size_t i = 0; i < c.students.size() && !whole; ++i)
            if (!(c.students[i] == b.m_students[i]))
                step.students.push_back({std::uint32_t(i), c.students[i], b.m_students[i]});
        for (std::size_t i = 0; i < c.tests.size() && !whole; ++i)
            if (!(c.tests[i] == b.m_tests[i]))
                step.tests.push_back({std::uint32_t(i), c.tests[i], b.m_tests[i]});
    }
    step.bytes += noteChange(step.widths, c.widths, b.m_colWidths) +
                  noteChange(step.heights, c.heights, b.m_rowHeights) +
                  (sameGroups(c.importance, b.m_importance)
                       ? 0
                       : noteChange(step.importance, c.importance, b.m_importance)) +
                  noteChange(step.settings, c.settings, settingsOf(b));
    if (step.widths) step.bytes += 2 * sizeof(int) * c.widths.size();
    if (step.heights) step.bytes += 2 * sizeof(int) * c.heights.size();
    const bool partsChanged = step.widths || step.heights || step.importance || step.settings;
    if (whole) {
        step.cells.clear();
        step.students.clear();
        step.tests.clear();
        step.wholeBefore =
            std::make_unique<Table>(pack(c.rows, c.cols, c.cells, c.students, c.tests));
        step.wholeAfter =
            std::make_unique<Table>(pack(b.m_rows, b.m_cols, b.m_cells, b.m_students, b.m_tests));
        step.bytes += tableBytes(*step.wholeBefore) + tableBytes(*step.wholeAfter);
    } else if (step.cells.empty() && step.students.empty() && step.tests.empty() && !partsChanged) {
        forgetWritten();
        return false;
    }
    step.bytes += sizeof(Step) + name.size() * sizeof(QChar);
    for (const CellChange& change : step.cells)
        step.bytes +=
            sizeof(CellChange) + textBytes(change.before.text) + textBytes(change.after.text);
    step.bytes += step.students.size() * sizeof(RecordChange<StudentRecord>) +
                  step.tests.size() * sizeof(RecordChange<TestRecord>);

    // A new step ends the steps that were undone.
    while (m_steps.size() > m_done) {
        m_stepBytes -= m_steps.back().bytes;
        m_steps.pop_back();
    }
    if (m_saved && *m_saved > m_done) m_saved.reset();

    // The remembered content follows the document.
    forgetWritten();
    if (whole) {
        takeContent();
    } else {
        for (const CellChange& change : step.cells)
            c.cells[change.index] = change.after;
        for (const auto& change : step.students)
            c.students[change.index] = change.after;
        for (const auto& change : step.tests)
            c.tests[change.index] = change.after;
        putBack(step.widths, true, c.widths);
        putBack(step.heights, true, c.heights);
        putBack(step.importance, true, c.importance);
        putBack(step.settings, true, c.settings);
    }
    m_stepBytes += step.bytes;
    const bool join = joinLast && m_done > 0 && m_done == m_steps.size() &&
                      !m_steps.back().wholeBefore && !step.wholeBefore && !isAtSaved();
    if (join) {
        joinInto(m_steps.back(), std::move(step));
    } else {
        m_steps.push_back(std::move(step));
        ++m_done;
    }
    dropOldest();
    return true;
}

namespace {

// Adds the changes of a later step to an earlier one: an index both changed keeps its first
// "before" and takes the later "after".
template <typename Change> void joinChanges(std::vector<Change>& into, std::vector<Change>& later) {
    for (Change& change : later) {
        const auto same = std::find_if(into.begin(), into.end(), [&](const Change& known) {
            return known.index == change.index;
        });
        if (same == into.end())
            into.push_back(std::move(change));
        else
            same->after = std::move(change.after);
    }
}

template <typename T> void joinPart(PartChange<T>& into, PartChange<T>& later) {
    if (!later) return;
    if (into)
        into->second = std::move(later->second);
    else
        into = std::move(later);
}

} // namespace

void History::joinInto(Step& last, Step&& step) {
    joinChanges(last.cells, step.cells);
    joinChanges(last.students, step.students);
    joinChanges(last.tests, step.tests);
    joinPart(last.widths, step.widths);
    joinPart(last.heights, step.heights);
    joinPart(last.importance, step.importance);
    joinPart(last.settings, step.settings);
    last.name = step.name;
    last.bytes += step.bytes;
}

void History::dropOldest() {
    while (memoryUse() > m_limit && m_done > 1) {
        m_stepBytes -= m_steps.front().bytes;
        m_steps.pop_front();
        --m_done;
        if (m_saved) {
            if (*m_saved == 0)
                m_saved.reset(); // the saved document lay before the dropped step
            else
                --*m_saved;
        }
    }
}

std::size_t History::memoryUse() const {
    const Content& c = *m_content;
    return sizeof(Content) + c.cells.capacity() * sizeof(Cell) +
           c.students.capacity() * sizeof(StudentRecord) + c.tests.capacity() * sizeof(TestRecord) +
           m_stepBytes;
}

bool History::canRedo() const {
    return m_done < m_steps.size();
}

std::size_t History::stepCount() const {
    return m_steps.size();
}

QString History::undoName() const {
    return canUndo() ? m_steps[m_done - 1].name : QString();
}

QString History::redoName() const {
    return canRedo() ? m_steps[m_done].name : QString();
}

int History::undoRule() const {
    return canUndo() ? m_steps[m_done - 1].rule : NoRule;
}

int History::redoRule() const {
    return canRedo() ? m_steps[m_done].rule : NoRule;
}

std::optional<StepPlace> History::undo() {
    if (hasUncommittedChanges())
        commit(QString(), canUndo() ? m_steps[m_done - 1].place : StepPlace{});
    if (!canUndo()) return std::nullopt;
    --m_done;
    apply(m_steps[m_done], false);
    return m_steps[m_done].place;
}

std::optional<StepPlace> History::redo() {
    if (hasUncommittedChanges())
        return std::nullopt; // a change since the undo ended the redo steps
    if (!canRedo()) return std::nullopt;
    apply(m_steps[m_done], true);
    return m_steps[m_done++].place;
}

void History::markSaved() {
    m_saved = m_done;
}

void History::apply(const Step& step, bool after) {
    Gradebook& b = m_book;
    putBack(step.widths, after, b.m_colWidths);
    putBack(step.heights, after, b.m_rowHeights);
    putBack(step.importance, after, b.m_importance);
    if (step.settings) {
        const Settings& s = after ? step.settings->second : step.settings->first;
        b.m_totalScales = s.totalScales;
        b.m_security = s.security;
        b.m_view = s.view;
        b.m_nextTestNumber = s.nextTestNumber;
    }
    if (step.wholeBefore) {
        const Table& t = after ? *step.wholeAfter : *step.wholeBefore;
        emit b.aboutToReshape();
        b.m_rows = t.rows;
        b.m_cols = t.cols;
        b.m_cells.resize(t.index.size());
        for (std::size_t i = 0; i < t.index.size(); ++i)
            b.m_cells[i] = t.texts[t.index[i]];
        b.m_students = t.students;
        b.m_tests = t.tests;
        b.m_dirty.clear();
        emit b.reshaped();
        takeContent();
    } else {
        Content& c = *m_content;
        Gradebook::BatchUpdate batch(b);
        for (const CellChange& change : step.cells) {
            const Cell& cell = after ? change.after : change.before;
            b.m_cells[change.index] = cell;
            c.cells[change.index] = cell;
            b.noteChanged(int(change.index) / b.m_cols, int(change.index) % b.m_cols);
        }
        for (const auto& change : step.students)
            b.m_students[change.index] = c.students[change.index] =
                after ? change.after : change.before;
        for (const auto& change : step.tests)
            b.m_tests[change.index] = c.tests[change.index] = after ? change.after : change.before;
        putBack(step.widths, after, c.widths);
        putBack(step.heights, after, c.heights);
        putBack(step.importance, after, c.importance);
        putBack(step.settings, after, c.settings);
    }
    if (step.widths || step.heights) emit b.geometryChanged();
    forgetWritten(); // what was put back is what the content now holds
}
