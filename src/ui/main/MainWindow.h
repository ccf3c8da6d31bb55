#pragma once

#include "core/Gradebook.h"
#include "core/Libraries.h"

#include <QMainWindow>

class QTableView;
class GradeTableModel;

// The main window: the table of grades over the one open gradebook.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);

    Gradebook& gradebook() { return *m_book; }
    QTableView* table() const { return m_table; }

private:
    void applyTableGeometry();

    Libraries m_libraries;
    Gradebook* m_book;
    GradeTableModel* m_model;
    QTableView* m_table;
};
