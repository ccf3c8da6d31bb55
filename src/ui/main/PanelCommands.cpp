#include "PanelCommands.h"

#include "BusyCursor.h"
#include "CellEditing.h"
#include "CellEditor.h"
#include "ChartPanel.h"
#include "ControlPanel.h"
#include "GradeTableView.h"
#include "MainWindow.h"
#include "Prompter.h"
#include "core/NumberText.h"
#include "core/Security.h"
#include "grading/Calculation.h"
#include "grading/Importance.h"
#include "grading/ScoreEntry.h"
#include "grading/Sorting.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

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

// Sets the document's panel-updating flag for a scope, so that the handlers of the controls
// being filled do nothing.
class PanelUpdating {
public:
    explicit PanelUpdating(Gradebook& book) : m_book(book) { book.setPanelUpdating(true); }
    ~PanelUpdating() { m_book.setPanelUpdating(false); }
    PanelUpdating(const PanelUpdating&) = delete;
    PanelUpdating& operator=(const PanelUpdating&) = delete;

private:
    Gradebook& m_book;
};

} // namespace

PanelCommands::PanelCommands(MainWindow& window, QWidget* sidePanel)
    : QObject(&window), m_window(window), m_book(window.gradebook()), m_table(window.table()),
      m_panel(*window.panel()), m_sidePanel(sidePanel),
      m_chart(new ChartPanel(m_book, m_panel.chartArea)) {
    ControlPanel& p = m_panel;
    auto* chartLayout = new QVBoxLayout(p.chartArea);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    chartLayout->addWidget(m_chart);
    connect(p.maxScore, &QLineEdit::textEdited, this, &PanelCommands::onMaxScoreEdited);
    connect(p.maxScore, &QLineEdit::editingFinished, this, &PanelCommands::onMaxScoreFinished);
    connect(p.importance, &QComboBox::activated, this, &PanelCommands::onImportanceChosen);
    connect(p.calculateGrades, &QCheckBox::clicked, this, &PanelCommands::onCalculateGradesClicked);
    connect(p.ignoreGrade, &QCheckBox::clicked, this, &PanelCommands::onIgnoreClicked);
    connect(p.nameAsId, &QCheckBox::clicked, this, &PanelCommands::onNameAsIdClicked);
    connect(p.showTotalScores, &QCheckBox::clicked, this, &PanelCommands::onShowTotalClicked);
    connect(p.averagingGroup, &QButtonGroup::idClicked, this, &PanelCommands::onAveragingClicked);
    connect(p.displayModeGroup, &QButtonGroup::idClicked, this,
            &PanelCommands::onDisplayModeClicked);
    connect(p.modeGroup, &QButtonGroup::idClicked, this, &PanelCommands::onWorkingModeClicked);
    for (QComboBox* rule : p.sortRule)
        connect(rule, &QComboBox::activated, this, &PanelCommands::onSortRuleChosen);
    p.studentCount->installEventFilter(new EnterFilter(this, [this] { applyStudentCount(); }));
    connect(p.studentCount, &QLineEdit::editingFinished, this, &PanelCommands::applyStudentCount);
}

void PanelCommands::onMaxScoreEdited(const QString& text) {
    if (m_book.panelUpdating() || !m_panel.maxScore->isEnabled()) return;
    const int col = m_table->currentColumn();
    if (col < 2) return;
    m_book.MarkModified();
    if (!m_window.CheckAccess(EditScores)) {
        m_window.RefreshCurrentCell();
        return;
    }
    m_book.TestOf(col).maxScore = float(ReadLeadingNumber(text));
}

void PanelCommands::onMaxScoreFinished() {
    const int col = m_table->currentColumn();
    if (m_book.panelUpdating() || col < 2) return;
    // The column's grades depend on the maximum as much as the totals do.
    RecalcColumn(m_book, col);
    // Left by Tab, a click or another control's letter, the box does not call the focus back
    // to the table; after Enter, which keeps it in the box, it does.
    m_panel.maxScore->hasFocus() ? m_window.RefreshCurrentCell() : m_window.RefreshLeavingFocus();
}

void PanelCommands::onImportanceChosen(int index) {
    if (m_book.panelUpdating()) return;
    if (!m_window.CheckAccess(ChangeGradingRules)) {
        m_window.RefreshCurrentCell();
        return;
    }
    const QList<int> columns = m_table->wholeColumnsSelected()
                                   ? m_table->selectedTestColumns()
                                   : QList<int>{m_table->currentColumn()};
    for (int c : columns)
        if (c >= 2 && c < m_book.columnCount()) m_book.TestOf(c).importance = float(index);
    m_book.MarkModified();
    RecalcTotals(m_book);
    m_window.RefreshCurrentCell();
}

void PanelCommands::onCalculateGradesClicked() {
    if (m_book.panelUpdating()) return;
    const int col = m_table->currentColumn();
    if (col < 2 || !m_window.CheckAccess(ChangeGradingRules)) {
        m_window.RefreshCurrentCell();
        return;
    }
    const std::int16_t on = m_panel.calculateGrades->isChecked() ? 1 : 0;
    QList<int> columns{col};
    if (m_table->wholeColumnsSelected()) columns += m_table->selectedTestColumns();
    BusyCursor busy;
    int first = col, last = col;
    for (int c : columns) {
        if (c < 2 || c >= m_book.columnCount()) continue;
        m_book.TestOf(c).calculateGrades = on;
        first = std::min(first, c);
        last = std::max(last, c);
    }
    // One pass over the changed columns, and the totals once.
    RecalcColumns(m_book, first, last);
    m_book.MarkModified();
    m_window.RefreshCurrentCell();
}

void PanelCommands::onIgnoreClicked() {
    if (m_book.panelUpdating()) return;
    if (m_table->currentColumn() < 2 || !m_window.CheckAccess(ChangeGradingRules)) {
        m_window.RefreshCurrentCell();
        return;
    }
    SetIgnored(m_book, m_table->selectedRows(), m_table->selectedTestColumns(),
               m_panel.ignoreGrade->isChecked());
    m_window.RefreshCurrentCell();
}

void PanelCommands::onNameAsIdClicked() {
    if (m_book.panelUpdating()) return;
    const bool showId = m_panel.nameAsId->isChecked();
    // Showing IDs hides names and needs no password; showing names does.
    if (!m_window.CheckAccess(AccessNames) && !showId) {
        m_window.RefreshCurrentCell();
        return;
    }
    for (int r : m_table->selectedRows())
        ChooseNameAsId(m_book, r, showId);
    m_book.MarkModified();
    m_window.RefreshCurrentCell();
}

void PanelCommands::onShowTotalClicked() {
    if (m_book.panelUpdating()) return;
    if (!m_window.CheckAccess(ChangeGradingRules)) {
        m_window.RefreshCurrentCell();
        return;
    }
    m_book.view().showTotalScores = m_panel.showTotalScores->isChecked();
    m_book.MarkModified();
    RecalcTotals(m_book);
    m_window.RefreshCurrentCell();
}

void PanelCommands::onAveragingClicked(int rule) {
    if (m_book.panelUpdating()) return;
    if (!m_window.CheckAccess(ChangeGradingRules)) {
        m_window.RefreshCurrentCell();
        return;
    }
    SetAveragingRule(m_book, rule == 0);
    m_window.RefreshCurrentCell();
}

void PanelCommands::onSortRuleChosen() {
    if (m_book.panelUpdating()) return;
    m_book.view().studentSortRule = m_panel.sortRule[0]->currentIndex();
    m_book.view().testSortRule = m_panel.sortRule[1]->currentIndex();
    BusyCursor busy;
    const Result sorted = SortStudents(m_book, m_table->currentColumn());
    SortTests(m_book);
    if (!sorted) m_window.prompter().tell(&m_window, sorted.message());
    m_window.RefreshCurrentCell();
}

void PanelCommands::applyStudentCount() {
    // The question takes the focus, which finishes the box's editing once more.
    if (m_applyingCount) return;
    const bool left = !m_panel.studentCount->hasFocus(); // as for the Max Score box
    const QScopedValueRollback<bool> applying(m_applyingCount, true);
    const int n = int(ReadLeadingNumber(m_panel.studentCount->text()));
    const int rows = m_book.rowCount();
    if (n >= 1 && n <= 100 && n + 1 != rows) {
        if (n + 1 > rows) {
            m_book.setShape(n + 1, m_book.columnCount());
            m_book.MarkModified();
        } else {
            const QString question =
                u' ' + QString::number(rows - 1 - n) + QStringLiteral(" last row(s) will be lost!");
            if (m_window.prompter().ask(&m_window, question,
                                        QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok) {
                m_book.setShape(n + 1, m_book.columnCount());
                m_book.MarkModified();
            }
        }
    }
    m_panel.studentCount->setText(QString::number(m_book.studentCount()));
    left ? m_window.RefreshLeavingFocus() : m_window.RefreshCurrentCell();
}

void PanelCommands::showWorkingMode() {
    const int mode = m_book.view().workingMode == WorkingMode::Edit ? 0 : 1;
    m_panel.mode[std::size_t(mode)]->setChecked(true);
    onWorkingModeClicked(mode);
}

void PanelCommands::onWorkingModeClicked(int mode) {
    m_book.view().workingMode = mode == 0 ? WorkingMode::Edit : WorkingMode::Analyze;
    const bool edit = mode == 0;
    m_panel.studentAndTest->setVisible(edit && !m_hideControls);
    m_panel.chartArea->setVisible(!edit && !m_hideControls);
    if (chartShowing()) m_chart->draw(m_table->currentRow(), m_table->currentColumn());
    m_window.syncViewMenus();
    if (m_window.editor()->isVisible() && m_window.editor()->isEnabled()) {
        m_window.editor()->raise();
        m_window.cellEditing().focusEditor();
    }
}

bool PanelCommands::chartShowing() const {
    return m_book.view().workingMode == WorkingMode::Analyze && !m_hideControls;
}

void PanelCommands::onDisplayModeClicked(int mode) {
    if (m_book.panelUpdating()) return;
    if (!m_window.CheckAccess(ChangeGradingRules)) {
        m_window.RefreshCurrentCell(); // puts the stored mode back
        return;
    }
    m_book.view().displayMode = DisplayMode(mode);
    m_book.MarkModified();
    {
        BusyCursor busy;
        RecalcAll(m_book);
    }
    m_window.RefreshCurrentCell();
}

void PanelCommands::toggleHideControls() {
    m_hideControls = !m_hideControls;
    m_sidePanel->setVisible(!m_hideControls);
    showWorkingMode();
    m_window.refreshSoon(); // the table changed its width
}

void PanelCommands::chooseFont() {
    const std::optional<FontChoice> choice = m_window.prompter().font(
        &m_window, m_table->font(), m_table->palette().color(QPalette::Text));
    if (!choice) return;
    applyTextColor(choice->color);
    applyFont(choice->font);
}

void PanelCommands::applyFont(const QFont& font) {
    // The panel's name label keeps the panel's own font: only the table and its editor change.
    m_table->setFont(font);
    m_table->horizontalHeader()->setFont(font);
    m_table->verticalHeader()->setFont(font);
    m_window.editor()->setFont(font);
    m_window.RefreshCurrentCell();
}

void PanelCommands::applyTextColor(const QColor& color) {
    for (QWidget* w : {static_cast<QWidget*>(m_table), static_cast<QWidget*>(m_window.editor())}) {
        QPalette palette = w->palette();
        palette.setColor(QPalette::Text, color);
        w->setPalette(palette);
    }
}

void PanelCommands::fill(int r, int c) {
    PanelUpdating updating(m_book);
    ControlPanel& p = m_panel;
    const bool total = c == 1;
    const bool test = c >= 2 && c < m_book.columnCount();

    // The importance list and Calculate Grades on a test column, the averaging rules on any
    // other: the two share one place, so nothing else in the panel moves.
    p.columnOptions->setCurrentWidget(test ? p.testOptions : p.totalOptions);
    // The maximum keeps its place, greyed with its label, where there is no test.
    p.maxScoreLabel->setEnabled(test);
    p.maxScore->setEnabled(test);
    p.ignoreGrade->setEnabled(test);
    p.showTotalScores->setVisible(total);
    p.showTotalScores->setChecked(m_book.view().showTotalScores);
    p.averaging->setVisible(!test);
    for (auto* b : p.averagingRule)
        b->setEnabled(c >= 1);
    const bool graded = c >= 1 && c < m_book.columnCount() && m_book.TestOf(c).calculateGrades;
    p.scale->setEnabled(graded);
    p.info->setEnabled(c >= 1 && c < m_book.columnCount());
    p.deleteTest->setEnabled(test);

    const bool studentRow = r >= 1 && r < m_book.rowCount();
    p.nameAsId->setChecked(studentRow && m_book.StudentOf(r).showAsId != 0);
    p.studentName->setText(m_book.GetCellText(r, 0));

    if (test) {
        TestRecord& t = m_book.TestOf(c);
        p.maxScore->setText(FormatGeneral(t.maxScore));
        const QStringList items = ImportanceListItems(m_book.importanceSet());
        if (p.importance->count() != items.size() || [&] {
                for (int i = 0; i < items.size(); ++i)
                    if (p.importance->itemText(i) != items[i]) return true;
                return false;
            }()) {
            p.importance->clear();
            p.importance->addItems(items);
        }
        // A group the set no longer has shows as the first group, and becomes it.
        if (!(t.importance >= 0 && t.importance < p.importance->count())) t.importance = 0;
        p.importance->setCurrentIndex(int(t.importance));
        p.calculateGrades->setChecked(t.calculateGrades != 0);
        p.ignoreGrade->setChecked(studentRow && !m_book.isIncluded(r, c));
    } else {
        p.averagingRule[0]->setChecked(UsesScoresRule(m_book));
        p.averagingRule[1]->setChecked(!UsesScoresRule(m_book));
        p.ignoreGrade->setChecked(false);
    }
    const int mode = int(m_book.view().displayMode);
    p.displayMode[std::size_t(mode)]->setChecked(true);
    p.sortRule[0]->setCurrentIndex(m_book.view().studentSortRule);
    p.sortRule[1]->setCurrentIndex(m_book.view().testSortRule);
    p.studentCount->setText(QString::number(m_book.studentCount()));

    p.testFrame->setTitle(test ? tr("Current Test: ") + m_book.GetCellText(0, c)
                               : tr("Current Test: None"));
    p.studentButtons[0]->setEnabled(r >= 1);
    p.studentButtons[1]->setEnabled(r >= 1);
    p.studentButtons[2]->setEnabled(r >= 1);
    if (chartShowing()) m_chart->draw(r, c);
}
