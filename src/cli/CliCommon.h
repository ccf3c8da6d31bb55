#pragma once

// What the command-line programs share: the command line, their messages, and reading a
// gradebook as the window's Open does.

#include "core/Gradebook.h"
#include "core/Libraries.h"
#include "grading/GradingTools.h"
#include "grading/TableTransfer.h"
#include "storage/TextExchange.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdio>
#include <optional>

namespace cli {

constexpr int ExitSuccess = 0;
constexpr int ExitFailure = 1; // a file could not be read or written, or protection refused
constexpr int ExitUsage = 2;

void put(FILE* stream, QStringView text);
void report(const QString& message);
// Reports a wrong command line with the usage hint; the exit status for it.
int usageError(const QString& message);

// What the command line asked for.
struct Request {
    QString command;
    QStringList arguments;
    QString libraryDir;
    std::optional<DisplayMode> mode;
    std::optional<QString> password;
    TextExchangeOptions text;
    std::optional<CellBlock> selection;
    int student = 0; // 0: every student
    DropOptions drop;
    QString groupName; // drop-lowest --group, empty for every test
    QString testName;  // curve --test
    CurveOptions curve;
};

// The desktop program's names and the version, so that both find the same per-user libraries.
void setApplicationNames();
// Reads the application's command line into `request`; nothing when the command may run, else
// the exit status (after the help, the version or a usage error).
std::optional<int> parseRequest(Request& request);

// The commands that paint pages, and so need fonts and a graphical application.
bool paints(const QString& command);
// The command word, read before the application exists: the first argument that is neither an
// option nor an option's value.
QString commandWord(int argc, char* argv[]);

Libraries readLibraries(const QString& dir);
// Reads a gradebook as Open does, without the password step.
bool readGradebook(Gradebook& book, const Libraries& libs, const QString& path);
// The Refresh command; the current cell is row 1, column 1, so "by grade" sorts by the totals.
void refresh(Gradebook& book);
// Reads IN for a command that changes it: the protection rule `rule` must be open, by the
// gradebook's own rules or by --password.
bool openForChanging(Gradebook& book, const Request& request, int rule);
// Open with its protection, for the commands that show the table.
bool openForViewing(Gradebook& book, const Request& request);
bool save(const Gradebook& book, const QString& path);

} // namespace cli
