#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class Gradebook;
class MainWindow;

// Recovery after a crash: while the gradebook has unsaved changes, a copy of it is written in
// the background at most once a minute and within a minute of the last change; a save, New,
// Open or a normal exit removes it. At start, a copy a run that did not end normally left is
// offered back.
class RecoveryCommands : public QObject {
    Q_OBJECT
public:
    explicit RecoveryCommands(MainWindow& window);

    // Where the copies go and how long after a change; tests choose their own.
    void setFolder(const QString& folder) { m_folder = folder; }
    void setDelay(int milliseconds) { m_timer.setInterval(milliseconds); }

    // The question at start: "Recover the unsaved changes to FILE from TIME?".
    void offerLeftCopy();
    // No copy stays once the teacher's work is saved or deliberately left.
    void removeCopy();

private:
    void changed();
    void writeCopy();

    MainWindow& m_window;
    Gradebook& m_book;
    QTimer m_timer;
    QString m_folder;
    bool m_failureTold = false;
};
