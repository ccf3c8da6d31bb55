#pragma once

#include <QObject>

class MainWindow;

// Copy, cut and paste between the table and the system clipboard.
class ClipboardCommands : public QObject {
    Q_OBJECT
public:
    explicit ClipboardCommands(MainWindow& window);

    // The current score as text; a cut empties its cell when scores may be edited.
    void copy(bool cut);
    // The first field of the clipboard's text into the current score.
    void paste();

private:
    MainWindow& m_window;
};
