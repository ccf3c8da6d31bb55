#include "NumberText.h"

#include "Limits.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

QString fromAscii(const char* s, std::size_t n) {
    return QString::fromLatin1(s, qsizetype(n));
}

// Removes trailing zeros of a fixed-point text, and the point when nothing follows it.
void trimFraction(std::string& s) {
    if (s.find('.') == std::string::npos) return;
    while (!s.empty() && s.back() == '0')
        s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
}

// Mantissa and exponent form with up to 7 significant digits: 1E+07, 1.5E-05.
std::string exponentForm(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.6E", v);
    std::string s(buf);
    const auto e = s.find('E');
    std::string mantissa = s.substr(0, e);
    trimFraction(mantissa);
    std::string exponent = s.substr(e + 1); // sign and at least two digits
    return mantissa + "E" + exponent;
}

// Fixed form with 7 significant digits and no trailing zeros.
std::string fixedForm(double v) {
    const int magnitude = int(std::floor(std::log10(std::fabs(v))));
    const int decimals = std::max(0, 6 - magnitude);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    std::string s(buf);
    trimFraction(s);
    if (s == "-0") s = "0";
    return s;
}

} // namespace

namespace {

// The common case, a plain decimal such as "85" or "92.5" at the start of a cell. A mantissa below
// 2^53 divided by an exact power of ten is correctly rounded, so the result equals the general
// reader's.
template <typename View> std::optional<double> readPlainDecimal(View text) {
    std::int64_t mantissa = 0;
    int digits = 0;
    int decimals = -1;
    qsizetype i = 0;
    const bool negative = !text.isEmpty() && QChar(text[0]) == u'-';
    if (negative) ++i;
    for (; i < text.size(); ++i) {
        const char16_t c = QChar(text[i]).unicode();
        if (c >= u'0' && c <= u'9') {
            if (++digits > 15) return std::nullopt;
            mantissa = mantissa * 10 + (c - u'0');
            if (decimals >= 0) ++decimals;
        } else if (c == u'.' && decimals < 0) {
            decimals = 0;
        } else {
            break;
        }
    }
    if (digits == 0) return std::nullopt;
    // Blanks (any the general reader skips) may stand between digits, so what follows them may
    // still belong to the number; digits, a point or an exponent there are left to it.
    while (i < text.size() && isBlank(QChar(text[i])))
        ++i;
    if (i < text.size()) {
        const char16_t c = QChar(text[i]).unicode();
        if ((c >= u'0' && c <= u'9') || c == u'.' || c == u'e' || c == u'E' || c == u'd' ||
            c == u'D')
            return std::nullopt;
    }
    return PlainDecimalValue(mantissa, std::max(decimals, 0), negative);
}

} // namespace

double PlainDecimalValue(std::int64_t mantissa, int decimals, bool negative) {
    static constexpr double powersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const double value = double(mantissa) / powersOfTen[decimals];
    return negative ? -value : value;
}

double ReadLeadingNumber(QStringView text) {
    if (const auto plain = readPlainDecimal(text)) return *plain;
    return ReadLeadingNumberGeneral(text);
}

double ReadLeadingNumber(QLatin1StringView text) {
    if (const auto plain = readPlainDecimal(text)) return *plain;
    return ReadLeadingNumberGeneral(QString(text));
}

double ReadLeadingNumberGeneral(QStringView text) {
    // As long as the text needs: a run of leading zeros must not cut off the digits after it.
    std::string buf;
    const qsizetype size = text.size();
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < size && isBlank(text[i]))
            ++i;
    };
    auto put = [&](char c) { buf.push_back(c); };
    auto takeDigits = [&] {
        int taken = 0;
        for (skipBlanks(); i < size && text[i] >= u'0' && text[i] <= u'9'; skipBlanks()) {
            put(char(text[i].unicode()));
            ++i;
            ++taken;
        }
        return taken;
    };

    skipBlanks();
    if (i < size && (text[i] == u'-' || text[i] == u'+')) {
        if (text[i] == u'-') put('-');
        ++i;
    }
    int digits = takeDigits();
    if (i < size && text[i] == u'.') {
        ++i;
        put('.');
        digits += takeDigits();
    }
    if (digits == 0) return 0;
    if (i < size && (text[i] == u'E' || text[i] == u'e' || text[i] == u'D' || text[i] == u'd')) {
        // The exponent counts only when digits follow it.
        const std::size_t mark = buf.size();
        const qsizetype at = i;
        ++i;
        put('e');
        skipBlanks();
        if (i < size && (text[i] == u'-' || text[i] == u'+')) {
            put(char(text[i].unicode()));
            ++i;
        }
        if (takeDigits() == 0) {
            buf.resize(mark);
            i = at;
        }
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(buf.data(), buf.data() + buf.size(), value);
    (void)end;
    if (ec != std::errc() || !std::isfinite(value)) return 0;
    return value;
}

namespace {

// The common case of a typed or imported score: a sign, digits and at most one point, blanks
// around them. Qt's reader is slow for it, since it first tries every named value.
bool isPlainDecimalText(QStringView text) {
    qsizetype first = 0, last = text.size();
    auto isAsciiSpace = [](char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); };
    while (first < last && isAsciiSpace(text[first].unicode()))
        ++first;
    while (last > first && isAsciiSpace(text[last - 1].unicode()))
        --last;
    if (first < last && (text[first] == u'-' || text[first] == u'+')) ++first;
    // Far below where a run of digits could overflow a double.
    if (last - first > 200) return false;
    bool point = false;
    bool digit = false;
    for (qsizetype i = first; i < last; ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9')
            digit = true;
        else if (c == u'.' && !point)
            point = true;
        else
            return false;
    }
    return digit;
}

} // namespace

bool IsNumberText(QStringView text) {
    return isPlainDecimalText(text) || IsNumberTextGeneral(text);
}

bool IsNumberTextGeneral(QStringView text) {
    bool whole = false;
    const double v = text.trimmed().toDouble(&whole);
    return whole && std::isfinite(v);
}

double CellValue(QStringView cellText) {
    return ReadLeadingNumber(cellText.left(Limits::CellNumberChars));
}

namespace {

// The characters of FormatGeneral in `out`; their count.
std::size_t generalChars(double v, char (&out)[64]) {
    if (v == 0 || !std::isfinite(v)) {
        out[0] = '0';
        return 1;
    }
    const double a = std::fabs(v);
    if (a < 1e7 && v == std::trunc(v)) {
        const auto r = std::to_chars(out, out + sizeof out, static_cast<long long>(v));
        return std::size_t(r.ptr - out);
    }
    // Round to 7 significant digits first, so 0.1 + 0.2 prints 0.3.
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.6e", v);
    const double rounded = std::strtod(buf, nullptr);
    const double ra = std::fabs(rounded);
    const std::string s = (ra >= 1e15 || ra < 1e-5) ? exponentForm(rounded) : fixedForm(rounded);
    const std::size_t n = std::min(s.size(), sizeof out);
    std::copy_n(s.data(), n, out);
    return n;
}

} // namespace

QString FormatGeneral(double v) {
    char chars[64];
    return fromAscii(chars, generalChars(v, chars));
}

QStringView GeneralText::of(double v) {
    char chars[64];
    const std::size_t n = generalChars(v, chars);
    std::copy_n(chars, n, m_units.begin());
    return QStringView(m_units.data(), qsizetype(n));
}

QString FormatFileFloat(float f) {
    const double v = f;
    if (v == 0 || !std::isfinite(v)) return QStringLiteral("0");
    if (std::fabs(v) < 1e7 && v == std::trunc(v)) {
        // Whole numbers, most of a file's values, need no rounding to 7 digits.
        char buf[24];
        const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<long long>(v));
        return fromAscii(buf, std::size_t(r.ptr - buf));
    }
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.6e", v);
    const double rounded = std::strtod(buf, nullptr);
    const double a = std::fabs(rounded);
    std::string s = (a >= 1e7 || a < 1e-4) ? exponentForm(rounded) : fixedForm(rounded);
    // No leading zero below one: .5 and -.25.
    if (s.rfind("0.", 0) == 0)
        s.erase(0, 1);
    else if (s.rfind("-0.", 0) == 0)
        s.erase(1, 1);
    return QString::fromLatin1(s.c_str());
}

QString FormatTwoDecimals(double v) {
    const double r = std::round(v * 100) / 100;
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.2f", r);
    std::string s(buf);
    if (s.back() == '0') s.pop_back();
    if (s == "-0.0") s = "0.0";
    return QString::fromLatin1(s.c_str());
}

QString FormatWhole(double v) {
    const double r = std::round(v);
    if (r == 0 || !std::isfinite(r)) return QStringLiteral("0");
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.0f", r);
    return QString::fromLatin1(buf);
}

QString FormatWholeOrEmpty(double v) {
    return std::round(v) == 0 ? QString() : FormatWhole(v);
}

QString PadRight(const QString& text, int width) {
    if (text.size() >= width) return text;
    return text + QString(width - text.size(), u' ');
}
