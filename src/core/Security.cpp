#include "Security.h"

bool AccessNeeded(const Gradebook& book, int rule) {
    const SecurityRules& s = book.security();
    if (s.password.isEmpty() || book.acceptedPassword() == s.password)
        return false;
    return rule == AnyRule || (rule >= 0 && rule < ProtectRuleCount && s.protect[std::size_t(rule)]);
}

void Unlock(Gradebook& book) { book.setAcceptedPassword(book.security().password); }

void SetNameAsId(Gradebook& book, int row, bool showId) {
    if (row < 1 || row >= book.rowCount())
        return;
    StudentRecord& s = book.StudentOf(row);
    if ((s.showAsId != 0) != showId) {
        Gradebook::HeaderEditingOff off(book);
        const QString shown = book.GetCellText(row, 0);
        if (showId) {
            s.name = shown;
            book.SetCellText(row, 0, s.id.text());
        } else {
            s.id = shown;
            book.SetCellText(row, 0, s.name.text());
        }
    }
    s.showAsId = showId ? 1 : 0;
}

std::vector<std::int16_t> HideNames(Gradebook& book) {
    std::vector<std::int16_t> saved;
    for (int r = 1; r < book.rowCount(); ++r)
        saved.push_back(book.StudentOf(r).showAsId);
    if (!AccessNeeded(book, AccessNames))
        return saved;
    Gradebook::BatchUpdate batch(book);
    for (int r = 1; r < book.rowCount(); ++r)
        SetNameAsId(book, r, true);
    return saved;
}

void RestoreNames(Gradebook& book, const std::vector<std::int16_t>& savedShowAsId) {
    if (!book.security().protect[AccessNames])
        return;
    Gradebook::BatchUpdate batch(book);
    const int rows = std::min<int>(book.rowCount() - 1, int(savedShowAsId.size()));
    for (int r = 1; r <= rows; ++r) {
        const bool wanted = savedShowAsId[std::size_t(r - 1)] != 0;
        if ((book.StudentOf(r).showAsId != 0) != wanted)
            SetNameAsId(book, r, wanted);
        book.StudentOf(r).showAsId = savedShowAsId[std::size_t(r - 1)];
    }
}
