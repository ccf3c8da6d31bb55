#include "RecoveryCommands.h"

#include "FileCommands.h"
#include "MainWindow.h"
#include "Prompter.h"
#include "UndoCommands.h"
#include "core/NewGradebook.h"
#include "storage/GradebookFile.h"
#include "storage/Recovery.h"

#include <QCoreApplication>
#include <QLocale>

using namespace Qt::Literals::StringLiterals;

RecoveryCommands::RecoveryCommands(MainWindow& window)
    : QObject(&window), m_window(window), m_book(window.gradebook()), m_folder(RecoveryFolder()) {
    m_timer.setSingleShot(true);
    m_timer.setInterval(60 * 1000);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryCommands::writeCopy);
    connect(&m_book, &Gradebook::cellsChanged, this, &RecoveryCommands::changed);
    connect(&m_book, &Gradebook::reshaped, this, &RecoveryCommands::changed);
    connect(&m_book, &Gradebook::geometryChanged, this, &RecoveryCommands::changed);
    connect(&m_book, &Gradebook::modifiedChanged, this, [this](bool modified) {
        if (modified)
            changed();
        else
            removeCopy(); // saved, or back at the saved state, or a new document
    });
}

void RecoveryCommands::changed() {
    // Started by the first change after a copy, so no change waits more than one interval.
    if (m_book.isModified() && !m_timer.isActive()) m_timer.start();
}

void RecoveryCommands::writeCopy() {
    if (!m_book.isModified()) return;
    const Result written = WriteRecoveryCopy(m_book, m_folder, QCoreApplication::applicationPid());
    if (!written && !m_failureTold) {
        m_failureTold = true; // once a run: the teacher can still save, the copy is extra
        m_window.prompter().tell(&m_window, written.message(), QMessageBox::Warning);
    }
}

void RecoveryCommands::removeCopy() {
    m_timer.stop();
    RemoveRecoveryCopy(m_folder, QCoreApplication::applicationPid());
}

void RecoveryCommands::offerLeftCopy() {
    const std::vector<RecoveryCopy> copies = LeftRecoveryCopies(m_folder);
    if (copies.empty()) return;
    const RecoveryCopy& copy = copies.front();
    const QString file =
        copy.originalPath.isEmpty() ? tr("an untitled gradebook") : copy.originalPath;
    const QString when = QLocale().toString(copy.written, QLocale::ShortFormat);
    const int answer = m_window.prompter().choose(
        &m_window,
        tr("Quillmark was not closed properly. Recover the unsaved changes to %1 from %2?")
            .arg(file, when),
        {tr("&Recover"), tr("&Discard")});
    if (answer != 0) {
        for (const RecoveryCopy& left : copies)
            RemoveLeftCopy(left);
        return;
    }
    // Read apart first: a copy that cannot be read leaves the gradebook that is open alone.
    Gradebook trial;
    ResetToNew(trial, m_window.libraries());
    if (!ReadGradebookFile(trial, copy.copyPath)) {
        const QString aside = SetAsideRecoveryCopy(copy);
        m_window.prompter().tell(
            &m_window, tr("The recovery copy could not be read. It was kept as %1.").arg(aside),
            QMessageBox::Warning);
        return;
    }
    ResetToNew(m_book, m_window.libraries());
    ReadGradebookFile(m_book, copy.copyPath);
    m_book.setFileName(copy.originalPath);
    m_window.fileCommands().showRead();
    // The recovered work is unsaved: the teacher decides whether to save it.
    m_book.setModified(true);
    m_window.undoCommands().clear(false);
    writeCopy(); // this run's own copy, before the left one goes
    for (const RecoveryCopy& left : copies)
        RemoveLeftCopy(left);
    m_window.Authorize();
}
