#pragma once

#include <QObject>

class MainWindow;

// Drop Lowest Scores (Total menu) and Curve Scores (Test menu): each asks its rule's password,
// shows its dialog with the preview, and applies what it was left to do.
class GradingToolCommands : public QObject {
    Q_OBJECT
public:
    explicit GradingToolCommands(MainWindow& window);

    void dropLowest();
    void curve();

private:
    MainWindow& m_window;
};
