#pragma once

#include "core/Libraries.h"
#include "core/Records.h"
#include "core/Result.h"

#include <QString>
#include <QStringList>

#include <vector>

class FieldReader;
class FieldWriter;

inline constexpr int MaxLibraryEntries = 50;
inline const QString ScaleLibraryName = QStringLiteral("scales.dat");
inline const QString ImportanceLibraryName = QStringLiteral("importan.dat");

// What a library read gave: the number of entries read (0 after an error) and, when there is
// one, the message to show: "Error reading parameters! " + description, or
// "Warning: Only 50 Entries were loaded!".
struct LibraryReadResult {
    int count = 0;
    QString message;
    bool replaced = false; // whether the library in memory was replaced: the file could be read
};

// Opens `path`; when it can be read, replaces `library` by 6 empty entries and reads up to 50
// entries, growing the library by 5 as needed. Entries read before an error stay; a file that
// cannot be opened or read leaves `library` as it was.
LibraryReadResult ReadLibraryFile(const QString& path, std::vector<GradeScale>& library);
LibraryReadResult ReadLibraryFile(const QString& path, std::vector<ImportanceSet>& library);

// Writes entries 0 ... count-1 to `path` (through a temporary file renamed over it).
Result WriteLibraryFile(const QString& path, const std::vector<GradeScale>& library, int count);
Result WriteLibraryFile(const QString& path, const std::vector<ImportanceSet>& library, int count);

// Reads both libraries (scales.dat and importan.dat) from their usual places, or from
// `overrideDir` alone, and keeps their entry counts; a library whose file cannot be read keeps
// what it held. Returns the messages the reads gave.
QStringList ReadLibraries(Libraries& libraries, const QString& overrideDir = {});

// Where a library file is read from: the per-user data folder when a copy is there, else beside
// the program, else <prefix>/share/quillmark. `overrideDir`, when not empty, is used alone.
QString LibraryReadPath(const QString& fileName, const QString& overrideDir = {});
// Where a library file is written: the per-user data folder (created as needed), or
// `overrideDir` when it is not empty, so a library read from there goes back there.
QString LibraryWritePath(const QString& fileName, const QString& overrideDir = {});

// A scale or importance set as both file kinds store it: the name (75 characters), the count,
// then per step its text (10 characters) and its two floats, one a line. Gradebooks put the
// count on the name's line, libraries on a line of its own.
void WriteStepList(FieldWriter& out, const GradeScale& list, bool countOnNameLine);
void WriteStepList(FieldWriter& out, const ImportanceSet& list, bool countOnNameLine);
// Reads a step list into `list`, which changes only when the whole list was read; steps beyond
// the count keep what they held. A count outside 0 ... 26 is an error.
bool ReadStepList(FieldReader& in, GradeScale& list);
bool ReadStepList(FieldReader& in, ImportanceSet& list);
