#include "MainWindow.h"

#include "GradeTableModel.h"
#include "core/NewGradebook.h"
#include "grading/Calculation.h"

#include <QHeaderView>
#include <QTableView>

namespace {

// The document keeps lengths in twips, 1/1440 inch.
int twipsToPixels(const QWidget* w, int twips) {
    return twips * w->logicalDpiX() / 1440;
}

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), m_book(new Gradebook(this)), m_model(new GradeTableModel(*m_book, this)),
      m_table(new QTableView(this)) {
    setWindowTitle(QStringLiteral("Quillmark"));
    m_table->setObjectName(QStringLiteral("Grid1"));
    m_table->setModel(m_model);
    m_table->horizontalHeader()->hide();
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    setCentralWidget(m_table);

    ResetToNew(*m_book, m_libraries);
    RecalcAll(*m_book);
    m_book->setModified(false);
    applyTableGeometry();
    connect(m_book, &Gradebook::reshaped, this, &MainWindow::applyTableGeometry);
    connect(m_book, &Gradebook::geometryChanged, this, &MainWindow::applyTableGeometry);
    m_table->setCurrentIndex(m_model->index(1, 1));
    resize(800, 500);
}

void MainWindow::applyTableGeometry() {
    for (int c = 0; c < m_book->columnCount(); ++c)
        m_table->setColumnWidth(c, twipsToPixels(m_table, m_book->columnWidth(c)));
    for (int r = 0; r < m_book->rowCount(); ++r)
        m_table->setRowHeight(r, twipsToPixels(m_table, m_book->rowHeight(r)));
}
