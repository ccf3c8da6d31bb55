// Text boxes keep to what a gradebook file can hold; the real message boxes, the font dialog and
// the help window, driven as the teacher meets them.
#include "storage/Windows1252.h"
#include "ui/dialogs/HelpWindow.h"
#include "ui/dialogs/PasswordDialog.h"
#include "ui/main/Prompter.h"
#include "ui/main/TextEntry.h"

#include "ScriptedPrompter.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>
#include <QtTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Runs `step` on the modal dialog of type T as soon as it is open.
template <class T> void WhenOpen(std::function<void(T*)> step) {
    QTimer::singleShot(10, [step] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget()))
            step(dialog);
        else
            WhenOpen<T>(step);
    });
}

// Types each character as one key press, as a keyboard or an input method delivers it.
void Type(QWidget* box, const QString& text) {
    for (const char32_t c : text.toUcs4())
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString::fromUcs4(&c, 1),
                            Qt::NoModifier);
}

} // namespace

class TextEntryTest : public QObject {
    Q_OBJECT

private slots:
    void fitsWindows1252IsWhatSurvivesTheFile() {
        int fitting = 0;
        QStringList wrong;
        for (char32_t u = 0; u <= 0xFFFF; ++u) {
            const QChar c{char16_t(u)};
            const QString text(c);
            const bool survives = DecodeWindows1252(EncodeWindows1252(text)) == text;
            fitting += FitsWindows1252(c);
            if (FitsWindows1252(c) != survives) wrong << QString::number(uint(u), 16);
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u' ')));
        QCOMPARE(fitting, 256); // each byte stands for one character
    }

    void boxesKeepToFileText_data() {
        QTest::addColumn<bool>("pasted");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("refused"); // named in the explanation; empty: none shown

        QTest::newRow("typed ł") << false << u"ł1"_s << u"1"_s << u"ł"_s;
        QTest::newRow("typed Ł") << false << u"Łukasz"_s << u"ukasz"_s << u"Ł"_s;
        QTest::newRow("typed é") << false << u"Émile"_s << u"Émile"_s << QString();
        QTest::newRow("typed €") << false << u"€"_s << u"€"_s << QString();
        QTest::newRow("typed quote") << false << u"a\"b"_s << u"a'b"_s << QString();
        QTest::newRow("typed emoji") << false << u"a😀"_s << u"a"_s << u"😀"_s;
        QTest::newRow("pasted ł") << true << u"ł1ł"_s << u"1"_s << u"ł"_s;
        QTest::newRow("pasted quote") << true << u"\"x\""_s << u"'x'"_s << QString();
    }

    void boxesKeepToFileText() {
        QFETCH(bool, pasted);
        QFETCH(QString, input);
        QFETCH(QString, text);
        QFETCH(QString, refused);

        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* edit = new QLineEdit(&window);
        KeepToFileText(edit);
        layout->addWidget(edit);
        window.show();
        QApplication::setActiveWindow(&window);
        edit->setFocus(); // a focus change takes down an earlier row's tool tip
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QVERIFY(!QToolTip::isVisible());

        if (pasted) {
            QGuiApplication::clipboard()->setText(input);
            QTest::keySequence(edit, QKeySequence::Paste);
        } else {
            Type(edit, input);
        }
        QTest::qWait(200); // the explanation comes a moment after the edit
        QCOMPARE(edit->text(), text);
        QCOMPARE(QToolTip::isVisible(), !refused.isEmpty());
        if (!refused.isEmpty())
            QCOMPARE(QToolTip::text(), u"“%1” cannot be stored in a gradebook file"_s.arg(refused));
    }

    // A hasty Enter must not destroy data; every box shows its whole title.
    void messageBoxes_data() {
        QTest::addColumn<QMessageBox::StandardButtons>("buttons");
        QTest::addColumn<QMessageBox::StandardButton>("onEnter");

        QTest::newRow("rows lost")
            << QMessageBox::StandardButtons(QMessageBox::Ok | QMessageBox::Cancel)
            << QMessageBox::Cancel;
        QTest::newRow("save your work")
            << (QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) << QMessageBox::Yes;
        QTest::newRow("message") << QMessageBox::StandardButtons(QMessageBox::Ok)
                                 << QMessageBox::Ok;
    }

    void messageBoxes() {
        QFETCH(QMessageBox::StandardButtons, buttons);
        QFETCH(QMessageBox::StandardButton, onEnter);

        DialogPrompter prompter;
        int width = 0;
        QString title;
        WhenOpen<QMessageBox>([&](QMessageBox* box) {
            width = box->width();
            title = box->windowTitle();
            QTest::keyClick(box, Qt::Key_Return);
        });
        QCOMPARE(
            prompter.ask(nullptr, u"5 last row(s) will be lost!"_s, buttons, QMessageBox::NoIcon),
            onEnter);
        QCOMPARE(title, u"Quillmark"_s);
        QVERIFY2(width >= TitleFitWidth(title), qPrintable(QString::number(width)));

        if (!buttons.testFlag(QMessageBox::Cancel)) return;
        WhenOpen<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
        QCOMPARE(prompter.ask(nullptr, u"Delete?"_s, buttons, QMessageBox::NoIcon),
                 QMessageBox::Cancel);
    }

    void passwordDialogShowsItsTitle() {
        ScriptedPrompter prompter;
        PasswordDialog dialog(u"secret"_s, prompter);
        dialog.show();
        QVERIFY(dialog.width() >= TitleFitWidth(u"Rassword verification"_s));
    }

    // Enter and Escape reach the embedded font dialog when its lists have the focus.
    void fontDialogChoosesFontAndColour_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("enter") << int(Qt::Key_Return);
        QTest::newRow("escape") << int(Qt::Key_Escape);
    }

    void fontDialogChoosesFontAndColour() {
        QFETCH(int, key);
        QFont initial = QApplication::font();
        initial.setPointSize(11);
        QFont wanted = initial;
        wanted.setPointSize(17);
        wanted.setItalic(true);

        bool closedByKey = false;
        WhenOpen<QDialog>([&](QDialog* dialog) {
            auto* fonts = dialog->findChild<QFontDialog*>();
            fonts->setCurrentFont(wanted);
            WhenOpen<QColorDialog>([](QColorDialog* colors) {
                colors->setCurrentColor(Qt::darkRed);
                colors->accept();
            });
            dialog->findChild<QPushButton*>(u"Colour"_s)->click();
            QTest::keyClick(fonts, Qt::Key(key));
            closedByKey = !dialog->isVisible();
            if (!closedByKey) dialog->reject();
        });
        DialogPrompter prompter;
        const std::optional<FontChoice> choice = prompter.font(nullptr, initial, Qt::blue);
        QVERIFY(closedByKey);
        QCOMPARE(choice.has_value(), key == Qt::Key_Return);
        if (!choice) return;
        QCOMPARE(choice->font.pointSize(), 17);
        QVERIFY(choice->font.italic());
        QCOMPARE(choice->color, QColor(Qt::darkRed));
    }

    void helpPagesHaveText() {
        HelpWindow window;
        QTextBrowser* browser = window.browser();
        const QString contents = browser->toPlainText();
        QVERIFY(contents.contains(u"Contents"_s));

        QList<QUrl> links;
        for (QTextBlock b = browser->document()->begin(); b.isValid(); b = b.next())
            for (auto f = b.begin(); !f.atEnd(); ++f)
                if (f.fragment().charFormat().isAnchor())
                    links << browser->source().resolved(f.fragment().charFormat().anchorHref());
        QVERIFY(links.size() >= 5);
        for (const QUrl& link : links) {
            browser->setSource(link);
            const QString page = browser->toPlainText();
            QVERIFY2(!page.trimmed().isEmpty() && page != contents, qPrintable(link.toString()));
        }
    }
};

QTEST_MAIN(TextEntryTest)
#include "tst_textentry.moc"
