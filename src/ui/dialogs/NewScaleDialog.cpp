#include "NewScaleDialog.h"

#include "HelpWindow.h"
#include "core/Limits.h"
#include "ui/main/Prompter.h"
#include "ui/main/TextEntry.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

NewScaleDialog::NewScaleDialog(QWidget* parent) : QDialog(parent), m_name(new QLineEdit(this)) {
    setObjectName(QStringLiteral("NewScaleDialog"));
    setWindowTitle(tr("New Scale"));
    OfferHelp(this, QStringLiteral("dialogs.html#newscale"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(tr("Scale Name:"), this);
    label->setBuddy(m_name);
    layout->addWidget(label);
    m_name->setObjectName(QStringLiteral("Text1"));
    // The name goes into the library file, which keeps what a gradebook file keeps.
    KeepToFileText(m_name);
    m_name->setMaxLength(Limits::ScaleNameWidth);
    m_name->setText(QStringLiteral("MyScale"));
    m_name->selectAll();
    layout->addWidget(m_name);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    const char* captions[] = {"OK", "Cancel"};
    for (int i = 0; i < 2; ++i) {
        auto* button = new QPushButton(tr(captions[i]), this);
        button->setObjectName(QStringLiteral("Command1%1").arg(i));
        button->setDefault(i == 0);
        buttons->addWidget(button);
        connect(button, &QPushButton::clicked, this, i == 0 ? &QDialog::accept : &QDialog::reject);
    }
    layout->addLayout(buttons);
    FitTitle(this);
}

QString NewScaleDialog::name() const {
    return m_name->text().isEmpty() ? QStringLiteral("(noname)") : m_name->text();
}

std::optional<QString> NewScaleDialog::AskName(QWidget* parent) {
    NewScaleDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.name();
}
