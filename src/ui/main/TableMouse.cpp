#include "TableMouse.h"

#include "BusyCursor.h"
#include "CellEditing.h"
#include "ClipboardCommands.h"
#include "ControlPanel.h"
#include "GradeTableView.h"
#include "MainWindow.h"
#include "NameHeader.h"
#include "core/TestCommands.h"
#include "grading/Calculation.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QMenu>
#include <QSignalBlocker>

TableMouse::TableMouse(MainWindow& window)
    : QObject(&window), m_window(window), m_cellMenu(new QMenu(&window)) {
    m_cellMenu->setObjectName(QStringLiteral("popGrade"));
    m_ignoreAction = m_cellMenu->addAction(tr("Ignore"));
    m_ignoreAction->setObjectName(QStringLiteral("popInclude"));
    m_ignoreAction->setCheckable(true);
    connect(m_ignoreAction, &QAction::triggered, this, [this] {
        m_window.panel()->ignoreGrade->click();
        m_ignoreAction->setChecked(m_window.panel()->ignoreGrade->isChecked());
    });
    m_cellMenu->addSeparator();
    const auto item = [&](const QString& text, const char* name, auto slot) {
        QAction* a = m_cellMenu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
    };
    item(tr("Cu&t"), "popcut", [this] { m_window.clipboardCommands().copy(true); });
    item(tr("&Copy"), "popcopy", [this] { m_window.clipboardCommands().copy(false); });
    item(tr("&Paste"), "popPaste", [this] { m_window.clipboardCommands().paste(); });

    GradeTableView* table = m_window.table();
    QHeaderView* tests = table->horizontalHeader();
    QHeaderView* names = table->verticalHeader();
    // A click on a name selects the test's column or the student's row, as in a spreadsheet;
    // a test's name pressed again and dragged carries the test to another place.
    tests->setSectionsClickable(true);
    names->setSectionsClickable(true);
    tests->setSectionsMovable(true);
    connect(tests, &QHeaderView::sectionMoved, this, &TableMouse::onTestDragged);

    for (QWidget* w : {static_cast<QWidget*>(table->viewport()), static_cast<QWidget*>(tests),
                       static_cast<QWidget*>(names)})
        w->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table->viewport(), &QWidget::customContextMenuRequested, this,
            [this, table](const QPoint& pos) {
                const QModelIndex i = table->indexAt(pos);
                if (i.isValid()) onRightButton(i.row() + 1, i.column() + 1, table->viewport(), pos);
            });
    connect(tests, &QWidget::customContextMenuRequested, this, [this, tests](const QPoint& pos) {
        const int section = tests->logicalIndexAt(pos);
        if (section >= 0) onRightButton(0, section + 1, tests, pos);
    });
    connect(names, &QWidget::customContextMenuRequested, this, [this, names](const QPoint& pos) {
        const int section = names->logicalIndexAt(pos);
        if (section >= 0) onRightButton(section + 1, 0, names, pos);
    });
}

void TableMouse::onRightButton(int row, int col, QWidget* source, const QPoint& pos) {
    Gradebook& book = m_window.gradebook();
    GradeTableView* table = m_window.table();
    if (book.headerEditing() != HeaderEditing::Off) m_window.cellEditing().endHeaderEdit();
    const CellBlock b = table->selectionBlock();
    const bool inRows = row >= b.top && row <= b.bottom;
    const bool inColumns = col >= b.left && col <= b.right;
    const bool inside = (inRows && (inColumns || (col == 0 && table->wholeRowsSelected()))) ||
                        (inColumns && (inRows || (row == 0 && table->wholeColumnsSelected())));
    if (!inside) {
        // A test's name selects its column, a student's name its row, a cell itself.
        const int r = row == 0 ? 1 : row;
        const int c = col == 0 ? 1 : col;
        table->setCurrentCell(r, c);
        QAbstractItemModel* model = table->model();
        const QModelIndex from = model->index(r - 1, c - 1);
        const QModelIndex to = model->index(row == 0 ? model->rowCount() - 1 : r - 1,
                                            col == 0 ? model->columnCount() - 1 : c - 1);
        table->selectionModel()->select(QItemSelection(from, to),
                                        QItemSelectionModel::ClearAndSelect);
        m_window.RefreshCurrentCell();
    }
    const CellBlock now = table->selectionBlock();
    const QPoint at = source->mapToGlobal(pos);
    const auto popUp = [&](const QString& name) {
        if (auto* menu = m_window.findChild<QMenu*>(name)) menu->exec(at);
    };
    if (row > 0 && col > 1 && row >= now.top && row <= now.bottom && col >= now.left &&
        col <= now.right) {
        m_ignoreAction->setChecked(m_window.panel()->ignoreGrade->isChecked());
        m_cellMenu->exec(at);
    } else if (row == 0 && col > 1 && col >= now.left && col <= now.right) {
        popUp(QStringLiteral("test"));
    } else if (row == 0 && col == 1 && table->currentColumn() == 1) {
        popUp(QStringLiteral("fina"));
    } else if (col == 0 && row > 0 && row >= now.top && row <= now.bottom) {
        popUp(QStringLiteral("student"));
    }
}

void TableMouse::onTestDragged(int logical, int oldVisual, int newVisual) {
    // The header only shows where the test was dropped; the document moves it, and the
    // header goes back to showing the document's order.
    QHeaderView* tests = m_window.table()->horizontalHeader();
    {
        const QSignalBlocker blocker(tests);
        tests->moveSection(newVisual, oldVisual);
    }
    Q_UNUSED(logical);
    const int from = oldVisual + 1;
    const int place = newVisual + 1;
    if (from < 2 || place < 2) return;
    Gradebook& book = m_window.gradebook();
    BusyCursor busy;
    // MoveTest puts the test in front of the column it is given.
    const int moved = MoveTest(book, from, place > from ? place + 1 : place);
    RecalcTotals(book);
    m_window.table()->setCurrentCell(m_window.table()->currentRow(), moved);
    m_window.RefreshCurrentCell();
}
