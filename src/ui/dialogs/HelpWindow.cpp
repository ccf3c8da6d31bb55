#include "HelpWindow.h"

#include "ui/main/Prompter.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

// The help pages are compiled into the static library quillmark_ui, whose resources are
// registered only when asked for, and only from outside any namespace.
static void RegisterHelpPages() {
    Q_INIT_RESOURCE(quillmark);
}

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent), m_browser(new QTextBrowser(this)) {
    static const bool registered = (RegisterHelpPages(), true);
    Q_UNUSED(registered);
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(tr("Quillmark Help"));
    auto* layout = new QVBoxLayout(this);
    m_browser->setOpenExternalLinks(false);
    m_browser->setAccessibleName(tr("Help page"));
    m_browser->setSearchPaths({QStringLiteral(":/help")});
    m_browser->setSource(QUrl(QStringLiteral("qrc:/help/index.html")));
    layout->addWidget(m_browser);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto* home = buttons->addButton(tr("&Contents"), QDialogButtonBox::ActionRole);
    connect(home, &QPushButton::clicked, m_browser, &QTextBrowser::home);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    layout->addWidget(buttons);
    ResizeWithinScreen(this, {720, 620});
}

HelpWindow* HelpWindow::Show(QWidget* parent, const QString& page) {
    static QPointer<HelpWindow> window;
    // A window outside the dialog in front would be blocked by it, so help asked for from a
    // dialog belongs to that dialog.
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner || owner == window) owner = parent;
    if (!window) {
        window = new HelpWindow(owner);
        window->setAttribute(Qt::WA_DeleteOnClose);
    } else if (window->parentWidget() != owner) {
        window->setParent(owner, window->windowFlags());
    }
    if (page.isEmpty())
        window->m_browser->home();
    else
        window->m_browser->setSource(QUrl(QStringLiteral("qrc:/help/") + page));
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void OfferHelp(QWidget* dialog, const QString& page) {
    dialog->setProperty("helpPage", page);
    auto* key = new QShortcut(QKeySequence::HelpContents, dialog);
    key->setContext(Qt::WindowShortcut);
    QObject::connect(key, &QShortcut::activated, dialog,
                     [dialog, page] { HelpWindow::Show(dialog, page); });
}
