#include "Windows1252.h"

#include <array>

namespace {

// 0x80 ... 0x9F; the rest of the code page is Latin-1. Unassigned positions map to themselves.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The byte for the character, or -1 when the code page lacks it.
int byteOf(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
    for (std::size_t i = 0; i < HighControls.size(); ++i)
        if (HighControls[i] == c) return int(0x80 + i);
    return -1;
}

// Encodes into `out`, which has room for every character.
void encode(QStringView text, char* out) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) { // most text is plain ASCII: no table to search
            out[i] = char(c);
            continue;
        }
        const int b = byteOf(c);
        out[i] = b < 0 ? '?' : char(b);
    }
}

} // namespace

QByteArray EncodeWindows1252(QStringView text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    encode(text, bytes.data());
    return bytes;
}

void AppendWindows1252(QStringView text, std::string& out) {
    const std::size_t at = out.size();
    out.resize(at + std::size_t(text.size()));
    encode(text, out.data() + at);
}

QString DecodeWindows1252(QByteArrayView bytes) {
    // Qt's Latin-1 decoder is fast; only the bytes 0x80 ... 0x9F differ from it.
    QString text = QString::fromLatin1(bytes);
    QChar* c = text.data();
    for (QChar* end = c + text.size(); c != end; ++c)
        if (c->unicode() >= 0x80 && c->unicode() < 0xA0)
            *c = QChar(HighControls[c->unicode() - 0x80]);
    return text;
}

bool FitsWindows1252(QChar c) {
    return byteOf(c.unicode()) >= 0;
}
