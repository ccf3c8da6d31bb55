#pragma once

#include <QString>

// The outcome of a domain operation: success, or a failure with the text the user is shown.
class Result {
public:
    static Result success() { return Result(true, {}); }
    static Result failure(const QString& message) { return Result(false, message); }

    bool ok() const { return m_ok; }
    explicit operator bool() const { return m_ok; }
    const QString& message() const { return m_message; }

private:
    Result(bool ok, QString message) : m_ok(ok), m_message(std::move(message)) {}
    bool m_ok;
    QString m_message;
};
