#pragma once

#include <QColor>
#include <QFont>
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <optional>

class QPrinter;
class QWidget;

// The table's font and its text colour, chosen together.
struct FontChoice {
    QFont font;
    QColor color;
};

// What the print dialog leaves to print.
enum class PrintRange { All, Selection };

// Message boxes and the system's common dialogs, reached through one small interface so that
// tests can answer them by script. Every box carries the title "Quillmark".
class Prompter {
public:
    virtual ~Prompter() = default;

    virtual QMessageBox::StandardButton ask(QWidget* parent, const QString& text,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::Icon icon = QMessageBox::NoIcon) = 0;
    virtual void tell(QWidget* parent, const QString& text,
                      QMessageBox::Icon icon = QMessageBox::NoIcon) = 0;
    // A question with buttons of its own ("&Recover", "&Discard"): the index of the button
    // chosen, the last one when the box is closed. By default asked as Yes (the first) or No.
    virtual int choose(QWidget* parent, const QString& text, const QStringList& buttons) {
        return ask(parent, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes
                   ? 0
                   : int(buttons.size()) - 1;
    }
    // A file name to write, or the empty text when cancelled.
    virtual QString saveFileName(QWidget* parent, const QString& preset, const QString& filter,
                                 const QString& defaultSuffix) = 0;
    // An existing file to read, or the empty text when cancelled.
    virtual QString openFileName(QWidget* parent, const QString& filter) = 0;
    // Nothing when cancelled.
    virtual std::optional<FontChoice> font(QWidget* parent, const QFont& initial,
                                           const QColor& initialColor) = 0;
    // The print dialog over `printer`, with no page range to enter and the choice of the
    // selection, made beforehand when `preselectSelection`. Nothing when cancelled.
    virtual std::optional<PrintRange> print(QWidget* parent, QPrinter& printer,
                                            bool preselectSelection) = 0;
};

// The real dialogs.
class DialogPrompter : public Prompter {
public:
    QMessageBox::StandardButton ask(QWidget* parent, const QString& text,
                                    QMessageBox::StandardButtons buttons,
                                    QMessageBox::Icon icon) override;
    void tell(QWidget* parent, const QString& text, QMessageBox::Icon icon) override;
    int choose(QWidget* parent, const QString& text, const QStringList& buttons) override;
    QString saveFileName(QWidget* parent, const QString& preset, const QString& filter,
                         const QString& defaultSuffix) override;
    QString openFileName(QWidget* parent, const QString& filter) override;
    std::optional<FontChoice> font(QWidget* parent, const QFont& initial,
                                   const QColor& initialColor) override;
    std::optional<PrintRange> print(QWidget* parent, QPrinter& printer,
                                    bool preselectSelection) override;
};

// The least width a window needs to show its whole title in a window manager's title bar: the
// title in a bold font with some to spare, and room for the window's icon and buttons.
int TitleFitWidth(const QString& title);
// Sets `window`'s least size to its layout's, widened to TitleFitWidth; call once it is built.
void FitTitle(QWidget* window);
// Resizes `window` to `wanted`, or less on a small or highly scaled screen, with room for the
// frame.
void ResizeWithinScreen(QWidget* window, QSize wanted);
