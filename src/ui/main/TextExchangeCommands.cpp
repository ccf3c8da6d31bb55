#include "TextExchangeCommands.h"

#include "BusyCursor.h"
#include "FileCommands.h"
#include "GradeTableView.h"
#include "MainWindow.h"
#include "PanelCommands.h"
#include "Prompter.h"
#include "UndoCommands.h"
#include "core/NewGradebook.h"
#include "storage/TextExchange.h"
#include "ui/dialogs/TextExchangeSetupDialog.h"

using namespace Qt::Literals::StringLiterals;

namespace {

const QString TextFilter = u"Text (*.TXT *.txt);;All (*)"_s;

// The name the Save dialog proposes: the gradebook's own file name up to its first "." with
// "TXT" after it, or the name with ".TXT" added; ".TXT" while untitled. A dot in a folder's name
// is not the file's, so the text file stays beside the gradebook.
QString exportNamePreset(const QString& gradebookFile) {
    const qsizetype dot = gradebookFile.indexOf(u'.', gradebookFile.lastIndexOf(u'/') + 1);
    return dot < 0 ? gradebookFile + u".TXT"_s : gradebookFile.left(dot + 1) + u"TXT"_s;
}

} // namespace

TextExchangeCommands::TextExchangeCommands(MainWindow& window)
    : QObject(&window), m_window(window), m_book(window.gradebook()),
      m_exportSetup(new TextExchangeSetupDialog(TextExchangeSetupDialog::Export, &window)),
      m_importSetup(new TextExchangeSetupDialog(TextExchangeSetupDialog::Import, &window)) {}

void TextExchangeCommands::exportText() {
    const QString name = m_window.prompter().saveFileName(
        &m_window, exportNamePreset(m_book.fileName()), TextFilter, u"TXT"_s);
    if (name.isEmpty()) return;
    TextExchangeOptions block;
    const CellBlock selected = m_window.table()->selectionBlock();
    block.firstRow = selected.top;
    block.firstColumn = selected.left;
    block.lastRow = selected.bottom;
    block.lastColumn = selected.right;
    block.selectionOnly = block.lastRow > block.firstRow || block.lastColumn > block.firstColumn;
    const std::optional<TextExchangeOptions> options = m_exportSetup->choose(block);
    if (!options) return;

    BusyCursor busy;
    m_window.refreshCommand();
    const Result written = ExportText(m_book, name, *options);
    if (!written) m_window.prompter().tell(&m_window, written.message(), QMessageBox::Critical);
}

void TextExchangeCommands::importText() {
    if (!m_window.fileCommands().ConfirmSave()) return;
    const QString name = m_window.prompter().openFileName(&m_window, TextFilter);
    if (name.isEmpty()) return;
    const std::optional<TextExchangeOptions> options = m_importSetup->choose({});
    if (!options) return;

    // The import builds a new, untitled gradebook; whether there is unsaved work stays as the
    // save question left it.
    const bool modified = m_book.isModified();
    Result imported = Result::success();
    {
        BusyCursor busy;
        ResetToNew(m_book, m_window.libraries());
        imported = ImportText(m_book, name, *options, m_window.libraries());
    }
    m_window.fileCommands().setCaptionFromFile();
    if (!imported) m_window.prompter().tell(&m_window, imported.message(), QMessageBox::Critical);
    // Whatever was read, the panels and the student count show the gradebook as it now is.
    m_window.table()->setCurrentCell(1, 1);
    m_window.panelCommands().showWorkingMode();
    m_window.refreshCommand();
    m_book.setModified(modified);
    m_window.undoCommands().clear(!modified);
}
