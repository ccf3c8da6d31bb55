// The window's files: start-up and shutdown, New, Open, Save, Save As, the recent files.
#include "FileCommands.h"

#include "BusyCursor.h"
#include "GradeTableView.h"
#include "MainWindow.h"
#include "PanelCommands.h"
#include "Prompter.h"
#include "RecoveryCommands.h"
#include "UndoCommands.h"
#include "core/NewGradebook.h"
#include "core/Security.h"
#include "storage/GradebookFile.h"
#include "storage/LibraryFile.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QTimer>

namespace {

const QString GradebookFilter = QStringLiteral("Student Grades (*.GRD *.grd);;All (*)");

// The table font as the settings keep it, and back.
void storeFont(const QFont& font, AppSettings& s) {
    s.fontName = font.family();
    s.fontItalic = font.italic();
    s.fontBold = font.bold();
    s.fontStrikethrough = font.strikeOut();
    s.fontUnderline = font.underline();
    s.fontSize = font.pointSizeF();
}

QFont storedFont(const AppSettings& s, QFont font) {
    font.setFamily(s.fontName);
    font.setItalic(s.fontItalic);
    font.setBold(s.fontBold);
    font.setStrikeOut(s.fontStrikethrough);
    font.setUnderline(s.fontUnderline);
    if (s.fontSize > 0) font.setPointSizeF(s.fontSize);
    return font;
}

int toTwips(const QWidget* w, int pixels) {
    return pixels * 1440 / std::max(1, w->logicalDpiX());
}
int toPixels(const QWidget* w, int twips) {
    return twips * w->logicalDpiX() / 1440;
}

} // namespace

FileCommands::FileCommands(MainWindow& window)
    : QObject(&window), m_window(window), m_book(window.gradebook()) {}

void FileCommands::addRecentItems(QMenu* file) {
    m_recentSeparator = file->addSeparator();
    m_recentSeparator->setObjectName(QStringLiteral("sse1"));
    m_recentSeparator->setVisible(false);
    for (int i = 0; i < int(m_recentActions.size()); ++i) {
        QAction* item = file->addAction(QString());
        item->setObjectName(QStringLiteral("ofi%1").arg(i));
        item->setVisible(false);
        connect(item, &QAction::triggered, this, [this, i] { openRecent(i); });
        m_recentActions[std::size_t(i)] = item;
    }
}

bool FileExists(const QString& name) {
    const QString trimmed = name.trimmed();
    return !trimmed.isEmpty() && QFileInfo::exists(trimmed);
}

void FileCommands::startUp(const QStringList& arguments) {
    // Settings first: the window, the font and the recent files.
    AppSettings defaults;
    storeFont(m_window.table()->font(), defaults);
    {
        const std::unique_ptr<QSettings> store = OpenSettingsStore();
        m_settings = LoadSettings(*store, defaults);
        reportSettingsFailure(CheckSettingsReadable(*store));
    }
    m_settings.recentFiles = m_settings.recentFiles.mid(0, MaxRecentFiles);
    refreshRecentMenu();
    PanelCommands& panels = m_window.panelCommands();
    if (m_settings.hideControls != panels.controlsHidden()) panels.toggleHideControls();
    panels.applyFont(storedFont(m_settings, m_window.table()->font()));
    panels.applyTextColor(QColor::fromRgb(m_settings.foreColor & 0xFFFFFF));

    m_startingUp = true;
    readLibraries();
    ResetToNew(m_book, m_window.libraries());

    // The file named on the command line, or the one used last. A relative path is made
    // absolute, so the caption, the recent files and "Last File" name it from any folder.
    QString name = arguments.join(u' ').trimmed();
    if (!name.isEmpty()) name = QFileInfo(name).absoluteFilePath();
    if (name.isEmpty()) name = m_settings.lastFile;
    if (FileExists(name))
        readGradebook(name.trimmed());
    else
        reportSettingsFailure(SaveLastFile(*OpenSettingsStore(), QStringLiteral(" ")));
    m_book.setModified(false);

    // Where the window was.
    if (m_settings.mainState == 2) {
        m_window.setWindowState(Qt::WindowMaximized);
    } else if (m_settings.mainState == 1) {
        m_window.setWindowState(Qt::WindowMinimized);
    } else if (m_settings.mainLeft != 0 && m_settings.mainWidth > 0 && m_settings.mainHeight > 0) {
        // The same kind of geometry as saved (the inner area, not the frame), so a restart
        // puts the window exactly where it was.
        m_window.setGeometry(
            toPixels(&m_window, m_settings.mainLeft), toPixels(&m_window, m_settings.mainTop),
            toPixels(&m_window, m_settings.mainWidth), toPixels(&m_window, m_settings.mainHeight));
    }
    // readGradebook has hidden the protected names already; hiding them twice would make the
    // IDs the names that the password brings back.
    m_window.refreshCommand();
    m_book.setModified(false);
    m_window.undoCommands().clear();
    m_startingUp = false;
    // The password is asked for once the event loop runs, that is once the window is shown.
    // So is the offer of a copy left by a run that did not end normally.
    QTimer::singleShot(0, &m_window, [this] {
        m_window.recoveryCommands().offerLeftCopy();
        m_window.Authorize();
    });
}

void FileCommands::readLibraries() {
    for (const QString& message : ReadLibraries(m_window.libraries(), m_libraryDir))
        m_window.prompter().tell(&m_window, message);
}

void FileCommands::setCaptionFromFile() {
    const QString name = m_book.fileName();
    // "[*]" shows the unsaved changes in the title bar as "*"; Qt shows nothing when there are
    // none.
    m_window.setWindowTitle(
        (name.isEmpty() ? QStringLiteral("Quillmark") : QStringLiteral("Quillmark - ") + name) +
        QStringLiteral("[*]"));
}

void FileCommands::readGradebook(const QString& path) {
    {
        BusyCursor busy;
        ResetToNew(m_book, m_window.libraries());
        m_book.setFileName(path);
        const Result read = ReadGradebookFile(m_book, path);
        if (!read) {
            m_window.prompter().tell(&m_window, read.message(), QMessageBox::Critical);
            // Whatever failed, a later Save must not overwrite the file with what we have.
            m_book.setFileName(QString());
            if (read.message() == QStringLiteral("Invalid file format!"))
                reportSettingsFailure(SaveLastFile(*OpenSettingsStore(), QStringLiteral(" ")));
        } else {
            AddRecentFile(m_settings.recentFiles, path);
            m_settings.lastFile = path;
            reportSettingsFailure(
                SaveFileSection(*OpenSettingsStore(), m_settings.recentFiles, path));
            refreshRecentMenu();
        }
    }
    showRead();
    m_book.setModified(false);
    m_window.undoCommands().clear();
    if (!m_startingUp) m_window.Authorize();
}

void FileCommands::showRead() {
    setCaptionFromFile();
    m_window.table()->setCurrentCell(1, 1);
    HideNames(m_book);
    m_window.panelCommands()
        .showWorkingMode(); // the mode stored with the gradebook, as a click on its button
    m_window.refreshCommand();
}

bool FileCommands::writeGradebook(const QString& path) {
    if (!m_window.CheckAccess(SaveToDisk)) return false;
    BusyCursor busy;
    m_window.refreshCommand();
    const Result written = WriteGradebookFile(m_book, path);
    if (!written) {
        m_window.prompter().tell(&m_window, written.message(), QMessageBox::Critical);
        return false;
    }
    m_book.setFileName(path);
    setCaptionFromFile();
    AddRecentFile(m_settings.recentFiles, path);
    m_settings.lastFile = path;
    reportSettingsFailure(SaveFileSection(*OpenSettingsStore(), m_settings.recentFiles, path));
    refreshRecentMenu();
    m_book.setModified(false);
    m_window.undoCommands().saved();
    return true;
}

bool FileCommands::ConfirmSave() {
    if (!m_book.isModified()) return true;
    const auto answer =
        m_window.prompter().ask(&m_window, QStringLiteral("Save your work?"),
                                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel) return false;
    if (answer == QMessageBox::No) return true;
    // Going on after a failed or refused save would drop the unsaved work.
    return saveCommand();
}

bool FileCommands::AskSaveAs() {
    const QString name = m_window.prompter().saveFileName(&m_window, m_book.fileName(),
                                                          GradebookFilter, QStringLiteral("GRD"));
    if (name.isEmpty()) return false;
    return writeGradebook(name);
}

bool FileCommands::saveCommand() {
    if (m_book.fileName().isEmpty()) return AskSaveAs();
    return writeGradebook(m_book.fileName());
}

void FileCommands::newCommand() {
    if (!ConfirmSave()) return;
    ResetToNew(m_book, m_window.libraries());
    m_window.table()->setCurrentCell(1, 1);
    m_window.panelCommands().showWorkingMode();
    m_window.refreshCommand();
    m_book.setModified(false);
    m_window.undoCommands().clear();
    setCaptionFromFile();
    m_settings.lastFile.clear();
    reportSettingsFailure(SaveLastFile(*OpenSettingsStore(), QStringLiteral(" ")));
}

void FileCommands::openCommand() {
    if (!ConfirmSave()) return;
    const QString name = m_window.prompter().openFileName(&m_window, GradebookFilter);
    if (name.isEmpty()) return;
    readGradebook(name);
}

void FileCommands::openRecent(int index) {
    if (index < 0 || index >= m_settings.recentFiles.size() || !ConfirmSave()) return;
    const QString name = m_settings.recentFiles[index];
    if (!FileExists(name)) {
        m_window.prompter().tell(&m_window,
                                 QStringLiteral("File ") + name + QStringLiteral(" not found!"));
        return;
    }
    readGradebook(name);
}

void FileCommands::refreshRecentMenu() {
    m_recentSeparator->setVisible(!m_settings.recentFiles.isEmpty());
    for (int i = 0; i < MaxRecentFiles; ++i) {
        QAction* item = m_recentActions[std::size_t(i)];
        const bool used = i < m_settings.recentFiles.size();
        item->setVisible(used);
        if (used) {
            QString caption = m_settings.recentFiles[i];
            item->setText(caption.replace(u'&', QStringLiteral("&&")));
        }
    }
}

void FileCommands::reportSettingsFailure(const Result& result) {
    if (!result) m_window.prompter().tell(&m_window, result.message());
}

AppSettings FileCommands::currentSettings() const {
    AppSettings s = m_settings;
    s.mainState = m_window.isMaximized() ? 2 : m_window.isMinimized() ? 1 : 0;
    const QRect frame = m_window.normalGeometry();
    s.mainLeft = toTwips(&m_window, frame.left());
    s.mainTop = toTwips(&m_window, frame.top());
    s.mainWidth = toTwips(&m_window, frame.width());
    s.mainHeight = toTwips(&m_window, frame.height());
    s.hideControls = m_window.panelCommands().controlsHidden();
    storeFont(m_window.table()->font(), s);
    s.foreColor = m_window.table()->palette().color(QPalette::Text).rgb() & 0xFFFFFF;
    s.lastFile = m_book.fileName();
    return s;
}

bool FileCommands::close() {
    if (!ConfirmSave()) return false;
    reportSettingsFailure(SaveSettings(*OpenSettingsStore(), currentSettings()));
    return true;
}
