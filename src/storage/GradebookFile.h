#pragma once

#include "core/Gradebook.h"
#include "core/Result.h"

#include <QString>

// The tag of the gradebook file version this program writes.
inline const QString GradebookVersionTag = QStringLiteral("V E R 1.05s");

// Writes the gradebook to `path` as a version 1.05s file, through a temporary file renamed
// over the target, so a failed save leaves the previous file as it was. Writes the document
// as it stands (the caller runs the Refresh first). Failure: "Error opening " + path + ". " +
// description, or "Error writing " + path + ". " + description.
Result WriteGradebookFile(const Gradebook& book, const QString& path);

// Reads a gradebook file of any version into `book`, which the caller has reset to the new
// state. Applies the view state stored in the file (display mode, chart subject, working mode,
// averaging rule, sort rules by sorting, show-total, security rules); the current cell is then
// row 1, column 1. Failures: "Error opening " + path + ".  " + description (nothing changed);
// "Invalid file format!" (file name emptied); "Error reading " + path (what was read stays, the
// gradebook becomes untitled). The modified flag is the caller's.
Result ReadGradebookFile(Gradebook& book, const QString& path);
