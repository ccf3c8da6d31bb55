#pragma once

#include "SliderDialog.h"
#include "core/Libraries.h"

#include <functional>

// "Importance Groups": the gradebook's importance set on the slider grid, each group's column
// as wide as its share of the total. Used as SetScaleDialog is: on Accepted the caller takes
// importanceSet(); on either answer it stores the geometry.
class ImportanceGroupsDialog : public SliderDialog {
    Q_OBJECT
public:
    // Opens the library dialog over `parent` in importance mode and answers the chosen index,
    // or -1. It may rename `edited`; the name stays when nothing is loaded.
    using ChooseSet = std::function<int(QWidget* parent, ImportanceSet& edited)>;

    // `libraries` is read when "&Load" has chosen an entry, so it must outlive the dialog.
    ImportanceGroupsDialog(const ImportanceSet& set, const Libraries& libraries, ChooseSet choose,
                           Prompter& prompter, QWidget* parent = nullptr);

    ImportanceSet importanceSet() const;

private:
    void loadFromLibrary() override;

    const Libraries& m_libraries;
    ChooseSet m_choose;
};
