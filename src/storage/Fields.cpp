#include "Fields.h"

#include "Windows1252.h"
#include "core/NumberText.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>

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
    m_bytes.push_back('"');
    const std::size_t start = m_bytes.size();
    AppendWindows1252(text, m_bytes);
    std::replace(m_bytes.begin() + std::ptrdiff_t(start), m_bytes.end(), '"', '\'');
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
    AppendWindows1252(text, m_bytes);
}

void FieldWriter::raw(QByteArrayView ascii) {
    m_bytes.append(ascii.data(), std::size_t(ascii.size()));
}

// --- FieldReader ---

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t';
}

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The bytes whose characters count as white space around a bare field, as in trimming text.
bool isTrimmed(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b == 0x20 || (b >= 0x09 && b <= 0x0D) || b == 0xA0;
}

QByteArrayView trimmed(QByteArrayView s) {
    qsizetype first = 0, last = s.size();
    while (first < last && isTrimmed(s[first]))
        ++first;
    while (last > first && isTrimmed(s[last - 1]))
        --last;
    return s.sliced(first, last - first);
}

// Line ends in a stretch of text; CR LF counts once.
int countLineEnds(QByteArrayView text) {
    int n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\n')
            ++n;
        else if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))
            ++n;
    }
    return n;
}

// Sign, digits with at most one point, and an exponent with digits; nothing else.
bool isDecimalNumber(QByteArrayView s) {
    qsizetype i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    int digits = 0;
    while (i < s.size() && isDigit(s[i]))
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i]))
            ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < s.size() && QByteArrayView("eEdD").contains(s[i])) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        int exponentDigits = 0;
        while (i < s.size() && isDigit(s[i]))
            ++i, ++exponentDigits;
        if (exponentDigits == 0) return false;
    }
    return i == s.size();
}

bool hasNonZeroMantissa(QByteArrayView s) {
    for (const char c : s) {
        if (c == 'e' || c == 'E' || c == 'd' || c == 'D') break;
        if (c >= '1' && c <= '9') return true;
    }
    return false;
}

} // namespace

FieldReader::FieldReader(QByteArray bytes) : m_bytes(std::move(bytes)) {}

FieldReader::FieldReader(QStringView text) : m_bytes(EncodeWindows1252(text)) {}

void FieldReader::fail(const QString& what) {
    if (m_error.isEmpty()) m_error = what;
}

void FieldReader::skipSpaces() {
    while (m_pos < size() && isSpace(at(m_pos)))
        ++m_pos;
}

bool FieldReader::endField() {
    skipSpaces();
    if (m_pos >= size()) return true;
    const char c = at(m_pos);
    if (c == ',') {
        ++m_pos;
        return true;
    }
    if (isLineEnd(c)) {
        ++m_pos;
        if (c == '\r' && m_pos < size() && at(m_pos) == '\n') ++m_pos;
        ++m_line;
        return true;
    }
    fail(FieldErrors::typeMismatch(m_line));
    return false;
}

bool FieldReader::bareField(QByteArrayView& out) {
    if (!ok()) return false;
    skipSpaces();
    if (m_pos >= size()) {
        fail(FieldErrors::pastEnd());
        return false;
    }
    const qsizetype start = m_pos;
    while (m_pos < size() && at(m_pos) != ',' && !isLineEnd(at(m_pos)))
        ++m_pos;
    out = trimmed(QByteArrayView(m_bytes).sliced(start, m_pos - start));
    return endField();
}

bool FieldReader::quoted(QString& out) {
    if (!ok()) return false;
    skipSpaces();
    if (m_pos >= size()) {
        fail(FieldErrors::pastEnd());
        return false;
    }
    if (at(m_pos) != '"') {
        fail(FieldErrors::typeMismatch(m_line));
        return false;
    }
    const qsizetype close = m_bytes.indexOf('"', m_pos + 1);
    if (close < 0) {
        fail(FieldErrors::pastEnd());
        return false;
    }
    const QByteArrayView inside = QByteArrayView(m_bytes).sliced(m_pos + 1, close - m_pos - 1);
    const int lineOfField = m_line;
    m_line += countLineEnds(inside);
    m_pos = close + 1;
    if (!endField()) {
        m_error = FieldErrors::typeMismatch(lineOfField);
        return false;
    }
    out = DecodeWindows1252(inside);
    return true;
}

bool FieldReader::text(QString& out) {
    if (!ok()) return false;
    skipSpaces();
    if (m_pos < size() && at(m_pos) == '"') return quoted(out);
    QByteArrayView field;
    if (!bareField(field)) return false;
    out = DecodeWindows1252(field);
    return true;
}

bool FieldReader::integer(int& out) {
    const int line = m_line;
    QByteArrayView field;
    if (!bareField(field)) return false;
    qsizetype i = 0;
    const bool negative = !field.isEmpty() && field[0] == '-';
    if (!field.isEmpty() && (field[0] == '-' || field[0] == '+')) ++i;
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
        value = value * 10 + (field[i] - '0');
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
    const char* const text = m_bytes.constData();
    const qsizetype size = m_bytes.size();
    qsizetype i = m_pos;
    while (i < size && isSpace(text[i]))
        ++i;
    const bool negative = i < size && text[i] == '-';
    if (negative) ++i;
    std::int64_t mantissa = 0;
    int digits = 0;
    int decimals = -1;
    for (; i < size; ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            if (++digits > 15) return false;
            mantissa = mantissa * 10 + (c - '0');
            if (decimals >= 0) ++decimals;
        } else if (c == '.' && decimals < 0) {
            decimals = 0;
        } else {
            break;
        }
    }
    if (digits == 0) return false;
    while (i < size && isSpace(text[i]))
        ++i;
    if (i < size && text[i] != ',' && !isLineEnd(text[i])) return false;
    out = float(PlainDecimalValue(mantissa, std::max(decimals, 0), negative));
    m_pos = i;
    if (i < size && text[i] == ',') { // the usual end, taken here without the general step
        ++m_pos;
        return true;
    }
    return endField();
}

bool FieldReader::number(float& out) {
    if (plainNumber(out)) return true;
    const int line = m_line;
    QByteArrayView field;
    if (!bareField(field)) return false;
    if (!isDecimalNumber(field)) {
        fail(FieldErrors::typeMismatch(line));
        return false;
    }
    const double value = ReadLeadingNumber(QLatin1StringView(field));
    // The reader gives 0 for a magnitude beyond a double; beyond a float is as bad.
    if ((value == 0 && hasNonZeroMantissa(field)) || std::fabs(value) > double(FLT_MAX)) {
        fail(FieldErrors::overflow(line));
        return false;
    }
    out = float(value);
    return true;
}

bool FieldReader::atEnd() {
    while (m_pos < size()) {
        const char c = at(m_pos);
        if (isSpace(c)) {
            ++m_pos;
        } else if (isLineEnd(c)) {
            ++m_pos;
            if (c == '\r' && m_pos < size() && at(m_pos) == '\n') ++m_pos;
            ++m_line;
        } else {
            return false;
        }
    }
    return true;
}
