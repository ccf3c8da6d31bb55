#pragma once

#include <QDialog>

#include <optional>

class QLineEdit;

// "New Scale": asks for the name under which the set being edited joins its library.
class NewScaleDialog : public QDialog {
    Q_OBJECT
public:
    explicit NewScaleDialog(QWidget* parent = nullptr);

    QLineEdit* nameBox() const { return m_name; }
    // The name confirmed with "OK": the box's text, or "(noname)" when the box is empty.
    QString name() const;

    // Shows the dialog modally; nothing when it was cancelled.
    static std::optional<QString> AskName(QWidget* parent);

private:
    QLineEdit* m_name;
};
