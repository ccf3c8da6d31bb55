#include "Importance.h"

#include "core/NumberText.h"

QString GroupDisplayText(const ImportanceGroup& group) {
    return group.name.text() + QStringLiteral(" (") + FormatWholeOrEmpty(group.percentOfTotal) +
           QStringLiteral("%)");
}

QStringList ImportanceListItems(const ImportanceSet& set) {
    QStringList items;
    for (int i = 0; i < set.used(); ++i)
        items << GroupDisplayText(set.steps[std::size_t(i)]);
    return items;
}
