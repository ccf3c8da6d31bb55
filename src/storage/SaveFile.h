#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Writes `bytes` to `path` through a temporary file renamed over it, so a failed or
// interrupted save leaves the previous file as it was. Failures: "Error opening " + path +
// ". " + description when the file cannot be created, "Error writing " + path + ". " +
// description when the bytes do not all reach the disk.
Result SaveFileBytes(const QString& path, QByteArrayView bytes);
