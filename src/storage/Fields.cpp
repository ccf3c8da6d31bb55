#include "Fields.h"

#include "Windows1252.h"
#include "core/NumberText.h"

#include <cfloat>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace FieldErrors {
QString pastEnd() {
    return u"Input past end of file"_s;
}
QString typeMismatch(int line) {
    return u"Type mismatch in line %1"_s.arg(line);
}
QString overflow(int line) {
    return u"Overflow in line %1"_s.arg(line);
}
QString outOfRange(int line) {
    return u"Subscript out of range in line %1"_s.arg(line);
}
} // namespace FieldErrors

// --- FieldWriter ---

void FieldWriter::separate() {
    if (lineLength() > 0) m_bytes.push_back(',');
}

void FieldWriter::quoted(QStringView text) {
    separate();
    QByteArray encoded = EncodeWindows1252(text);
    encoded.replace('"', '\'');
    m_bytes.push_back('"');
    raw(encoded);
    m_bytes.push_back('"');
}

void FieldWriter::integer(int value) {
    separate();
    raw(QByteArray::number(value));
}

void FieldWriter::number(float value) {
    separate();
    raw(FormatFileFloat(value).toLatin1());
}

void FieldWriter::endLine() {
    m_bytes.append("\r\n", 2);
    m_lineStart = qsizetype(m_bytes.size());
}

void FieldWriter::raw(QStringView text) {
    raw(EncodeWindows1252(text));
}

void FieldWriter::raw(QByteArrayView ascii) {
    m_bytes.append(ascii.data(), std::size_t(ascii.size()));
}

// --- FieldReader ---

namespace {

bool isSpace(QChar c) {
    return c == u' ' || c == u'\t';
}

bool isLineEnd(QChar c) {
    return c == u'\r' || c == u'\n';
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Line ends in a stretch of text; CR LF counts once.
int countLineEnds(QStringView text) {
    int n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n')
            ++n;
        else if (text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n'))
            ++n;
    }
    return n;
}

// Sign, digits with at most one point, and an exponent with digits; nothing else.
bool isDecimalNumber(QStringView s) {
    qsizetype i = 0;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) ++i;
    int digits = 0;
    while (i < s.size() && isDigit(s[i]))
        ++i, ++digits;
    if (i < s.size() && s[i] == u'.') {
        ++i;
        while (i < s.size() && isDigit(s[i]))
            ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < s.size() && QStringView(u"eEdD").contains(s[i])) {
        ++i;
        if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) ++i;
        int exponentDigits = 0;
        while (i < s.size() && isDigit(s[i]))
            ++i, ++exponentDigits;
        if (exponentDigits == 0) return false;
    }
    return i == s.size();
}

bool hasNonZeroMantissa(QStringView s) {
    for (QChar c : s) {
        if (c == u'e' || c == u'E' || c == u'd' || c == u'D') break;
        if (c >= u'1' && c <= u'9') return true;
    }
    return false;
}

} // namespace

FieldReader::FieldReader(QString text) : m_text(std::move(text)) {}

FieldReader FieldReader::fromBytes(QByteArrayView bytes) {
    return FieldReader(DecodeWindows1252(bytes));
}

void FieldReader::fail(const QString& what) {
    if (m_error.isEmpty()) m_error = what;
}

void FieldReader::skipSpaces() {
    while (m_pos < m_text.size() && isSpace(m_text.at(m_pos)))
        ++m_pos;
}

bool FieldReader::endField() {
    skipSpaces();
    if (m_pos >= m_text.size()) return true;
    const QChar c = m_text.at(m_pos);
    if (c == u',') {
        ++m_pos;
        return true;
    }
    if (isLineEnd(c)) {
        ++m_pos;
        if (c == u'\r' && m_pos < m_text.size() && m_text.at(m_pos) == u'\n') ++m_pos;
        ++m_line;
        return true;
    }
    fail(FieldErrors::typeMismatch(m_line));
    return false;
}

bool FieldReader::bareField(QStringView& out) {
    if (!ok()) return false;
    skipSpaces();
    if (m_pos >= m_text.size()) {
        fail(FieldErrors::pastEnd());
        return false;
    }
    const qsizetype start = m_pos;
    while (m_pos < m_text.size() && m_text.at(m_pos) != u',' && !isLineEnd(m_text.at(m_pos)))
        ++m_pos;
    out = QStringView(m_text).sliced(start, m_pos - start).trimmed();
    return endField();
}

bool FieldReader::quoted(QString& out) {
    if (!ok()) return false;
    skipSpaces();
    if (m_pos >= m_text.size()) {
        fail(FieldErrors::pastEnd());
        return false;
    }
    if (m_text.at(m_pos) != u'"') {
        fail(FieldErrors::typeMismatch(m_line));
        return false;
    }
    const qsizetype close = m_text.indexOf(u'"', m_pos + 1);
    if (close < 0) {
        fail(FieldErrors::pastEnd());
        return false;
    }
    const QStringView inside = QStringView(m_text).sliced(m_pos + 1, close - m_pos - 1);
    const int lineOfField = m_line;
    m_line += countLineEnds(inside);
    m_pos = close + 1;
    if (!endField()) {
        m_error = FieldErrors::typeMismatch(lineOfField);
        return false;
    }
    out = inside.toString();
    return true;
}

bool FieldReader::text(QString& out) {
    if (!ok()) return false;
    skipSpaces();
    if (m_pos < m_text.size() && m_text.at(m_pos) == u'"') return quoted(out);
    QStringView field;
    if (!bareField(field)) return false;
    out = field.toString();
    return true;
}

bool FieldReader::integer(int& out) {
    const int line = m_line;
    QStringView field;
    if (!bareField(field)) return false;
    qsizetype i = 0;
    const bool negative = !field.isEmpty() && field[0] == u'-';
    if (!field.isEmpty() && (field[0] == u'-' || field[0] == u'+')) ++i;
    if (i == field.size()) {
        fail(FieldErrors::typeMismatch(line));
        return false;
    }
    long value = 0;
    for (; i < field.size(); ++i) {
        if (!isDigit(field[i])) {
            fail(FieldErrors::typeMismatch(line));
            return false;
        }
        value = value * 10 + (field[i].unicode() - u'0');
        if (value > 32768) break; // already out of range; stop before long overflows
    }
    if (negative) value = -value;
    if (value < -32768 || value > 32767) {
        fail(FieldErrors::overflow(line));
        return false;
    }
    out = int(value);
    return true;
}

// The common field, a plain decimal such as 85, -1 or 92.5 with blanks around it, read in
// place; anything else is left to the general reader, which also reports the errors.
bool FieldReader::plainNumber(float& out) {
    if (!ok()) return false;
    const QStringView text(m_text);
    qsizetype i = m_pos;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    const qsizetype start = i;
    if (i < text.size() && text[i] == u'-') ++i;
    int digits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (isDigit(text[i]))
            ++digits;
        else if (text[i] == u'.' && !point)
            point = true;
        else
            break;
    }
    if (digits == 0 || digits > 15) return false;
    const qsizetype end = i;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    if (i < text.size() && text[i] != u',' && !isLineEnd(text[i])) return false;
    out = float(ReadLeadingNumber(text.sliced(start, end - start)));
    m_pos = i;
    return endField();
}

bool FieldReader::number(float& out) {
    if (plainNumber(out)) return true;
    const int line = m_line;
    QStringView field;
    if (!bareField(field)) return false;
    if (!isDecimalNumber(field)) {
        fail(FieldErrors::typeMismatch(line));
        return false;
    }
    const double value = ReadLeadingNumber(field);
    // The reader gives 0 for a magnitude beyond a double; beyond a float is as bad.
    if ((value == 0 && hasNonZeroMantissa(field)) || std::fabs(value) > double(FLT_MAX)) {
        fail(FieldErrors::overflow(line));
        return false;
    }
    out = float(value);
    return true;
}

bool FieldReader::atEnd() {
    while (m_pos < m_text.size()) {
        const QChar c = m_text.at(m_pos);
        if (isSpace(c)) {
            ++m_pos;
        } else if (isLineEnd(c)) {
            ++m_pos;
            if (c == u'\r' && m_pos < m_text.size() && m_text.at(m_pos) == u'\n') ++m_pos;
            ++m_line;
        } else {
            return false;
        }
    }
    return true;
}
