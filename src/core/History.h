#pragma once

#include "Gradebook.h"

#include <QMetaObject>
#include <QString>

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>

// The cell that was current when a step was made, where undo and redo go back to.
struct StepPlace {
    int row = 1;
    int col = 1;
    bool operator==(const StepPlace&) const = default;
};

// The one history of the document. A step is made by comparing the document with how it stood
// after the last step, so whatever a command changed (cells, records, include flags, lengths,
// the view) comes back exactly, however the command went about it. A step keeps only what
// changed; one that moves or reshapes much of the table keeps the table compactly, each
// distinct text once.
class History {
public:
    static constexpr int NoRule = -2; // a step no protection rule guards
    static constexpr std::size_t DefaultMemoryLimit = std::size_t(50) << 20;

    explicit History(Gradebook& book, std::size_t memoryLimit = DefaultMemoryLimit);
    ~History();
    History(const History&) = delete;
    History& operator=(const History&) = delete;

    // Forgets every step: the document as it is now is where the history starts (New, Open,
    // Import), as saved or not.
    void clear(bool saved = true);
    // Makes what changed since the last step one step, named `name`, made at `place`, which
    // needed the protection rule `rule` to be done. Nothing changed makes no step (false).
    // With `joinLast` the changes join the last step instead (typing on in one cell), unless
    // that step was undone, holds a whole table or ends at the saved document.
    bool commit(const QString& name, StepPlace place, int rule = NoRule, bool joinLast = false);
    // Whether the document differs from how the last step left it.
    bool hasUncommittedChanges() const;

    bool canUndo() const { return m_done > 0; }
    bool canRedo() const;
    QString undoName() const;
    QString redoName() const;
    int undoRule() const;
    int redoRule() const;
    // Takes the last step back, or does the next one again; where it happened, or nothing
    // when there is no such step. Uncommitted changes are first made a step of their own.
    std::optional<StepPlace> undo();
    std::optional<StepPlace> redo();

    // The document as it is now is the one on disk.
    void markSaved();
    // Whether undo and redo have brought the document back to what was last saved.
    bool isAtSaved() const { return m_saved && *m_saved == m_done; }

    std::size_t memoryUse() const;
    std::size_t stepCount() const;

private:
    struct Content;
    struct Step;

    void takeContent();
    void forgetWritten();
    template <typename Visit> void visitWritten(const Visit& visit) const;
    void joinInto(Step& last, Step&& step);
    void dropOldest();
    // Puts one side of a step into the document and into the remembered content.
    void apply(const Step& step, bool after);

    Gradebook& m_book;
    std::size_t m_limit;
    std::unique_ptr<Content> m_content; // the document as the last step left it
    std::deque<Step> m_steps;
    std::size_t m_done = 0; // steps [0, m_done) are done, the rest undone
    std::optional<std::size_t> m_saved = 0;
    std::size_t m_stepBytes = 0;
    bool m_allWritten = false;
    // Cells written since the last step: the comparison goes through them alone, so a step of
    // one typed score costs little on a large class.
    CellSpan m_written;
    QMetaObject::Connection m_cellsWritten, m_reshaped;
};
