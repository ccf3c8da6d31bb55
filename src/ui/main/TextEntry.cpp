#include "TextEntry.h"

#include "storage/Windows1252.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
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

// A document must not be edited while it reports a change, so the guard cleans the text up as
// soon as the change is done, in the same undo step.
class NoteGuard : public QObject {
public:
    NoteGuard(QPlainTextEdit* box, int maxLength) : QObject(box), m_box(box), m_max(maxLength) {
        connect(box->document(), &QTextDocument::contentsChange, this,
                [this](int at, int, int added) {
                    if (added == 0 || m_cleaning) return;
                    m_insertEnd = at + added;
                    if (!m_pending)
                        QMetaObject::invokeMethod(
                            this, [this] { clean(); }, Qt::QueuedConnection);
                    m_pending = true;
                });
    }

private:
    void clean() {
        m_pending = false;
        // Plain text has one character for each document position.
        const QString text = m_box->toPlainText();
        QString refused;
        QString kept = ToFileText(text, &refused);
        auto keptBefore = [&](int pos) {
            return int(ToFileText(QStringView(text).left(std::min(pos, int(text.size())))).size());
        };
        int caret = keptBefore(m_box->textCursor().position());
        if (const int excess = int(kept.size()) - m_max; excess > 0) {
            const int from = std::max(keptBefore(m_insertEnd) - excess, 0);
            kept.remove(from, excess);
            if (caret > from) caret = std::max(from, caret - excess);
        }
        if (kept != text) {
            m_cleaning = true;
            QTextCursor cursor(m_box->document());
            cursor.joinPreviousEditBlock();
            cursor.select(QTextCursor::Document);
            cursor.insertText(kept);
            cursor.endEditBlock();
            cursor.setPosition(caret);
            m_box->setTextCursor(cursor);
            m_cleaning = false;
        }
        if (!refused.isEmpty()) ExplainRefusal(m_box, refused);
    }

    QPlainTextEdit* m_box;
    int m_max;
    int m_insertEnd = 0;
    bool m_pending = false;
    bool m_cleaning = false;
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

void KeepToFileText(QPlainTextEdit* box, int maxLength) {
    new NoteGuard(box, maxLength);
}

void UseQuestionMarkEcho(QLineEdit* box) {
    KeepToFileText(box);
    box->setEchoMode(QLineEdit::Password);
    box->setStyleSheet(QStringLiteral("lineedit-password-character: 63;"));
}
