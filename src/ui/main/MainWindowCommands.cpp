// The main window's commands on the document: the panels' controls, tests, the clipboard.
#include "BusyCursor.h"
#include "ControlPanel.h"
#include "GradeTableModel.h"
#include "GradeTableView.h"
#include "MainWindow.h"
#include "NameHeader.h"
#include "Prompter.h"
#include "TextEntry.h"
#include "core/NewGradebook.h"
#include "core/NumberText.h"
#include "core/ScoreCell.h"
#include "core/Security.h"
#include "core/TestCommands.h"
#include "grading/Calculation.h"
#include "grading/ScoreEntry.h"
#include "grading/Sorting.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QToolButton>

namespace {

// Applies the student-count box on Enter; leaving the box applies it too.
class EnterFilter : public QObject {
public:
    EnterFilter(QObject* parent, std::function<void()> onEnter)
        : QObject(parent), m_onEnter(std::move(onEnter)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                m_onEnter();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_onEnter;
};

} // namespace

void MainWindow::connectPanel() {
    ControlPanel& p = *m_panel;
    connect(p.maxScore, &QLineEdit::textEdited, this, &MainWindow::onMaxScoreEdited);
    connect(p.maxScore, &QLineEdit::editingFinished, this, &MainWindow::onMaxScoreFinished);
    connect(p.importance, &QComboBox::activated, this, &MainWindow::onImportanceChosen);
    connect(p.calculateGrades, &QCheckBox::clicked, this, &MainWindow::onCalculateGradesClicked);
    connect(p.ignoreGrade, &QCheckBox::clicked, this, &MainWindow::onIgnoreClicked);
    connect(p.nameAsId, &QCheckBox::clicked, this, &MainWindow::onNameAsIdClicked);
    connect(p.showTotalScores, &QCheckBox::clicked, this, &MainWindow::onShowTotalClicked);
    connect(p.averagingGroup, &QButtonGroup::idClicked, this, &MainWindow::onAveragingClicked);
    connect(p.displayModeGroup, &QButtonGroup::idClicked, this, &MainWindow::onDisplayModeClicked);
    connect(p.modeGroup, &QButtonGroup::idClicked, this, &MainWindow::onWorkingModeClicked);
    for (QComboBox* rule : p.sortRule)
        connect(rule, &QComboBox::activated, this, &MainWindow::onSortRuleChosen);
    connect(p.refresh, &QPushButton::clicked, this, &MainWindow::refreshCommand);
    connect(p.newTest, &QPushButton::clicked, this, &MainWindow::addTest);
    connect(p.deleteTest, &QPushButton::clicked, this, &MainWindow::deleteTests);
    connect(p.scale, &QPushButton::clicked, this, &MainWindow::onScaleClicked);
    connect(p.info, &QPushButton::clicked, this, &MainWindow::onTestInfoClicked);
    connect(p.setImportance, &QPushButton::clicked, this, &MainWindow::onSetImportanceClicked);
    connect(p.studentButtons[0], &QPushButton::clicked, this, &MainWindow::deleteStudents);
    connect(p.studentButtons[1], &QPushButton::clicked, this, &MainWindow::insertStudent);
    p.studentCount->installEventFilter(new EnterFilter(this, [this] { applyStudentCount(); }));
    connect(p.studentCount, &QLineEdit::editingFinished, this, &MainWindow::applyStudentCount);
}

void MainWindow::connectEditor() {
    connect(m_editor, &QLineEdit::textEdited, this, &MainWindow::onEditorEdited);
    connect(m_editor, &CellEditor::stepHorizontal, this, &MainWindow::stepHorizontal);
    connect(m_editor, &CellEditor::stepVertical, this, &MainWindow::stepVertical);
    connect(m_editor, &CellEditor::toggleIgnore, this, [this] {
        if (m_table->currentColumn() >= 2) m_panel->ignoreGrade->click();
        focusEditor();
    });
    connect(m_editor, &CellEditor::clipboardCommand, this, [this](CellEditor::Clipboard command) {
        if (command == CellEditor::Clipboard::Paste)
            pasteCell();
        else
            copyCell(command == CellEditor::Clipboard::Cut);
    });
    connect(m_editor, &CellEditor::focusLost, this, &MainWindow::onEditorFocusLost);
    connect(m_table, &GradeTableView::keyTyped, this, &MainWindow::onTableKey);
    // A reshape resets the table's model; the current cell stays, or moves to the nearest one.
    connect(m_book, &Gradebook::aboutToReshape, this, [this] {
        m_cellBeforeReshape = {m_table->currentColumn(), m_table->currentRow()};
    });
    connect(m_book, &Gradebook::reshaped, this, [this] {
        m_table->setCurrentCell(std::min(m_cellBeforeReshape.y(), m_book->rowCount() - 1),
                                std::min(m_cellBeforeReshape.x(), m_book->columnCount() - 1));
    });
    connect(m_table, &GradeTableView::scrolled, this, &MainWindow::followScroll);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { RefreshCurrentCell(); });
    connect(m_table, &QAbstractItemView::pressed, this, [this] {
        if (m_book->headerEditing() != HeaderEditing::Off) endHeaderEdit();
    });
    connect(m_table, &QAbstractItemView::clicked, this, [this] { RefreshCurrentCell(); });
    connect(m_table->horizontalHeader(), &QHeaderView::sectionPressed, this, [this] {
        if (m_book->headerEditing() != HeaderEditing::Off) endHeaderEdit();
    });
    connect(m_table->verticalHeader(), &QHeaderView::sectionPressed, this, [this] {
        if (m_book->headerEditing() != HeaderEditing::Off) endHeaderEdit();
    });
    connect(m_table->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this,
            [this](int section) { startHeaderEdit(1, 1, section + 1); });
    connect(m_table->verticalHeader(), &QHeaderView::sectionDoubleClicked, this,
            [this](int section) { startHeaderEdit(2, section + 1, 1); });
}

void MainWindow::onMaxScoreEdited(const QString& text) {
    if (m_book->panelUpdating() || !m_panel->maxScore->isEnabled()) return;
    const int col = m_table->currentColumn();
    if (col < 2) return;
    m_book->MarkModified();
    if (!CheckAccess(EditScores)) {
        RefreshCurrentCell();
        return;
    }
    m_book->TestOf(col).maxScore = float(ReadLeadingNumber(text));
}

void MainWindow::onMaxScoreFinished() {
    const int col = m_table->currentColumn();
    if (m_book->panelUpdating() || col < 2) return;
    // The column's grades depend on the maximum as much as the totals do.
    RecalcColumn(*m_book, col);
    RefreshCurrentCell();
}

void MainWindow::onImportanceChosen(int index) {
    if (m_book->panelUpdating()) return;
    if (!CheckAccess(ChangeGradingRules)) {
        RefreshCurrentCell();
        return;
    }
    const QList<int> columns =
        wholeColumnsSelected() ? selectedTestColumns() : QList<int>{m_table->currentColumn()};
    for (int c : columns)
        if (c >= 2 && c < m_book->columnCount()) m_book->TestOf(c).importance = float(index);
    m_book->MarkModified();
    RecalcTotals(*m_book);
    RefreshCurrentCell();
}

void MainWindow::onCalculateGradesClicked() {
    if (m_book->panelUpdating()) return;
    const int col = m_table->currentColumn();
    if (col < 2 || !CheckAccess(ChangeGradingRules)) {
        RefreshCurrentCell();
        return;
    }
    const std::int16_t on = m_panel->calculateGrades->isChecked() ? 1 : 0;
    QList<int> columns{col};
    if (wholeColumnsSelected()) columns += selectedTestColumns();
    BusyCursor busy;
    for (int c : columns) {
        if (c < 2 || c >= m_book->columnCount() ||
            (c != col && m_book->TestOf(c).calculateGrades == on))
            continue;
        m_book->TestOf(c).calculateGrades = on;
        RecalcColumn(*m_book, c);
    }
    m_book->MarkModified();
    RefreshCurrentCell();
}

void MainWindow::onIgnoreClicked() {
    if (m_book->panelUpdating()) return;
    if (m_table->currentColumn() < 2 || !CheckAccess(ChangeGradingRules)) {
        RefreshCurrentCell();
        return;
    }
    SetIgnored(*m_book, selectedRows(), selectedTestColumns(), m_panel->ignoreGrade->isChecked());
    RefreshCurrentCell();
}

void MainWindow::onNameAsIdClicked() {
    if (m_book->panelUpdating()) return;
    const bool showId = m_panel->nameAsId->isChecked();
    // Showing IDs hides names and needs no password; showing names does.
    if (!CheckAccess(AccessNames) && !showId) {
        RefreshCurrentCell();
        return;
    }
    for (int r : selectedRows())
        SetNameAsId(*m_book, r, showId);
    m_book->MarkModified();
    RefreshCurrentCell();
}

void MainWindow::onShowTotalClicked() {
    if (m_book->panelUpdating()) return;
    if (!CheckAccess(ChangeGradingRules)) {
        RefreshCurrentCell();
        return;
    }
    m_book->view().showTotalScores = m_panel->showTotalScores->isChecked();
    m_book->MarkModified();
    RecalcTotals(*m_book);
    RefreshCurrentCell();
}

void MainWindow::onAveragingClicked(int rule) {
    if (m_book->panelUpdating()) return;
    if (!CheckAccess(ChangeGradingRules)) {
        RefreshCurrentCell();
        return;
    }
    SetAveragingRule(*m_book, rule == 0);
    RefreshCurrentCell();
}

void MainWindow::onSortRuleChosen() {
    if (m_book->panelUpdating()) return;
    m_book->view().studentSortRule = m_panel->sortRule[0]->currentIndex();
    m_book->view().testSortRule = m_panel->sortRule[1]->currentIndex();
    BusyCursor busy;
    const Result sorted = SortStudents(*m_book, m_table->currentColumn());
    SortTests(*m_book);
    if (!sorted) m_prompter->tell(this, sorted.message());
    RefreshCurrentCell();
}

void MainWindow::applyStudentCount() {
    // The question takes the focus, which finishes the box's editing once more.
    if (m_applyingCount) return;
    const QScopedValueRollback<bool> applying(m_applyingCount, true);
    const int n = int(ReadLeadingNumber(m_panel->studentCount->text()));
    const int rows = m_book->rowCount();
    if (n >= 1 && n <= 100 && n + 1 != rows) {
        if (n + 1 > rows) {
            m_book->setShape(n + 1, m_book->columnCount());
            m_book->MarkModified();
        } else {
            const QString question =
                u' ' + QString::number(rows - 1 - n) + QStringLiteral(" last row(s) will be lost!");
            if (m_prompter->ask(this, question, QMessageBox::Ok | QMessageBox::Cancel) ==
                QMessageBox::Ok) {
                m_book->setShape(n + 1, m_book->columnCount());
                m_book->MarkModified();
            }
        }
    }
    m_panel->studentCount->setText(QString::number(m_book->studentCount()));
    RefreshCurrentCell();
}

void MainWindow::addTest() {
    int col = m_table->currentColumn();
    const Result added = AddBlankTest(*m_book, col, m_libraries, QDate::currentDate());
    if (!added) {
        m_prompter->tell(this, added.message());
        return;
    }
    RecalcTotals(*m_book);
    if (m_book->headerEditing() != HeaderEditing::StudentNames) m_table->setCurrentCell(1, col);
    m_editor->clear();
    RefreshCurrentCell();
}

void MainWindow::insertStudent() {
    const int row = m_table->currentRow();
    if (row < 1) return;
    m_book->insertStudentRow(row, NewStudentRecord(), QStringLiteral("NewName"));
    m_book->MarkModified();
    m_table->setCurrentCell(row, m_table->currentColumn());
    RefreshCurrentCell();
}

void MainWindow::deleteStudents() {
    const int row = m_table->currentRow();
    if (row < 1) return;
    const QList<int> rows = selectedRows();
    if (wholeRowsSelected()) {
        int first = *std::min_element(rows.begin(), rows.end());
        const int last = *std::max_element(rows.begin(), rows.end());
        const bool everyone = first == 1 && last == m_book->rowCount() - 1;
        QString question =
            QStringLiteral("Deleting Selected Students: \n") + m_book->GetCellText(first, 0);
        if (last > first) question += QStringLiteral(" - ") + m_book->GetCellText(last, 0);
        if (m_prompter->ask(this, question, QMessageBox::Ok | QMessageBox::Cancel) !=
            QMessageBox::Ok)
            return;
        // With every student selected, the first row stays, emptied.
        if (everyone) first = 2;
        m_book->removeStudentRows(first, last - first + 1);
        if (everyone) {
            Gradebook::HeaderEditingOff off(*m_book);
            for (int c = 0; c < m_book->columnCount(); ++c)
                m_book->SetCellText(1, c, QString());
            m_book->StudentOf(1) = NewStudentRecord();
        }
        RecalcAll(*m_book);
    } else {
        if (m_book->rowCount() < 3) {
            QApplication::beep();
            m_prompter->tell(this, QStringLiteral("Can not delete last row!"));
            return;
        }
        const QString name = m_book->GetCellText(row, 0);
        const bool fresh = m_book->GetCellText(row, 1).isEmpty() &&
                           (name.isEmpty() || name == QStringLiteral("NewName"));
        if (!fresh && m_prompter->ask(this, QStringLiteral("Deleting Student: ") + name,
                                      QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
            return;
        m_book->removeStudentRows(row, 1);
    }
    m_book->MarkModified();
    m_table->setCurrentCell(std::min(row, m_book->rowCount() - 1), m_table->currentColumn());
    RefreshCurrentCell();
}

void MainWindow::deleteTests() {
    Gradebook::HeaderEditingOff off(*m_book);
    if (wholeColumnsSelected()) {
        QList<int> columns = selectedTestColumns();
        std::sort(columns.begin(), columns.end());
        if (columns.isEmpty()) return;
        const int first = columns.front(), last = columns.back();
        QString question =
            QStringLiteral("Deleting Selected Tests: \n") + m_book->GetCellText(0, first);
        if (last > first) question += QStringLiteral(" - ") + m_book->GetCellText(0, last);
        if (m_prompter->ask(this, question, QMessageBox::Ok | QMessageBox::Cancel) !=
            QMessageBox::Ok)
            return;
        m_book->removeTestColumns(first, last - first + 1);
    } else {
        const int col = m_table->currentColumn();
        const QString question = QStringLiteral("Deleting Test: ") + m_book->GetCellText(0, col);
        if (m_prompter->ask(this, question, QMessageBox::Ok | QMessageBox::Cancel) !=
                QMessageBox::Ok ||
            col < 2)
            return;
        m_book->removeTestColumns(col, 1);
    }
    // Numbering starts again once no test is left.
    if (m_book->columnCount() < 3) m_book->setNextTestNumber(0);
    m_book->MarkModified();
    RecalcTotals(*m_book);
    m_table->setCurrentCell(m_table->currentRow(),
                            std::min(m_table->currentColumn(), m_book->columnCount() - 1));
    RefreshCurrentCell();
}

void MainWindow::onScaleClicked() {
    // The scale editor opens here once it exists; the gate is already in place.
    CheckAccess(ChangeGradingRules);
    RefreshCurrentCell();
}

void MainWindow::onSetImportanceClicked() {
    if (CheckAccess(ChangeGradingRules)) RecalcTotals(*m_book);
    RefreshCurrentCell();
}

void MainWindow::onTestInfoClicked() {
    RefreshCurrentCell();
}

void MainWindow::copyCell(bool cut) {
    const int r = m_table->currentRow();
    const int c = m_table->currentColumn();
    if (c < 2) return;
    QGuiApplication::clipboard()->setText(ScoreOfCell(m_book->GetCellText(r, c)) +
                                          QStringLiteral("\r\n"));
    if (cut && CheckAccess(EditScores)) {
        EnterScore(*m_book, r, c, QString());
        RefreshCurrentCell();
    }
}

void MainWindow::pasteCell() {
    const int r = m_table->currentRow();
    const int c = m_table->currentColumn();
    if (c < 2) return;
    if (!CheckAccess(EditScores)) {
        m_prompter->tell(this, QStringLiteral("Security violation!"));
        return;
    }
    // One value: the first field of the first line, as the file can keep it.
    const QString text = QGuiApplication::clipboard()->text();
    const QString value = ToFileText(text.section(u'\n', 0, 0).section(u'\t', 0, 0).trimmed());
    EnterScore(*m_book, r, c, value);
    RefreshCurrentCell();
}

bool MainWindow::wholeColumnsSelected() const {
    const QItemSelection selection = m_table->selectionModel()->selection();
    for (const QItemSelectionRange& range : selection)
        if (range.bottom() - range.top() >= m_book->rowCount() - 2) return true;
    return false;
}

bool MainWindow::wholeRowsSelected() const {
    const QItemSelection selection = m_table->selectionModel()->selection();
    for (const QItemSelectionRange& range : selection)
        if (range.right() - range.left() >= m_book->columnCount() - 2) return true;
    return false;
}

QList<int> MainWindow::selectedTestColumns() const {
    QList<int> columns;
    for (const QModelIndex& i : m_table->selectionModel()->selectedIndexes()) {
        const int c = GradeTableModel::documentColumn(i);
        if (c >= 2 && !columns.contains(c)) columns << c;
    }
    const int current = m_table->currentColumn();
    if (columns.isEmpty() && current >= 2) columns << current;
    return columns;
}

QList<int> MainWindow::selectedRows() const {
    QList<int> rows;
    for (const QModelIndex& i : m_table->selectionModel()->selectedIndexes()) {
        const int r = GradeTableModel::documentRow(i);
        if (!rows.contains(r)) rows << r;
    }
    if (rows.isEmpty()) rows << m_table->currentRow();
    return rows;
}
