#include "TextEntry.h"

#include <QLineEdit>
#include <QValidator>

namespace {

class NoDoubleQuotes : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input.replace(u'"', u'\'');
        return Acceptable;
    }
};

} // namespace

void KeepDoubleQuotesOut(QLineEdit* box) {
    box->setValidator(new NoDoubleQuotes(box));
}

void UseQuestionMarkEcho(QLineEdit* box) {
    KeepDoubleQuotesOut(box);
    box->setEchoMode(QLineEdit::Password);
    box->setStyleSheet(QStringLiteral("lineedit-password-character: 63;"));
}
