#include "PreviewDialog.h"

#include "HelpWindow.h"
#include "ui/main/Prompter.h"

#include <QDialogButtonBox>
#include <QTreeWidget>
#include <QVBoxLayout>

PreviewDialog::PreviewDialog(const QStringList& columns, const QString& description,
                             const QString& helpPage, QWidget* parent)
    : QDialog(parent), m_preview(new QTreeWidget) {
    OfferHelp(this, helpPage);
    m_preview->setHeaderLabels(columns);
    m_preview->setRootIsDecorated(false);
    m_preview->setAccessibleName(tr("Preview"));
    m_preview->setAccessibleDescription(description);
}

void PreviewDialog::layOut(QLayout* options, int widthInChars) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(options);
    layout->addWidget(m_preview);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    ResizeWithinScreen(
        this, {fontMetrics().averageCharWidth() * widthInChars, fontMetrics().height() * 28});
}

void PreviewDialog::fitColumns() {
    for (int c = 0; c < m_preview->columnCount(); ++c)
        m_preview->resizeColumnToContents(c);
}
