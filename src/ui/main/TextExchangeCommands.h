#pragma once

#include <QObject>

class Gradebook;
class MainWindow;
class TextExchangeSetupDialog;

// Export and Import in the File menu: the table, or a block of it, to delimited text, and a
// new gradebook from such text. The two setup dialogs stay for the run.
class TextExchangeCommands : public QObject {
    Q_OBJECT
public:
    explicit TextExchangeCommands(MainWindow& window);

    void exportText();
    void importText();

private:
    MainWindow& m_window;
    Gradebook& m_book;
    TextExchangeSetupDialog* m_exportSetup;
    TextExchangeSetupDialog* m_importSetup;
};
