#pragma once

#include <QObject>

class MainWindow;
class SliderDialog;

// The commands that open the editing dialogs: Set Scale, Importance Groups, Test Information
// and Student Information. Each dialog edits a copy; what it answers goes into the document
// here, followed by the recalculation the change needs.
class DialogCommands : public QObject {
    Q_OBJECT
public:
    explicit DialogCommands(MainWindow& window);

    // "S&cale" and "&Set Scale": the scale of the current column.
    void setScale();
    // "Set I&mportance".
    void setImportance();
    // "&Info" and "&Information" of a test.
    void testInformation();
    // "Info" and "&Informaton" of a student.
    void studentInformation();

private:
    // Set Scale for the test in column `col` (1 is the Total column); true when it was kept.
    bool editScale(int col);
    void rereadLibraries();
    void storeSliderGeometry(const SliderDialog& dialog);

    MainWindow& m_window;
};
