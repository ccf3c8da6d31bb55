#pragma once

#include "core/Libraries.h"

#include <QDialog>

#include <array>

class EditableLibrary;
class Prompter;
class QListWidget;
class QPushButton;

// "Default Scales": lists a library, the scales or the importance sets, and lets the teacher
// load an entry, delete one (not the first two, which new tests and gradebooks take), or add
// the set being edited under a new name. Each change is written to the library file at once.
class LibraryDialog : public QDialog {
    Q_OBJECT
public:
    enum Button { AddCurrent, Close, Delete, Load };
    // `library` has been read; the dialog lists its entries.
    LibraryDialog(EditableLibrary& library, Prompter& prompter, QWidget* parent = nullptr);

    // The entry chosen with "&Load" or a double click, or -1.
    int chosenIndex() const { return m_chosen; }
    QListWidget* list() const { return m_list; }
    QPushButton* button(Button b) const { return m_buttons[std::size_t(b)]; }

private:
    void updateButtons();
    void load();
    void deleteEntry();
    void addCurrent();

    EditableLibrary& m_library;
    Prompter& m_prompter;
    QListWidget* m_list;
    std::array<QPushButton*, 4> m_buttons{};
    int m_chosen = -1;
};

// Shows "Default Scales" modally over `parent` for the library that holds sets like `edited`:
// the file is read first (from `overrideDir` alone when it is given, and written back there),
// `libraries` keeps the entries and the count in step with it, and "&Add Current" renames
// `edited` before appending it. Returns the chosen library index, or -1; the caller loads it.
int ChooseFromLibrary(QWidget* parent, Prompter& prompter, Libraries& libraries, GradeScale& edited,
                      const QString& overrideDir = {});
int ChooseFromLibrary(QWidget* parent, Prompter& prompter, Libraries& libraries,
                      ImportanceSet& edited, const QString& overrideDir = {});
