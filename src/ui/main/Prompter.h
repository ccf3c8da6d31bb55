#pragma once

#include <QFont>
#include <QMessageBox>
#include <QString>

#include <optional>

class QWidget;

// Message boxes and the system's common dialogs, reached through one small interface so that
// tests can answer them by script. Every box carries the title "Quillmark".
class Prompter {
public:
    virtual ~Prompter() = default;

    virtual QMessageBox::StandardButton ask(QWidget* parent, const QString& text,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::Icon icon = QMessageBox::NoIcon) = 0;
    virtual void tell(QWidget* parent, const QString& text,
                      QMessageBox::Icon icon = QMessageBox::NoIcon) = 0;
    // A file name to write, or the empty text when cancelled.
    virtual QString saveFileName(QWidget* parent, const QString& preset, const QString& filter,
                                 const QString& defaultSuffix) = 0;
    // An existing file to read, or the empty text when cancelled.
    virtual QString openFileName(QWidget* parent, const QString& filter) = 0;
    virtual std::optional<QFont> font(QWidget* parent, const QFont& initial) = 0;
};

// The real dialogs.
class DialogPrompter : public Prompter {
public:
    QMessageBox::StandardButton ask(QWidget* parent, const QString& text,
                                    QMessageBox::StandardButtons buttons,
                                    QMessageBox::Icon icon) override;
    void tell(QWidget* parent, const QString& text, QMessageBox::Icon icon) override;
    QString saveFileName(QWidget* parent, const QString& preset, const QString& filter,
                         const QString& defaultSuffix) override;
    QString openFileName(QWidget* parent, const QString& filter) override;
    std::optional<QFont> font(QWidget* parent, const QFont& initial) override;
};
