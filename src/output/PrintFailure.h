#pragma once

#include "core/Result.h"

#include <QString>

// Every printing failure the teacher sees starts alike.
inline const QString ErrorPrinting = QStringLiteral("Error Printing - ");

inline Result PrintFailure(const QString& what) {
    return Result::failure(ErrorPrinting + what);
}
