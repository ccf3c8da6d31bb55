#include "SecurityRulesDialog.h"

#include "HelpWindow.h"
#include "ui/main/TextEntry.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

SecurityRulesDialog::SecurityRulesDialog(const SecurityRules& rules, QWidget* parent)
    : QDialog(parent), m_password(new QLineEdit(this)) {
    setObjectName(QStringLiteral("SecurityRules"));
    setWindowTitle(QStringLiteral("Editing scores"));
    OfferHelp(this, QStringLiteral("security.html#rules"));
    auto* layout = new QVBoxLayout(this);
    auto* frame = new QGroupBox(tr("Security Rules"), this);
    auto* boxes = new QVBoxLayout(frame);
    const char* captions[] = {"Accessing student names and info", "Editing scores",
                              "Saving to disk", "Changing grading rules"};
    for (int i = 0; i < ProtectRuleCount; ++i) {
        auto* box = new QCheckBox(tr(captions[i]), frame);
        box->setObjectName(QStringLiteral("Protect%1").arg(i));
        box->setChecked(rules.protect[std::size_t(i)]);
        boxes->addWidget(box);
        m_protect[std::size_t(i)] = box;
    }
    layout->addWidget(frame);
    auto* form = new QFormLayout;
    m_password->setObjectName(QStringLiteral("Password"));
    UseQuestionMarkEcho(m_password);
    m_password->setText(rules.password);
    form->addRow(tr("Set Password:"), m_password);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("&Ok"), QDialogButtonBox::AcceptRole)
        ->setObjectName(QStringLiteral("Ok"));
    buttons->addButton(tr("&Cancel"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("Cancel"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

SecurityRules SecurityRulesDialog::rules() const {
    SecurityRules r;
    r.password = m_password->text();
    for (int i = 0; i < ProtectRuleCount; ++i)
        r.protect[std::size_t(i)] = m_protect[std::size_t(i)]->isChecked();
    return r;
}
