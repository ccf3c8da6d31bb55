#include "WindowSession.h"
#include "ui/main/ControlPanel.h"
#include "ui/main/GradeTableModel.h"
#include "ui/main/GradeTableView.h"
#include "ui/main/MainWindow.h"
#include "ui/main/NameHeader.h"
#include "ui/main/ScoreCellDelegate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

class TestLayout : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    }

    // What a test column and the Total column share stays put when the current cell moves
    // between them; the Max Score box only turns off.
    void panelKeepsItsShape() {
        Session s;
        s.addTests(1);
        const ControlPanel* p = s.panel;
        const QList<const QWidget*> shared{
            p->studentName,      p->nameAsId,    p->studentCount,
            p->maxScore,         p->ignoreGrade, p->newTest,
            p->deleteTest,       p->scale,       p->info,
            p->setImportance,    p->general,     p->studentButtons[0],
            p->studentButtons[1]};
        auto places = [&] {
            QList<QRect> r;
            for (const QWidget* w : shared)
                r << QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
            return r;
        };
        s.clickCell(1, 2);
        QVERIFY(p->importance->isVisible());
        const QList<QRect> onTest = places();
        s.clickCell(1, 1);
        QVERIFY(p->averaging->isVisible());
        QCOMPARE(places(), onTest);
        QVERIFY(p->maxScore->isVisible());
        QVERIFY(!p->maxScore->isEnabled());
    }

    // The panel fits beside the table at the default size; in smaller windows it scrolls,
    // every button stays within reach, and the table keeps the larger part of the width.
    void panelFitsTheWindow_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("default") << QSize(1000, 640);
        QTest::newRow("800 x 600") << QSize(800, 600);
        QTest::newRow("tiny") << QSize(420, 300);
    }
    void panelFitsTheWindow() {
        QFETCH(QSize, size);
        Session s;
        s.window.resize(size);
        QTRY_COMPARE(s.window.size(), size);
        auto* side = s.window.findChild<QScrollArea*>(u"SidePanel"_s);
        QVERIFY(side);
        if (size == QSize(1000, 640)) {
            QVERIFY(!side->verticalScrollBar()->isVisible());
            QVERIFY(!side->horizontalScrollBar()->isVisible());
        }
        QVERIFY(s.table->width() > side->width());
        for (QAbstractButton* b : s.panel->findChildren<QAbstractButton*>()) {
            if (!b->isVisible()) continue;
            // A button wider than a tiny panel shows as much of itself as fits.
            side->ensureWidgetVisible(b, 0, 0);
            const QRect at(b->mapTo(side->viewport(), QPoint(0, 0)), b->size());
            const QRect seen = at & side->viewport()->rect();
            QVERIFY2(seen.height() == at.height() &&
                         seen.width() >= std::min(at.width(), side->viewport()->width()),
                     qPrintable(b->objectName()));
        }
    }

    // A large font makes rows and columns large enough on screen; the document keeps its
    // lengths until the user drags a border.
    void rowsAndColumnsFitTheFont() {
        Session s;
        s.addTests(2);
        s.book.setModified(false);
        auto lengths = [&] {
            QList<int> twips;
            for (int r = 0; r < s.book.rowCount(); ++r)
                twips << s.book.rowHeight(r);
            for (int c = 0; c < s.book.columnCount(); ++c)
                twips << s.book.columnWidth(c);
            return twips;
        };
        const QList<int> stored = lengths();
        const QFont big(u"DejaVu Sans"_s, 20);
        s.table->setFont(big);
        s.table->horizontalHeader()->setFont(big);
        s.table->verticalHeader()->setFont(big);
        const QFontMetrics metrics(big);
        QHeaderView* top = s.table->horizontalHeader();
        QVERIFY(top->height() >= metrics.lineSpacing());
        for (int r = 1; r < s.book.rowCount(); ++r)
            QVERIFY(s.table->verticalHeader()->sectionSize(r - 1) >= metrics.lineSpacing());
        for (int c = 1; c < s.book.columnCount(); ++c)
            QVERIFY(top->sectionSize(c - 1) >= metrics.horizontalAdvance(s.book.cell(0, c)));
        QVERIFY(s.table->nameHeader()->columnWidth() >= metrics.horizontalAdvance(u"Name"_s));
        QCOMPARE(lengths(), stored);
        QVERIFY(!s.book.isModified());
        // Columns widen with the font, so a score keeps its grade in view.
        const double scale = QFontMetricsF(big).averageCharWidth() /
                             QFontMetricsF(QApplication::font()).averageCharWidth();
        QVERIFY(top->sectionSize(0) >= s.table->twipsToPixels(s.book.columnWidth(1)) * scale - 1);
        // A border the user drags is the document's again, and stays where it was dropped.
        top->resizeSection(1, 300);
        QVERIFY(std::abs(s.book.columnWidth(2) - s.table->pixelsToTwips(int(300 / scale))) <= 15);
        s.book.setColumnWidth(3, s.book.columnWidth(3)); // any change of the lengths
        QVERIFY(std::abs(top->sectionSize(1) - 300) <= 1);
    }

    // Wherever the scroll bars are put, the first column and row seen start at the edge.
    void scrollingShowsWholeCells_data() {
        QTest::addColumn<double>("horizontal");
        QTest::addColumn<double>("vertical");
        QTest::newRow("a third") << 0.33 << 0.33;
        QTest::newRow("middle") << 0.5 << 0.71;
        QTest::newRow("end") << 1.0 << 1.0;
    }
    void scrollingShowsWholeCells() {
        QFETCH(double, horizontal);
        QFETCH(double, vertical);
        Session s;
        s.book.setShape(61, 15);
        QScrollBar* h = s.table->horizontalScrollBar();
        QScrollBar* v = s.table->verticalScrollBar();
        QVERIFY(h->maximum() > 2 && v->maximum() > 2);
        h->setValue(int(h->maximum() * horizontal));
        v->setValue(int(v->maximum() * vertical));
        const QHeaderView* top = s.table->horizontalHeader();
        const QHeaderView* names = s.table->verticalHeader();
        QCOMPARE(top->sectionViewportPosition(top->logicalIndexAt(0)), 0);
        QCOMPARE(names->sectionViewportPosition(names->logicalIndexAt(0)), 0);
    }

    // The grade part of a score cell starts at one place whatever the score before it; the
    // texts painted are the cell's own.
    void scoresAndGradesLineUp_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<int>("width");
        QTest::newRow("numbers") << u"100    (4.0)"_s << u"80     (3.0)"_s << 200;
        QTest::newRow("total without score") << u"       (B)"_s << u"92.5%  (A)"_s << 200;
        QTest::newRow("ignored") << u"6      (D)x"_s << u"45     (A)x"_s << 200;
        QTest::newRow("narrow cell") << u"9      (4.00)"_s << u"10     (3.00)"_s << 75;
    }
    void scoresAndGradesLineUp() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(int, width);
        const QFontMetrics metrics(QFont(u"DejaVu Sans"_s, 10));
        const QRect cell(10, 0, width, 20);
        const ScoreCellLayout a = LayOutScoreCell(first, metrics, cell);
        const ScoreCellLayout b = LayOutScoreCell(second, metrics, cell);
        QCOMPARE(a.gradeRect.left(), b.gradeRect.left());
        for (const auto& [text, parts] : {std::pair(first, a), std::pair(second, b)}) {
            const qsizetype paren = text.indexOf(u'(');
            QCOMPARE(parts.score, text.left(paren).trimmed());
            QCOMPARE(parts.grade, text.mid(paren));
            QVERIFY(parts.gradeRect.left() >= cell.left() + metrics.horizontalAdvance(parts.score));
            QVERIFY(cell.contains(parts.gradeRect));
            QVERIFY(parts.gradeRect.width() >= metrics.horizontalAdvance(parts.grade));
        }
        // A text without a grade part is painted as it is.
        const ScoreCellLayout plain = LayOutScoreCell(u"85      x"_s, metrics, cell);
        QCOMPARE(plain.score, u"85      x"_s);
        QVERIFY(plain.grade.isEmpty());
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
