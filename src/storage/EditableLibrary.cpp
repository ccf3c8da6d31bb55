#include "EditableLibrary.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

// The entries, the count and the file name of the library that holds sets like `edited`.
template <typename Entry> struct Side {
    std::vector<StepList<Entry>>& entries;
    int& count;
    const QString& fileName;
};

Side<ScaleStep> SideOf(Libraries& libraries, GradeScale*) {
    return {libraries.scales, libraries.scaleCount, ScaleLibraryName};
}
Side<ImportanceGroup> SideOf(Libraries& libraries, ImportanceSet*) {
    return {libraries.importanceSets, libraries.importanceCount, ImportanceLibraryName};
}

} // namespace

EditableLibrary::EditableLibrary(Libraries& libraries, GradeScale& edited, QString overrideDir)
    : m_libraries(libraries), m_edited(&edited), m_overrideDir(std::move(overrideDir)) {}
EditableLibrary::EditableLibrary(Libraries& libraries, ImportanceSet& edited, QString overrideDir)
    : m_libraries(libraries), m_edited(&edited), m_overrideDir(std::move(overrideDir)) {}

// Calls f(side, edited) for the library of the edited set's kind.
template <typename F> decltype(auto) EditableLibrary::visit(F&& f) const {
    return std::visit([&](auto* edited) { return f(SideOf(m_libraries, edited), *edited); },
                      m_edited);
}

QString EditableLibrary::read() {
    return visit([&](auto side, auto&) {
        const LibraryReadResult read =
            ReadLibraryFile(LibraryReadPath(side.fileName, m_overrideDir), side.entries);
        // Also after a failed read: the dialog lists what the read gave, none then.
        side.count = read.count;
        return read.message;
    });
}

int EditableLibrary::count() const {
    return visit([](auto side, auto&) { return side.count; });
}

QString EditableLibrary::name(int index) const {
    return visit([&](auto side, auto&) {
        return index >= 0 && index < int(side.entries.size())
                   ? side.entries[std::size_t(index)].name.text()
                   : QString();
    });
}

Result EditableLibrary::remove(int index) {
    return visit([&](auto side, auto&) {
        if (index < 0 || index >= side.count || index >= int(side.entries.size()))
            return Result::success();
        side.entries.erase(side.entries.begin() + index);
        --side.count;
        return WriteLibraryFile(LibraryWritePath(side.fileName, m_overrideDir), side.entries,
                                side.count);
    });
}

void EditableLibrary::renameEdited(const QString& name) {
    visit([&](auto, auto& edited) { edited.name = name; });
}

Result EditableLibrary::appendEdited() {
    return visit([&](auto side, auto& edited) {
        // The number stands after a blank of its own, as a number written with its sign's place.
        if (side.count >= MaxLibraryEntries)
            return Result::failure(u"You can have only "_s + u" %1"_s.arg(MaxLibraryEntries) +
                                   u" default Scales!"_s);
        // The arrays may be shorter than the count a file gave; they grow as the reader grows.
        const std::size_t at = std::size_t(std::max(side.count, 0));
        if (side.entries.size() <= at) side.entries.resize(at + 1);
        side.entries[at] = edited;
        ++side.count;
        return WriteLibraryFile(LibraryWritePath(side.fileName, m_overrideDir), side.entries,
                                side.count);
    });
}
