#include "Prompter.h"

#include "ui/dialogs/HelpWindow.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace {

const QString Title = QStringLiteral("Quillmark");

// A message box sizes itself to its text and fixes that size, so a minimum width has to come
// from its layout.
void FitTitle(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    grid->addItem(new QSpacerItem(TitleFitWidth(box.windowTitle()), 0, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

// The system's font dialog, with a button for the text colour beside it.
class FontColorDialog : public QDialog {
public:
    FontColorDialog(const QFont& font, const QColor& color, QWidget* parent)
        : QDialog(parent), m_fonts(new QFontDialog(font, this)), m_swatch(new QLabel(this)),
          m_color(color) {
        setObjectName(QStringLiteral("FontColor"));
        setWindowTitle(tr("Font"));
        m_fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
        m_fonts->setWindowFlags(Qt::Widget);
        m_fonts->setSizeGripEnabled(false);
        m_fonts->installEventFilter(this);
        // Enter and Escape in the font lists close the embedded dialog; it answers for the whole.
        connect(m_fonts, &QDialog::finished, this, &QDialog::done);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(m_fonts);
        auto* row = new QHBoxLayout;
        auto* pick = new QPushButton(tr("&Colour..."), this);
        pick->setAutoDefault(false); // Enter means OK
        pick->setObjectName(QStringLiteral("Colour"));
        connect(pick, &QPushButton::clicked, this, &FontColorDialog::pickColor);
        m_swatch->setObjectName(QStringLiteral("Swatch"));
        m_swatch->setFrameShape(QFrame::Box);
        row->addWidget(pick);
        row->addWidget(m_swatch);
        row->addStretch();
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        buttons->button(QDialogButtonBox::Ok)->setDefault(true);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        row->addWidget(buttons);
        layout->addLayout(row);
        showSwatch();
    }

    FontChoice choice() const { return {m_fonts->currentFont(), m_color}; }

protected:
    // The embedded dialog keeps an Enter that its lists and size box leave; it means OK here.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_fonts && event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                accept();
                return true;
            }
        }
        return QDialog::eventFilter(watched, event);
    }

private:
    void pickColor() {
        const QColor chosen = QColorDialog::getColor(m_color, this, tr("Colour"));
        if (!chosen.isValid()) return; // cancelled
        m_color = chosen;
        showSwatch();
    }

    void showSwatch() {
        const int side = fontMetrics().height();
        QPixmap swatch(2 * side, side);
        swatch.fill(m_color);
        m_swatch->setPixmap(swatch);
        m_swatch->setToolTip(m_color.name());
    }

    QFontDialog* m_fonts;
    QLabel* m_swatch;
    QColor m_color;
};

} // namespace

int TitleFitWidth(const QString& title) {
    QFont font = QApplication::font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    // A window manager draws the title in its own font, often larger than ours; the icon and
    // the three buttons each take about two lines' height.
    return metrics.horizontalAdvance(title) * 3 / 2 + 8 * metrics.height();
}

void FitTitle(QWidget* window) {
    QSize least(TitleFitWidth(window->windowTitle()), 0);
    if (const QLayout* layout = window->layout())
        least = least.expandedTo(layout->totalMinimumSize());
    window->setMinimumSize(least);
}

void ResizeWithinScreen(QWidget* window, QSize wanted) {
    window->resize(wanted.boundedTo(window->screen()->availableSize() * 9 / 10));
}

QMessageBox::StandardButton DialogPrompter::ask(QWidget* parent, const QString& text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::Icon icon) {
    QMessageBox box(icon, Title, text, buttons, parent);
    // OK and Cancel are asked only where OK destroys data (rows lost, deletions): a hasty Enter
    // must not do that. "Save your work?" keeps Yes.
    if (buttons.testFlags(QMessageBox::Ok | QMessageBox::Cancel)) {
        box.setDefaultButton(QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
    } else if (buttons.testFlag(QMessageBox::Yes)) {
        box.setDefaultButton(QMessageBox::Yes);
    }
    FitTitle(box);
    return QMessageBox::StandardButton(box.exec());
}

int DialogPrompter::choose(QWidget* parent, const QString& text, const QStringList& buttons) {
    QMessageBox box(QMessageBox::Question, Title, text, QMessageBox::NoButton, parent);
    QList<QAbstractButton*> added;
    for (qsizetype i = 0; i < buttons.size(); ++i)
        added << box.addButton(buttons[i], i + 1 == buttons.size() ? QMessageBox::RejectRole
                                                                   : QMessageBox::AcceptRole);
    if (!added.isEmpty()) box.setDefaultButton(qobject_cast<QPushButton*>(added.front()));
    FitTitle(box);
    box.exec();
    const qsizetype chosen = added.indexOf(box.clickedButton());
    return chosen < 0 ? int(buttons.size()) - 1 : int(chosen);
}

void DialogPrompter::tell(QWidget* parent, const QString& text, QMessageBox::Icon icon) {
    QMessageBox box(icon, Title, text, QMessageBox::Ok, parent);
    FitTitle(box);
    box.exec();
}

QString DialogPrompter::saveFileName(QWidget* parent, const QString& preset, const QString& filter,
                                     const QString& defaultSuffix) {
    QFileDialog dialog(parent, QObject::tr("Save As"), preset, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (!preset.isEmpty()) dialog.selectFile(preset);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString DialogPrompter::openFileName(QWidget* parent, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, QObject::tr("Open"), QString(), filter);
}

std::optional<FontChoice> DialogPrompter::font(QWidget* parent, const QFont& initial,
                                               const QColor& initialColor) {
    FontColorDialog dialog(initial, initialColor, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.choice();
}

std::optional<PrintRange> DialogPrompter::print(QWidget* parent, QPrinter& printer,
                                                bool preselectSelection) {
    printer.setPrintRange(preselectSelection ? QPrinter::Selection : QPrinter::AllPages);
    QPrintDialog dialog(&printer, parent);
    // No page range: the pages are laid out only once printing starts.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintSelection |
                      QAbstractPrintDialog::PrintCollateCopies |
                      QAbstractPrintDialog::PrintShowPageSize);
    OfferHelp(&dialog, QStringLiteral("files.html#print"));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return printer.printRange() == QPrinter::Selection ? PrintRange::Selection : PrintRange::All;
}
