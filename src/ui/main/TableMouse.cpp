#include "TableMouse.h"

#include "BusyCursor.h"
#include "CellEditing.h"
#include "ClipboardCommands.h"
#include "ControlPanel.h"
#include "GradeTableView.h"
#include "MainWindow.h"
#include "NameHeader.h"
#include "UndoCommands.h"
#include "core/TestCommands.h"
#include "grading/Calculation.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>

namespace {

// The pointer while a test is dragged: an insertion mark where it may be dropped, a barred
// circle where it may not.
QCursor DragCursor(bool allowed) {
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    if (allowed) {
        p.setBrush(QColor(0, 0, 128));
        p.drawRect(14, 8, 3, 22);
        p.drawPolygon(QPolygon({QPoint(8, 1), QPoint(23, 1), QPoint(15, 9)}));
    } else {
        p.setPen(QPen(QColor(192, 0, 0), 4));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPoint(16, 16), 11, 11);
        p.drawLine(8, 8, 24, 24);
    }
    p.end();
    return QCursor(picture, 15, allowed ? 9 : 16);
}

} // namespace

TableMouse::TableMouse(MainWindow& window)
    : QObject(&window), m_window(window), m_cellMenu(new QMenu(&window)),
      m_dropCursor(DragCursor(true)), m_noDropCursor(DragCursor(false)) {
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
    tests->setSectionsMovable(false);
    m_namesViewport = tests->viewport();
    tests->viewport()->installEventFilter(this);
    connect(tests, &QHeaderView::sectionMoved, this, &TableMouse::onSectionMoved);

    // A scroll area's viewport hands its context menu events to the area, which reports them
    // in the viewport's coordinates.
    for (QWidget* w :
         {static_cast<QWidget*>(table), static_cast<QWidget*>(tests), static_cast<QWidget*>(names)})
        w->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table, &QWidget::customContextMenuRequested, this, [this, table](const QPoint& pos) {
        const QModelIndex i = table->indexAt(pos);
        if (i.isValid()) onRightButton(i.row() + 1, i.column() + 1, table->viewport(), pos);
    });
    // The editor covers the current cell: a right click on it, the Menu key or Shift+F10 pop up
    // the cell's menu, not the editor's own, whose Undo and Delete would pass by the history.
    QWidget* editor = m_window.editor();
    editor->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(editor, &QWidget::customContextMenuRequested, this,
            [this, table, editor](const QPoint& pos) {
                onRightButton(table->currentRow(), table->currentColumn(), editor, pos);
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
        auto* menu = m_window.findChild<QMenu*>(name);
        if (!menu) return;
        const auto showExtras = [menu](bool on) {
            for (QAction* a : menu->actions())
                if (a->property("popupOnly").toBool()) a->setVisible(on);
        };
        showExtras(true);
        menu->exec(at);
        showExtras(false);
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

bool TableMouse::eventFilter(QObject* watched, QEvent* event) {
    // Events reach here while the window is being destroyed, so the window is asked nothing
    // before the event is known to be ours; and only a mouse event may be read as one.
    const QEvent::Type type = event->type();
    if (watched != m_namesViewport ||
        (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
         type != QEvent::MouseButtonRelease))
        return false;
    QHeaderView* tests = m_window.table()->horizontalHeader();
    const auto* mouse = static_cast<QMouseEvent*>(event);
    switch (type) {
    case QEvent::MouseButtonPress:
        if (mouse->button() == Qt::LeftButton) onNamePress(mouse->position().toPoint());
        break;
    case QEvent::MouseMove:
        if (m_dragging)
            tests->viewport()->setCursor(
                dropColumn(mouse->position().toPoint()) != 0 ? m_dropCursor : m_noDropCursor);
        break;
    case QEvent::MouseButtonRelease:
        if (m_dragging && mouse->button() == Qt::LeftButton) {
            m_dragging = false;
            tests->viewport()->unsetCursor();
            // The header finishes its own drag on this release; the test moves after it.
            const int target = dropColumn(mouse->position().toPoint());
            QMetaObject::invokeMethod(
                this,
                [this, tests, source = m_dragSource, target] {
                    tests->setSectionsMovable(false);
                    if (target != 0) dropTest(source, target);
                },
                Qt::QueuedConnection);
        }
        break;
    default:
        break;
    }
    return false;
}

void TableMouse::onNamePress(const QPoint& pos) {
    QHeaderView* tests = m_window.table()->horizontalHeader();
    const int section = tests->logicalIndexAt(pos);
    const int col = section < 0 ? m_window.gradebook().columnCount() : section + 1;
    const bool second = m_dragArmed && m_dragSource == col;
    m_dragArmed = !second;
    m_dragSource = col;
    bool drag = second && col >= 2;
    if (drag && m_window.gradebook().headerEditing() != HeaderEditing::Off) {
        m_window.cellEditing().endHeaderEdit();
        m_window.RefreshCurrentCell();
        drag = false;
    }
    // The header moves a section only while it is movable, so the first press merely
    // selects the test and arms the drag.
    tests->setSectionsMovable(drag);
    m_dragging = drag;
}

int TableMouse::dropColumn(const QPoint& pos) const {
    const QHeaderView* tests = m_window.table()->horizontalHeader();
    if (!tests->viewport()->rect().contains(pos)) return 0;
    const int section = tests->logicalIndexAt(pos);
    const int col = section < 0 ? m_window.gradebook().columnCount() : section + 1;
    return col >= 2 && col != m_dragSource ? col : 0;
}

void TableMouse::onSectionMoved(int, int oldVisual, int newVisual) {
    // The header only shows the drag; the document's order is what it shows afterwards.
    QHeaderView* tests = m_window.table()->horizontalHeader();
    const QSignalBlocker blocker(tests);
    tests->moveSection(newVisual, oldVisual);
}

void TableMouse::dropTest(int source, int target) {
    Gradebook& book = m_window.gradebook();
    BusyCursor busy;
    const int moved = MoveTest(book, source, target);
    RecalcTotals(book);
    m_window.undoCommands().commandDone(tr("Move Test"));
    m_dragSource = 0;
    m_window.table()->setCurrentCell(m_window.table()->currentRow(), moved);
    m_window.RefreshCurrentCell();
}
