#pragma once

#include "core/Records.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QLineEdit;

// The gradebook's lock: which kinds of operation the password guards, and the password.
// Works on a copy of the rules and hands it back on "&Ok".
class SecurityRulesDialog : public QDialog {
    Q_OBJECT
public:
    SecurityRulesDialog(const SecurityRules& rules, QWidget* parent = nullptr);

    SecurityRules rules() const;
    QLineEdit* passwordBox() const { return m_password; }
    QCheckBox* protectBox(int rule) const { return m_protect[std::size_t(rule)]; }

private:
    std::array<QCheckBox*, ProtectRuleCount> m_protect{};
    QLineEdit* m_password;
};
