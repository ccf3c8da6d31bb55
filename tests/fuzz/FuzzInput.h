#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <unistd.h>

#include <cstddef>
#include <cstdint>

// The readers under test take a path, so each input is written to one file in memory-backed
// storage, named after the process so that parallel runs do not meet.
inline QString FuzzInputFile(const uint8_t* data, size_t size, const char* suffix) {
    const QString path = QStringLiteral("/dev/shm/quillmark-fuzz-%1%2")
                             .arg(::getpid())
                             .arg(QString::fromLatin1(suffix));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    return path;
}
