#pragma once

#include "core/Gradebook.h"
#include "core/Libraries.h"
#include "core/Result.h"

#include <QString>
#include <QStringList>
#include <QStringView>

// The choices of the Export Setup and Import Setup dialogs.
struct TextExchangeOptions {
    bool testNamesRow = true;                        // "Test Names in 1st Row"
    bool studentNamesColumn = true;                  // "Student Names in 1st Col"
    bool includeGrades = false;                      // "Include Grades" (export only)
    QString separatorText = QStringLiteral("{TAB}"); // "{TAB}", ",", "{SPACE}", ";" or typed
    QString delimiterText = QStringLiteral("\"");    // double quote, "'", "{NONE}" or typed
    // Export of a block only ("Selection"); otherwise rows 1.. and columns 1.. of the table.
    bool selectionOnly = false;
    int firstRow = 1, firstColumn = 1, lastRow = 1, lastColumn = 1;
};

// The separator and delimiter the box texts stand for.
QString SeparatorOf(const TextExchangeOptions& options);
QString DelimiterOf(const TextExchangeOptions& options);

// The fields of one line of imported text. The line is split at each separator; a field that
// starts with the delimiter runs to its closing delimiter, so a separator inside it stays in
// the field, and loses its delimiters.
QStringList SplitImportLine(QStringView line, const QString& separator, const QString& delimiter);

// Writes the table (or the chosen block) as delimited text. The caller runs the Refresh first.
// Failure: "Error opening " + path + ". " + description; "Error writing " + path + ". " +
// description, which leaves an earlier file of that name as it was.
Result ExportText(const Gradebook& book, const QString& path, const TextExchangeOptions& options);

// Fills `book`, which the caller has reset to the new state, from a delimited text file, then
// recalculates. Failures: "Error opening " + path + ". " + description; "Error importing from "
// + path + ". " + description, naming the line. Lines may end in CR LF, LF or CR. The import
// stops at the first field it cannot take (a score field that starts like a number but is not
// one, a 401st test) or at a 32767th student; what came before stays, the fields of the
// stopping line before that field included.
Result ImportText(Gradebook& book, const QString& path, const TextExchangeOptions& options,
                  const Libraries& libraries);
