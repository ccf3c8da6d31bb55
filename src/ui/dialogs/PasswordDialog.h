#pragma once

#include <QDialog>

class Prompter;
class QLineEdit;

// "Rassword verification": asks for the gradebook's password until it is given or the user
// cancels. The password shows as "?" for each character.
class PasswordDialog : public QDialog {
    Q_OBJECT
public:
    PasswordDialog(const QString& password, Prompter& prompter, QWidget* parent = nullptr);

    QLineEdit* passwordBox() const { return m_box; }

    // Shows the dialog modally; true when the right password was typed.
    static bool Verify(const QString& password, Prompter& prompter, QWidget* parent);

private:
    void tryPassword();

    QString m_password;
    Prompter& m_prompter;
    QLineEdit* m_box;
};
