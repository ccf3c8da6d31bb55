#pragma once

#include <QObject>

class MainWindow;

// Copy, cut and paste between the table's selection and the system clipboard: the scores as
// text other programs take and give, and beside it the parameters of whole tests or whole
// students, so that another gradebook receives them too.
class ClipboardCommands : public QObject {
    Q_OBJECT
public:
    explicit ClipboardCommands(MainWindow& window);

    // Copies the selection; a cut then deletes whole tests or students without a question, or
    // empties the selected scores.
    void copy(bool cut);
    void paste();

private:
    MainWindow& m_window;
};
