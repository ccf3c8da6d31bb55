#include "PasswordDialog.h"

#include "HelpWindow.h"
#include "ui/main/Prompter.h"
#include "ui/main/TextEntry.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

PasswordDialog::PasswordDialog(const QString& password, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_password(password), m_prompter(prompter), m_box(new QLineEdit(this)) {
    setObjectName(QStringLiteral("PasswordDialog"));
    setWindowTitle(QStringLiteral("Rassword verification"));
    OfferHelp(this, QStringLiteral("security.html#password"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(tr("Enter Password:"), this);
    label->setBuddy(m_box);
    layout->addWidget(label);
    m_box->setObjectName(QStringLiteral("Password"));
    UseQuestionMarkEcho(m_box);
    layout->addWidget(m_box);
    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton(tr("&Ok"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("Ok"));
    ok->setDefault(true);
    buttons->addButton(tr("&Cancel"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("Cancel"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &PasswordDialog::tryPassword);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    FitTitle(this);
}

void PasswordDialog::tryPassword() {
    if (m_box->text() == m_password) {
        accept();
        return;
    }
    m_prompter.tell(this, QStringLiteral("Password Incorrect"));
    m_box->selectAll();
    m_box->setFocus();
}

bool PasswordDialog::Verify(const QString& password, Prompter& prompter, QWidget* parent) {
    PasswordDialog dialog(password, prompter, parent);
    return dialog.exec() == QDialog::Accepted;
}
