#include "Prompter.h"

#include <QFileDialog>
#include <QFontDialog>

namespace {
const QString Title = QStringLiteral("Quillmark");
} // namespace

QMessageBox::StandardButton DialogPrompter::ask(QWidget* parent, const QString& text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::Icon icon) {
    QMessageBox box(icon, Title, text, buttons, parent);
    return QMessageBox::StandardButton(box.exec());
}

void DialogPrompter::tell(QWidget* parent, const QString& text, QMessageBox::Icon icon) {
    QMessageBox box(icon, Title, text, QMessageBox::Ok, parent);
    box.exec();
}

QString DialogPrompter::saveFileName(QWidget* parent, const QString& preset, const QString& filter,
                                     const QString& defaultSuffix) {
    QFileDialog dialog(parent, QObject::tr("Save As"), preset, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (!preset.isEmpty()) dialog.selectFile(preset);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString DialogPrompter::openFileName(QWidget* parent, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, QObject::tr("Open"), QString(), filter);
}

std::optional<QFont> DialogPrompter::font(QWidget* parent, const QFont& initial) {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, parent);
    return ok ? std::optional<QFont>(chosen) : std::nullopt;
}
