#include "grading/Calculation.h"
#include "ui/main/GradeTableModel.h"
#include "ui/main/MainWindow.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void startsWithAnEmptyClass();
    void modelFollowsTheDocument();
};

void TestMainWindow::startsWithAnEmptyClass() {
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), u"Quillmark"_s);
    QAbstractItemModel* model = window.table()->model();
    QCOMPARE(model->rowCount(), 8);
    QCOMPARE(model->columnCount(), 2);
    QCOMPARE(model->index(0, 0).data().toString(), u"Name"_s);
    QCOMPARE(model->index(0, 1).data().toString(), u"Total"_s);
    for (int r = 1; r < 8; ++r)
        QCOMPARE(model->index(r, 0).data().toString(), QString());
    QVERIFY(!window.gradebook().isModified());
    // 1500 twips are an inch wide.
    QCOMPARE(window.table()->columnWidth(1), window.table()->logicalDpiX() * 1500 / 1440);
}

void TestMainWindow::modelFollowsTheDocument() {
    Gradebook book;
    GradeTableModel model(book);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

    book.setShape(4, 3);
    QCOMPARE(reset.count(), 1);
    QCOMPARE(model.rowCount(), 4);
    QCOMPARE(model.columnCount(), 3);

    book.SetCellText(2, 2, u"85"_s);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toModelIndex(), model.index(2, 2));
    QCOMPARE(model.index(2, 2).data().toString(), u"85"_s);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
