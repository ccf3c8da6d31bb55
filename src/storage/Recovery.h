#pragma once

#include "core/Gradebook.h"
#include "core/Result.h"

#include <QDateTime>
#include <QString>

#include <vector>

// Recovery copies: while a gradebook has unsaved changes, a running program keeps a copy of it
// in the gradebook format in a folder of its own, never touching the teacher's file. A copy left
// by a program that no longer runs holds work a crash or a power cut would otherwise have cost.
struct RecoveryCopy {
    QString copyPath;     // the gradebook file of the copy
    QString originalPath; // the teacher's file, empty for an untitled gradebook
    QDateTime written;
};

// The per-user folder of the copies: the application's local data folder + "/recovery".
QString RecoveryFolder();

// Writes the copy of the program with process id `pid` into `folder`, replacing its last one.
// The folder and the files are the owner's alone: a copy holds the password as the file does.
Result WriteRecoveryCopy(const Gradebook& book, const QString& folder, qint64 pid);
// Removes the copy of process `pid`, if there is one.
void RemoveRecoveryCopy(const QString& folder, qint64 pid);
// The copies left by programs that no longer run, the newest first.
std::vector<RecoveryCopy> LeftRecoveryCopies(const QString& folder);
// Removes a left copy once recovered or discarded.
void RemoveLeftCopy(const RecoveryCopy& copy);
// Moves a copy that cannot be read out of the way, under a name no later start offers again;
// the path it now has.
QString SetAsideRecoveryCopy(const RecoveryCopy& copy);
