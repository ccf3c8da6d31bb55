#pragma once

#include "core/Libraries.h"
#include "core/Records.h"
#include "core/Result.h"
#include "storage/LibraryFile.h"

#include <QString>

#include <variant>

// One library of `Libraries`, the scales or the importance sets, as the library dialog changes
// it: read from its file when the dialog opens, written back after every change, and the set
// being edited, which the dialog names and appends.
class EditableLibrary {
public:
    EditableLibrary(Libraries& libraries, GradeScale& edited, QString overrideDir = {});
    EditableLibrary(Libraries& libraries, ImportanceSet& edited, QString overrideDir = {});

    // Reads the file; the entries read become the library's count. The read's message, if any.
    QString read();
    int count() const;
    // An entry's name without its padding.
    QString name(int index) const;
    bool full() const { return count() >= MaxLibraryEntries; }

    // Entry `index` goes and the later ones move down; the file is written. An index outside
    // the entries changes nothing.
    Result remove(int index);
    // The edited set is renamed (cut to 75 characters); it keeps the name whatever follows.
    void renameEdited(const QString& name);
    // The edited set becomes the last entry and the file is written. A full library takes
    // nothing: "You can have only  50 default Scales!".
    Result appendEdited();

private:
    template <typename F> decltype(auto) visit(F&& f) const;

    Libraries& m_libraries;
    std::variant<GradeScale*, ImportanceSet*> m_edited;
    QString m_overrideDir;
};
