#include "LibraryFile.h"

#include "Fields.h"
#include "SaveFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::Literals::StringLiterals;

namespace {

// The two step kinds share the file layout; only their field names differ.
template <typename Entry>
void writeSteps(FieldWriter& out, const StepList<Entry>& list, bool countOnNameLine) {
    out.fixed(list.name);
    if (!countOnNameLine) out.endLine();
    // The count in use, so a count no reader accepts never reaches a file.
    out.integer(list.used());
    out.endLine();
    for (int k = 0; k < list.used(); ++k) {
        const Entry& step = list.steps[std::size_t(k)];
        const auto [text, first, second] = step.fields();
        out.fixed(text);
        out.endLine();
        out.number(first);
        out.endLine();
        out.number(second);
        out.endLine();
    }
}

template <typename Entry> bool readSteps(FieldReader& in, StepList<Entry>& list) {
    StepList<Entry> work = list;
    int count = 0;
    if (!in.fixed(work.name)) return false;
    const int countLine = in.line();
    if (!in.integer(count)) return false;
    if (count < 0 || count > Limits::MaxSteps) {
        in.fail(FieldErrors::outOfRange(countLine));
        return false;
    }
    work.count = count;
    for (int k = 0; k < count; ++k) {
        Entry& step = work.steps[std::size_t(k)];
        auto [text, first, second] = step.fields();
        if (!in.fixed(text) || !in.number(first) || !in.number(second)) return false;
    }
    list = work;
    return true;
}

template <typename Entry>
LibraryReadResult readLibrary(const QString& path, std::vector<StepList<Entry>>& library) {
    constexpr std::size_t InitialEntries = 6;
    constexpr std::size_t Growth = 5;
    const QString failed = u"Error reading parameters! "_s;

    // A file that cannot be opened or read leaves the library in memory as it was, so a failed
    // re-read does not empty it for the rest of the run.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {0, failed + file.errorString(), false};
    FieldReader in(file.readAll());
    if (file.error() != QFileDevice::NoError) return {0, failed + file.errorString(), false};
    library.assign(InitialEntries, StepList<Entry>{});

    int n = 0;
    while (n < MaxLibraryEntries && !in.atEnd()) {
        StepList<Entry> work;
        if (!readSteps(in, work)) return {0, failed + in.error(), true};
        if (std::size_t(n) >= library.size()) library.resize(library.size() + Growth);
        library[std::size_t(n)] = work;
        ++n;
    }
    // Said also when the file held exactly 50: the reader stops without looking further.
    if (n == MaxLibraryEntries)
        return {n, u"Warning: Only %1 Entries were loaded!"_s.arg(MaxLibraryEntries), true};
    return {n, {}, true};
}

template <typename Entry>
Result writeLibrary(const QString& path, const std::vector<StepList<Entry>>& library, int count) {
    FieldWriter out;
    const int n = std::clamp(count, 0, int(library.size()));
    for (int i = 0; i < n; ++i)
        writeSteps(out, library[std::size_t(i)], false);

    return SaveFileBytes(path, out.bytes());
}

QString userDataDir() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

} // namespace

void WriteStepList(FieldWriter& out, const GradeScale& list, bool countOnNameLine) {
    writeSteps(out, list, countOnNameLine);
}
void WriteStepList(FieldWriter& out, const ImportanceSet& list, bool countOnNameLine) {
    writeSteps(out, list, countOnNameLine);
}
bool ReadStepList(FieldReader& in, GradeScale& list) {
    return readSteps(in, list);
}
bool ReadStepList(FieldReader& in, ImportanceSet& list) {
    return readSteps(in, list);
}

LibraryReadResult ReadLibraryFile(const QString& path, std::vector<GradeScale>& library) {
    return readLibrary(path, library);
}
LibraryReadResult ReadLibraryFile(const QString& path, std::vector<ImportanceSet>& library) {
    return readLibrary(path, library);
}

Result WriteLibraryFile(const QString& path, const std::vector<GradeScale>& library, int count) {
    return writeLibrary(path, library, count);
}
Result WriteLibraryFile(const QString& path, const std::vector<ImportanceSet>& library, int count) {
    return writeLibrary(path, library, count);
}

QString LibraryReadPath(const QString& fileName, const QString& overrideDir) {
    if (!overrideDir.isEmpty()) return QDir(overrideDir).filePath(fileName);
    const QString userCopy = QDir(userDataDir()).filePath(fileName);
    if (QFileInfo::exists(userCopy)) return userCopy;
    // Beside the program in a build folder; installed, from bin/ or from libexec/quillmark/.
    const QDir programDir(QCoreApplication::applicationDirPath());
    const auto at = [&](const QString& place) {
        return QDir::cleanPath(programDir.filePath(place + fileName));
    };
    const QString installed = at(u"../share/quillmark/"_s);
    for (const QString& path : {at(QString()), installed, at(u"../../share/quillmark/"_s)})
        if (QFileInfo::exists(path)) return path;
    return installed;
}

QString LibraryWritePath(const QString& fileName, const QString& overrideDir) {
    if (!overrideDir.isEmpty()) return QDir(overrideDir).filePath(fileName);
    const QString dir = userDataDir();
    QDir().mkpath(dir);
    return QDir(dir).filePath(fileName);
}

QStringList ReadLibraries(Libraries& libraries, const QString& overrideDir) {
    QStringList messages;
    const LibraryReadResult scales =
        ReadLibraryFile(LibraryReadPath(ScaleLibraryName, overrideDir), libraries.scales);
    const LibraryReadResult sets = ReadLibraryFile(
        LibraryReadPath(ImportanceLibraryName, overrideDir), libraries.importanceSets);
    // A library whose file could not be read keeps its entries and their count.
    if (scales.replaced) libraries.scaleCount = scales.count;
    if (sets.replaced) libraries.importanceCount = sets.count;
    for (const QString& message : {scales.message, sets.message})
        if (!message.isEmpty()) messages << message;
    return messages;
}
