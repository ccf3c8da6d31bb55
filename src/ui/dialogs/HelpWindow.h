#pragma once

#include <QDialog>

class QTextBrowser;

// Our own help pages, compiled into the program, opened at their contents page.
class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    QTextBrowser* browser() const { return m_browser; }

    // Shows the one help window, opened at its contents.
    static HelpWindow* Show(QWidget* parent);

private:
    QTextBrowser* m_browser;
};
