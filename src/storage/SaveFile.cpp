#include "SaveFile.h"

#include <QSaveFile>

using namespace Qt::Literals::StringLiterals;

Result SaveFileBytes(const QString& path, QByteArrayView bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Result::failure(u"Error opening "_s + path + u". "_s + file.errorString());
    // commit() does not notice when its own final flush fails (a full disk with a small
    // file), so the buffer is flushed here first and its failure cancels the save.
    if (file.write(bytes.data(), bytes.size()) != bytes.size() || !file.flush()) {
        const QString description = file.errorString();
        file.cancelWriting();
        return Result::failure(u"Error writing "_s + path + u". "_s + description);
    }
    if (!file.commit())
        return Result::failure(u"Error writing "_s + path + u". "_s + file.errorString());
    return Result::success();
}
