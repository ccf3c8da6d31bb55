#include "Security.h"

#include "StudentCommands.h"

bool AccessNeeded(const Gradebook& book, int rule) {
    const SecurityRules& s = book.security();
    if (s.password.isEmpty() || book.acceptedPassword() == s.password) return false;
    return rule == AnyRule ||
           (rule >= 0 && rule < ProtectRuleCount && s.protect[std::size_t(rule)]);
}

void Unlock(Gradebook& book) {
    book.setAcceptedPassword(book.security().password);
}

void SetNameAsId(Gradebook& book, int row, bool showId) {
    if (row < 1 || row >= book.rowCount()) return;
    StudentRecord& s = book.StudentOf(row);
    const bool switching = (s.showAsId != 0) != showId;
    if (switching) KeepShownName(book, row);
    s.showAsId = showId ? 1 : 0;
    if (switching) ShowChosenName(book, row);
}

void ChooseNameAsId(Gradebook& book, int row, bool showId) {
    SetNameAsId(book, row, showId);
    if (row >= 1 && row < book.rowCount())
        book.StudentOf(row).savedShowAsId = book.StudentOf(row).showAsId;
}

void HideNames(Gradebook& book) {
    for (int r = 1; r < book.rowCount(); ++r)
        book.StudentOf(r).savedShowAsId = book.StudentOf(r).showAsId;
    if (!AccessNeeded(book, AccessNames)) return;
    Gradebook::BatchUpdate batch(book);
    for (int r = 1; r < book.rowCount(); ++r)
        SetNameAsId(book, r, true);
}

void RestoreNames(Gradebook& book) {
    if (!book.security().protect[AccessNames]) return;
    Gradebook::BatchUpdate batch(book);
    for (int r = 1; r < book.rowCount(); ++r) {
        StudentRecord& s = book.StudentOf(r);
        const std::int16_t wanted = s.savedShowAsId;
        if ((s.showAsId != 0) != (wanted != 0)) SetNameAsId(book, r, wanted != 0);
        s.showAsId = wanted;
    }
}
