#pragma once

#include "core/Result.h"
#include "storage/Settings.h"

#include <QObject>
#include <QStringList>

#include <array>

class Gradebook;
class MainWindow;
class QAction;
class QMenu;

// True when the trimmed name is not empty and names an existing file or folder.
bool FileExists(const QString& name);

// The files of the window: start-up from the settings, New, Open, Save, Save As, the recent
// files, and the settings kept when the window closes.
class FileCommands : public QObject {
    Q_OBJECT
public:
    explicit FileCommands(MainWindow& window);

    // The recent files' items at the end of the File menu.
    void addRecentItems(QMenu* fileMenu);
    // Settings, libraries, the gradebook named by the command line (its words joined by
    // blanks) or the one used last, the window where it was.
    void startUp(const QStringList& arguments);
    void setLibraryDir(const QString& dir) { m_libraryDir = dir; }
    // The folder the libraries are read from and written to alone, or empty for the usual places.
    const QString& libraryDir() const { return m_libraryDir; }

    // ConfirmSave answers whether the command may go on: not after Cancel, nor when the save
    // chosen with Yes failed or was refused.
    bool ConfirmSave();
    bool AskSaveAs();
    bool saveCommand();
    void newCommand();
    void openCommand();
    void openRecent(int index);
    const QStringList& recentFiles() const { return m_settings.recentFiles; }
    // The window is closing: false when the teacher keeps it open; otherwise the settings are
    // stored.
    bool close();
    // "Quillmark", and the file's path when the gradebook has one.
    void setCaptionFromFile();
    // A gradebook just read shown as Open shows it: caption, first cell, protected names hidden,
    // its working mode, and the Refresh.
    void showRead();
    // What is kept between runs, as this run has it; a command that changes a part stores it.
    AppSettings& settings() { return m_settings; }
    // Tells the teacher when the settings store could not be read or written.
    void reportSettingsFailure(const Result& result);

private:
    void readLibraries();
    void readGradebook(const QString& path);
    bool writeGradebook(const QString& path);
    void refreshRecentMenu();
    AppSettings currentSettings() const;

    MainWindow& m_window;
    Gradebook& m_book;
    AppSettings m_settings;
    QString m_libraryDir;
    bool m_startingUp = false;
    std::array<QAction*, MaxRecentFiles> m_recentActions{};
    QAction* m_recentSeparator = nullptr;
};
