#pragma once

#include "core/FixedText.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <string>

// The comma-separated fields of gradebook and library files: Windows-1252 text, CR LF line
// ends, text in double quotes, "." as the decimal point.

// Builds the bytes of a file field by field. Fields on one line are separated by ",".
class FieldWriter {
public:
    // Text between double quotes. The form has no escape, so a double quote inside the text
    // is written as "'" and every file reads back.
    void quoted(QStringView text);
    // All N characters of a fixed text field, padding and NULs included.
    template <int N> void fixed(const FixedText<N>& field) { quoted(QStringView(field.data(), N)); }
    // A whole number: "-" before negative values, no spaces.
    void integer(int value);
    // A 32-bit float as FormatFileFloat gives it: .5, -.25, 1E+07.
    void number(float value);
    // CR LF.
    void endLine();
    // Text put out as it is, with no separator (the padding and scores of a score line).
    void raw(QStringView text);
    void raw(QByteArrayView ascii);
    // Characters written since the last line end.
    qsizetype lineLength() const { return qsizetype(m_bytes.size()) - m_lineStart; }

    QByteArrayView bytes() const { return {m_bytes.data(), qsizetype(m_bytes.size())}; }
    void reserve(qsizetype size) { m_bytes.reserve(std::size_t(size)); }

private:
    void separate();

    // A standard string: its appends of a few bytes are much cheaper than QByteArray's, and a
    // gradebook file is built from hundreds of thousands of them.
    std::string m_bytes;
    qsizetype m_lineStart = 0;
};

// Takes the fields of a file one after the other. A "," and a line end alike end a field;
// spaces around fields are skipped, so the reader does not depend on how lines are broken.
// The first error is kept: every later read fails too and leaves its target alone.
// It reads the Windows-1252 bytes in place and decodes only the text fields: the marks of
// which a file mostly consists are ASCII.
class FieldReader {
public:
    explicit FieldReader(QByteArray bytes);
    // Text in hand, as a file would hold it.
    explicit FieldReader(QStringView text);

    // Text between double quotes, line ends included; a field not in quotes is an error.
    bool quoted(QString& out);
    // A quoted field, or else the bare field up to its end with surrounding spaces removed.
    bool text(QString& out);
    // Quoted text stored into the field: cut when longer, padded with blanks when shorter.
    template <int N> bool fixed(FixedText<N>& out) {
        QString s;
        if (!quoted(s)) return false;
        out.assign(s);
        return true;
    }
    // A whole number that fits a signed 16-bit integer.
    bool integer(int& out);
    // A number in any decimal notation that fits a 32-bit float.
    bool number(float& out);

    // Whether only blanks and line ends are left.
    bool atEnd();
    bool ok() const { return m_error.isEmpty(); }
    // What went wrong first, with its line ("Input past end of file", "Type mismatch in line
    // 4", ...); empty while all is well.
    const QString& error() const { return m_error; }
    // Marks the read failed from outside, for a value of the right kind that is out of range.
    void fail(const QString& what);
    // 1-based line of the next field.
    int line() const { return m_line; }

private:
    qsizetype size() const { return m_bytes.size(); }
    char at(qsizetype i) const { return m_bytes.constData()[i]; }
    void skipSpaces();
    // Consumes the end of the current field: spaces, then ",", a line end or the end of file.
    bool endField();
    // The unquoted field at the current position, without surrounding spaces.
    bool bareField(QByteArrayView& out);
    bool plainNumber(float& out);

    QByteArray m_bytes;
    qsizetype m_pos = 0;
    int m_line = 1;
    QString m_error;
};

// Error texts of the readers, also used by the files built on them.
namespace FieldErrors {
QString pastEnd();
QString typeMismatch(int line);
QString overflow(int line);
QString outOfRange(int line);
} // namespace FieldErrors
