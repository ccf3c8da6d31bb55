#pragma once

#include "storage/TextExchange.h"

#include <QDialog>

#include <array>
#include <optional>

class QCheckBox;
class QComboBox;
class QRadioButton;

// "Export Setup" and "Import Setup": how delimited text is laid out. The window builds one of
// each and keeps it for the run, so the teacher's choices stay for the next use, after Cancel
// too. Import has no grades and no block to choose.
class TextExchangeSetupDialog : public QDialog {
    Q_OBJECT
public:
    enum Kind { Export, Import };
    explicit TextExchangeSetupDialog(Kind kind, QWidget* parent = nullptr);

    // Shows the dialog with "Selection" preset from `in`; on "&Ok" hands back `in` with the
    // dialog's choices, nothing on "&Cancel".
    std::optional<TextExchangeOptions> choose(const TextExchangeOptions& in);

private:
    Kind m_kind;
    std::array<QCheckBox*, 3> m_include{}; // the third, "Include Grades", on export only
    std::array<QComboBox*, 2> m_separator{};
    std::array<QRadioButton*, 2> m_all{};
};
