// The main window's files: start-up and shutdown, New, Open, Save, Save As, the recent files.
#include "BusyCursor.h"
#include "ControlPanel.h"
#include "GradeTableView.h"
#include "MainWindow.h"
#include "Prompter.h"
#include "core/NewGradebook.h"
#include "core/Security.h"
#include "grading/Refresh.h"
#include "storage/GradebookFile.h"
#include "storage/LibraryFile.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenu>
#include <QScreen>
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

bool FileExists(const QString& name) {
    const QString trimmed = name.trimmed();
    return !trimmed.isEmpty() && QFileInfo::exists(trimmed);
}

void MainWindow::startUp(const QStringList& arguments) {
    // Settings first: the window, the font and the recent files.
    AppSettings defaults;
    storeFont(m_table->font(), defaults);
    {
        const std::unique_ptr<QSettings> store = OpenSettingsStore();
        m_settings = LoadSettings(*store, defaults);
        reportSettingsFailure(CheckSettingsReadable(*store));
    }
    m_settings.recentFiles = m_settings.recentFiles.mid(0, MaxRecentFiles);
    refreshRecentMenu();
    if (m_settings.hideControls != m_hideControls) toggleHideControls();
    applyFont(storedFont(m_settings, m_table->font()));
    applyTextColor(QColor::fromRgb(m_settings.foreColor & 0xFFFFFF));

    m_startingUp = true;
    readLibraries();
    ResetToNew(*m_book, m_libraries);

    // The file named on the command line, or the one used last. A relative path is made
    // absolute, so the caption, the recent files and "Last File" name it from any folder.
    QString name = arguments.join(u' ').trimmed();
    if (!name.isEmpty()) name = QFileInfo(name).absoluteFilePath();
    if (name.isEmpty()) name = m_settings.lastFile;
    if (FileExists(name))
        readGradebook(name.trimmed(), false);
    else
        reportSettingsFailure(SaveLastFile(*OpenSettingsStore(), QStringLiteral(" ")));
    m_book->setModified(false);

    // Where the window was.
    if (m_settings.mainState == 2) {
        setWindowState(Qt::WindowMaximized);
    } else if (m_settings.mainState == 1) {
        setWindowState(Qt::WindowMinimized);
    } else if (m_settings.mainLeft != 0 && m_settings.mainWidth > 0 && m_settings.mainHeight > 0) {
        // The same kind of geometry as saved (the inner area, not the frame), so a restart
        // puts the window exactly where it was.
        setGeometry(toPixels(this, m_settings.mainLeft), toPixels(this, m_settings.mainTop),
                    toPixels(this, m_settings.mainWidth), toPixels(this, m_settings.mainHeight));
    }
    // readGradebook has hidden the protected names already; hiding them twice would make the
    // IDs the names that the password brings back.
    refreshCommand();
    m_book->setModified(false);
    m_startingUp = false;
    // The password is asked for once the event loop runs, that is once the window is shown.
    QTimer::singleShot(0, this, [this] { Authorize(); });
}

void MainWindow::readLibraries() {
    for (const QString& message : ReadLibraries(m_libraries, m_libraryDir))
        m_prompter->tell(this, message);
}

void MainWindow::setCaptionFromFile() {
    const QString name = m_book->fileName();
    setWindowTitle(name.isEmpty() ? QStringLiteral("Quillmark")
                                  : QStringLiteral("Quillmark - ") + name);
}

void MainWindow::readGradebook(const QString& path, bool reportMissing) {
    Q_UNUSED(reportMissing);
    {
        BusyCursor busy;
        ResetToNew(*m_book, m_libraries);
        m_book->setFileName(path);
        const Result read = ReadGradebookFile(*m_book, path);
        if (!read) {
            m_prompter->tell(this, read.message(), QMessageBox::Critical);
            // Whatever failed, a later Save must not overwrite the file with what we have.
            m_book->setFileName(QString());
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
    setCaptionFromFile();
    m_table->setCurrentCell(1, 1);
    HideNames(*m_book);
    showWorkingMode(); // the mode stored with the gradebook, as a click on its button
    refreshCommand();
    m_book->setModified(false);
    if (!m_startingUp) Authorize();
}

bool MainWindow::writeGradebook(const QString& path) {
    if (!CheckAccess(SaveToDisk)) return false;
    BusyCursor busy;
    refreshCommand();
    const Result written = WriteGradebookFile(*m_book, path);
    if (!written) {
        m_prompter->tell(this, written.message(), QMessageBox::Critical);
        return false;
    }
    m_book->setFileName(path);
    setCaptionFromFile();
    AddRecentFile(m_settings.recentFiles, path);
    m_settings.lastFile = path;
    reportSettingsFailure(SaveFileSection(*OpenSettingsStore(), m_settings.recentFiles, path));
    refreshRecentMenu();
    m_book->setModified(false);
    return true;
}

bool MainWindow::ConfirmSave() {
    if (!m_book->isModified()) return true;
    const auto answer = m_prompter->ask(this, QStringLiteral("Save your work?"),
                                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel) return false;
    if (answer == QMessageBox::No) return true;
    // Going on after a failed or refused save would drop the unsaved work.
    return saveCommand();
}

bool MainWindow::AskSaveAs() {
    const QString name =
        m_prompter->saveFileName(this, m_book->fileName(), GradebookFilter, QStringLiteral("GRD"));
    if (name.isEmpty()) return false;
    return writeGradebook(name);
}

bool MainWindow::saveCommand() {
    if (m_book->fileName().isEmpty()) return AskSaveAs();
    return writeGradebook(m_book->fileName());
}

void MainWindow::newCommand() {
    if (!ConfirmSave()) return;
    ResetToNew(*m_book, m_libraries);
    m_table->setCurrentCell(1, 1);
    showWorkingMode();
    refreshCommand();
    m_book->setModified(false);
    setCaptionFromFile();
    m_settings.lastFile.clear();
    reportSettingsFailure(SaveLastFile(*OpenSettingsStore(), QStringLiteral(" ")));
}

void MainWindow::openCommand() {
    if (!ConfirmSave()) return;
    const QString name = m_prompter->openFileName(this, GradebookFilter);
    if (name.isEmpty()) return;
    readGradebook(name, true);
}

void MainWindow::openRecent(int index) {
    if (index < 0 || index >= m_settings.recentFiles.size() || !ConfirmSave()) return;
    const QString name = m_settings.recentFiles[index];
    if (!FileExists(name)) {
        m_prompter->tell(this, QStringLiteral("File ") + name + QStringLiteral(" not found!"));
        return;
    }
    readGradebook(name, true);
}

void MainWindow::refreshRecentMenu() {
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

void MainWindow::reportSettingsFailure(const Result& result) {
    if (!result) m_prompter->tell(this, result.message());
}

AppSettings MainWindow::currentSettings() const {
    AppSettings s = m_settings;
    s.mainState = isMaximized() ? 2 : isMinimized() ? 1 : 0;
    const QRect frame = normalGeometry();
    s.mainLeft = toTwips(this, frame.left());
    s.mainTop = toTwips(this, frame.top());
    s.mainWidth = toTwips(this, frame.width());
    s.mainHeight = toTwips(this, frame.height());
    s.hideControls = m_hideControls;
    storeFont(m_table->font(), s);
    s.foreColor = m_table->palette().color(QPalette::Text).rgb() & 0xFFFFFF;
    s.lastFile = m_book->fileName();
    return s;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!ConfirmSave()) {
        event->ignore();
        return;
    }
    reportSettingsFailure(SaveSettings(*OpenSettingsStore(), currentSettings()));
    event->accept();
}
