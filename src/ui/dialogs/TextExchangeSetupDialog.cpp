#include "TextExchangeSetupDialog.h"

#include "HelpWindow.h"
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TextExchangeSetupDialog::TextExchangeSetupDialog(Kind kind, QWidget* parent)
    : QDialog(parent), m_kind(kind) {
    const bool exporting = kind == Export;
    setObjectName(exporting ? QStringLiteral("Form10") : QStringLiteral("ImSet"));
    setWindowTitle(exporting ? tr("Export Setup") : tr("Import Setup"));
    OfferHelp(this, QStringLiteral("files.html#textexchange"));
    setModal(true);
    const TextExchangeOptions initial;

    auto* format = new QGroupBox(exporting ? tr("Format") : tr("Format:"), this);
    auto* formatLayout = new QVBoxLayout(format);
    const char* includeCaptions[] = {"Test Names in 1st Row", "Student Names in 1st Col",
                                     "Include Grades"};
    const bool includeInitially[] = {initial.testNamesRow, initial.studentNamesColumn,
                                     initial.includeGrades};
    for (int i = 0; i < (exporting ? 3 : 2); ++i) {
        auto* box = new QCheckBox(tr(includeCaptions[i]), format);
        box->setObjectName(QStringLiteral("Include%1").arg(i));
        box->setChecked(includeInitially[i]);
        formatLayout->addWidget(box);
        m_include[std::size_t(i)] = box;
    }
    auto* form = new QFormLayout;
    const QStringList items[] = {
        {QStringLiteral("{TAB}"), QStringLiteral(","), QStringLiteral("{SPACE}"),
         QStringLiteral(";")},
        {QStringLiteral("\""), QStringLiteral("'"), QStringLiteral("{NONE}")}};
    const QString initialText[] = {initial.separatorText, initial.delimiterText};
    const char* labels[] = {"Separator:", "Text delimiter:"};
    for (int i = 0; i < 2; ++i) {
        auto* combo = new QComboBox(format);
        combo->setObjectName(QStringLiteral("Separator%1").arg(i));
        // Any typed text is a separator or delimiter of its own; it does not join the list.
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->addItems(items[i]);
        combo->setCurrentText(initialText[i]);
        form->addRow(tr(labels[i]), combo);
        combo->setAccessibleName(tr(labels[i]).chopped(1));
        m_separator[std::size_t(i)] = combo;
    }
    formatLayout->addLayout(form);

    auto* side = new QVBoxLayout;
    if (exporting) {
        auto* block = new QGroupBox(tr("Export"), this);
        auto* blockLayout = new QVBoxLayout(block);
        const char* allCaptions[] = {"Selection", "All"};
        for (int i = 0; i < 2; ++i) {
            auto* option = new QRadioButton(tr(allCaptions[i]), block);
            option->setObjectName(QStringLiteral("All%1").arg(i));
            blockLayout->addWidget(option);
            m_all[std::size_t(i)] = option;
        }
        m_all[1]->setChecked(true);
        side->addWidget(block);
    }
    side->addStretch();
    const char* buttonCaptions[] = {"&Ok", "&Cancel"};
    for (int i = 0; i < 2; ++i) {
        auto* button = new QPushButton(tr(buttonCaptions[i]), this);
        button->setObjectName(QStringLiteral("Command1%1").arg(i));
        button->setDefault(i == 0);
        side->addWidget(button);
        connect(button, &QPushButton::clicked, this, i == 0 ? &QDialog::accept : &QDialog::reject);
    }

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(format);
    layout->addLayout(side);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::optional<TextExchangeOptions> TextExchangeSetupDialog::choose(const TextExchangeOptions& in) {
    if (m_kind == Export) m_all[in.selectionOnly ? 0 : 1]->setChecked(true);
    if (exec() != QDialog::Accepted) return std::nullopt;
    TextExchangeOptions out = in;
    out.testNamesRow = m_include[0]->isChecked();
    out.studentNamesColumn = m_include[1]->isChecked();
    out.includeGrades = m_kind == Export && m_include[2]->isChecked();
    out.separatorText = m_separator[0]->currentText();
    out.delimiterText = m_separator[1]->currentText();
    out.selectionOnly = m_kind == Export && m_all[0]->isChecked();
    return out;
}
