#include "TextEntry.h"

#include "storage/Windows1252.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QToolTip>
#include <QValidator>

namespace {

// Tells the teacher why characters did not arrive: a beep, and a tool tip at the caret.
void ExplainRefusal(QWidget* box, const QString& refused) {
    QApplication::beep();
    const QString why = QStringLiteral("“%1” cannot be stored in a gradebook file").arg(refused);
    // Shown a moment later: a paste from the context menu is followed by the events of the menu
    // closing (focus, leave), and each of them takes a tool tip down.
    QTimer::singleShot(100, box, [box, why] {
        const QRect caret = box->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        QToolTip::showText(box->mapToGlobal(caret.bottomLeft()), why, box);
    });
}

// A line edit runs every change, typed, pasted or set, through its validator.
class FileTextValidator : public QValidator {
public:
    explicit FileTextValidator(QLineEdit* box) : QValidator(box), m_box(box) {}

    State validate(QString& input, int& pos) const override {
        QString refused;
        const auto caret = ToFileText(QStringView(input).left(pos)).size();
        input = ToFileText(input, &refused);
        pos = int(caret);
        if (!refused.isEmpty()) ExplainRefusal(m_box, refused);
        return Acceptable;
    }

private:
    QLineEdit* m_box;
};

// A text document must not be edited while it reports a change, so the guard cleans the text
// up as soon as the change is done. The clean-up joins the edit's undo step.
template <class Edit> class DocumentGuard : public QObject {
public:
    explicit DocumentGuard(Edit* box) : QObject(box), m_box(box) {
        connect(box->document(), &QTextDocument::contentsChange, this, [this](int, int, int added) {
            if (added == 0 || m_pending) return;
            m_pending = true;
            QMetaObject::invokeMethod(
                this, [this] { clean(); }, Qt::QueuedConnection);
        });
    }

private:
    void clean() {
        m_pending = false;
        // Plain text has one character for each document position.
        const QString text = m_box->document()->toPlainText();
        QString refused;
        const QString kept = ToFileText(text, &refused);
        if (kept != text) {
            QTextCursor cursor(m_box->document());
            cursor.joinPreviousEditBlock();
            for (auto i = text.size(); i-- > 0;) {
                const bool quote = text[i] == u'"';
                if (!quote && FitsWindows1252(text[i])) continue;
                cursor.setPosition(int(i));
                cursor.setPosition(int(i) + 1, QTextCursor::KeepAnchor);
                cursor.insertText(quote ? QStringLiteral("'") : QString());
            }
            cursor.endEditBlock();
        }
        if (!refused.isEmpty()) ExplainRefusal(m_box, refused);
    }

    Edit* m_box;
    bool m_pending = false;
};

} // namespace

QString ToFileText(QStringView text, QString* refused) {
    QString kept;
    kept.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (FitsWindows1252(c)) {
            kept += c == u'"' ? QChar(u'\'') : c;
            continue;
        }
        if (!refused) continue;
        qsizetype length = 1;
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) length = 2;
        const QStringView character = text.mid(i, length);
        if (!refused->contains(character)) refused->append(character);
        i += length - 1;
    }
    return kept;
}

void KeepToFileText(QLineEdit* box) {
    box->setValidator(new FileTextValidator(box));
}

void KeepToFileText(QPlainTextEdit* box) {
    new DocumentGuard<QPlainTextEdit>(box);
}

void KeepToFileText(QTextEdit* box) {
    new DocumentGuard<QTextEdit>(box);
}

void UseQuestionMarkEcho(QLineEdit* box) {
    KeepToFileText(box);
    box->setEchoMode(QLineEdit::Password);
    box->setStyleSheet(QStringLiteral("lineedit-password-character: 63;"));
}
