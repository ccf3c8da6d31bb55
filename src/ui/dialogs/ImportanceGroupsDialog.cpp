#include "ImportanceGroupsDialog.h"

#include "SliderGrid.h"

ImportanceGroupsDialog::ImportanceGroupsDialog(const ImportanceSet& set, const Libraries& libraries,
                                               ChooseSet choose, Prompter& prompter,
                                               QWidget* parent)
    : SliderDialog(prompter, QStringLiteral("Deleting Importance Group"),
                   QStringLiteral("dialogs.html#importance"), parent),
      m_libraries(libraries), m_choose(std::move(choose)) {
    setObjectName(QStringLiteral("ImportanceGroups"));
    setWindowTitle(tr("Importance Groups"));
    addBox(Name, tr("Group Name:"));
    addBox(TopScore, tr("% of Total:"));
    addButton(0, tr("&Ins"), tr("Add new group"));
    addButton(1, tr("&Del"), tr("Remove selected group"));
    addButton(2, tr("&Load"), tr("Load presaved inportances"));
    grid()->setImportanceSet(set);
    grid()->setAccessibleName(tr("Importance groups"));
    grid()->setAccessibleDescription(tr("Each group and its share of the total"));
}

ImportanceSet ImportanceGroupsDialog::importanceSet() const {
    return grid()->importanceSet();
}

void ImportanceGroupsDialog::loadFromLibrary() {
    ImportanceSet edited = grid()->importanceSet();
    const int index = m_choose ? m_choose(this, edited) : -1;
    if (index >= 0)
        grid()->setImportanceSet(m_libraries.importanceSet(index));
    else if (!(edited.name == grid()->importanceSet().name)) // renamed by "&Add Current"
        grid()->setListName(edited.name.text());
    keepColumnAfterButton();
}
