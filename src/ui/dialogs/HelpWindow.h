#pragma once

#include <QDialog>

class QTextBrowser;

// Our own help pages, compiled into the program, opened at their contents page.
class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    QTextBrowser* browser() const { return m_browser; }

    // Shows the one help window, opened at its contents or at `page` ("dialogs.html#setscale").
    static HelpWindow* Show(QWidget* parent, const QString& page = {});

private:
    QTextBrowser* m_browser;
};

// F1 in `dialog` opens the help at `page`, the page that explains that dialog.
void OfferHelp(QWidget* dialog, const QString& page);
