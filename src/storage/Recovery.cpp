#include "Recovery.h"

#include "GradebookFile.h"
#include "SaveFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <csignal>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr auto OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QString copyName(const QString& folder, qint64 pid) {
    return QDir(folder).filePath(u"%1.GRD"_s.arg(pid));
}

// The note beside a copy: the teacher's file on the first line, the time of the copy on the
// second, so the question at the next start can name both.
QString noteName(const QString& copy) {
    return copy + u".note"_s;
}

bool processRuns(qint64 pid) {
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

} // namespace

QString RecoveryFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + u"/recovery"_s;
}

Result WriteRecoveryCopy(const Gradebook& book, const QString& folder, qint64 pid) {
    if (!QDir().mkpath(folder))
        return Result::failure(u"Error opening "_s + folder + u". Cannot create the folder."_s);
    QFile::setPermissions(folder, OwnerOnly | QFileDevice::ExeOwner);
    const QString copy = copyName(folder, pid);
    if (const Result written = WriteGradebookFile(book, copy); !written) return written;
    const QString note =
        book.fileName() + u'\n' + QDateTime::currentDateTime().toString(Qt::ISODate) + u'\n';
    const Result noted = SaveFileBytes(noteName(copy), note.toUtf8());
    QFile::setPermissions(copy, OwnerOnly);
    QFile::setPermissions(noteName(copy), OwnerOnly);
    return noted;
}

void RemoveRecoveryCopy(const QString& folder, qint64 pid) {
    const QString copy = copyName(folder, pid);
    QFile::remove(copy);
    QFile::remove(noteName(copy));
}

std::vector<RecoveryCopy> LeftRecoveryCopies(const QString& folder) {
    std::vector<RecoveryCopy> copies;
    const QDir dir(folder);
    for (const QFileInfo& file : dir.entryInfoList({u"*.GRD"_s}, QDir::Files)) {
        bool numbered = false;
        const qint64 pid = file.completeBaseName().toLongLong(&numbered);
        if (!numbered || processRuns(pid)) continue;
        RecoveryCopy copy{file.filePath(), QString(), file.lastModified()};
        QFile note(noteName(copy.copyPath));
        if (note.open(QIODevice::ReadOnly)) {
            const QStringList lines = QString::fromUtf8(note.readAll()).split(u'\n');
            copy.originalPath = lines.value(0);
            const QDateTime written = QDateTime::fromString(lines.value(1), Qt::ISODate);
            if (written.isValid()) copy.written = written;
        }
        copies.push_back(copy);
    }
    std::sort(copies.begin(), copies.end(),
              [](const RecoveryCopy& a, const RecoveryCopy& b) { return a.written > b.written; });
    return copies;
}

void RemoveLeftCopy(const RecoveryCopy& copy) {
    QFile::remove(copy.copyPath);
    QFile::remove(noteName(copy.copyPath));
}

QString SetAsideRecoveryCopy(const RecoveryCopy& copy) {
    QString aside = copy.copyPath + u".unreadable"_s;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = copy.copyPath + u".unreadable-%1"_s.arg(n);
    QFile::rename(copy.copyPath, aside);
    QFile::rename(noteName(copy.copyPath), aside + u".note"_s);
    return aside;
}
