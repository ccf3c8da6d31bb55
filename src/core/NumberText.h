#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>

// The one number reader: blanks are skipped, then an optional sign, digits, one decimal point
// and an exponent are taken; reading stops at the first other character. No number gives 0.
double ReadLeadingNumber(QStringView text);
// The same for Latin-1 text, such as the bytes of a file.
double ReadLeadingNumber(QLatin1StringView text);
// The value of a plain decimal of at most fifteen digits, read as `mantissa` with `decimals`
// of its digits after the point: exactly the number reader's result for that text.
double PlainDecimalValue(std::int64_t mantissa, int decimals, bool negative);
// The same reader without its fast path for plain decimals, so tests can hold both to one result.
double ReadLeadingNumberGeneral(QStringView text);

// Whether the whole text, blanks around it aside, is one finite number: "85", " -2.5", ".5",
// "1E3"; not "", "85abc", "7,5" or "1 2".
bool IsNumberText(QStringView text);
// The same check without its fast path for plain decimals.
bool IsNumberTextGeneral(QStringView text);

// The value of a score cell: the number read from its first six characters.
double CellValue(QStringView cellText);

// Number formats, one home for all of them.
QString FormatGeneral(double v);      // up to 7 significant digits: 85, 92.5, 0.5
QString FormatFileFloat(float v);     // 7 significant digits, no leading zero: .5, -.25, 1E+07
QString FormatTwoDecimals(double v);  // "0.0#": 4 -> 4.0, 3.67 -> 3.67
QString FormatWhole(double v);        // "0": the rounded whole number
QString FormatWholeOrEmpty(double v); // "#": as "0", but 0 gives the empty text

// FormatGeneral without a heap allocation, for the loops over every cell: of() gives a view of
// the text, valid until the next call.
class GeneralText {
public:
    QStringView of(double v);

private:
    std::array<char16_t, 64> m_units{};
};

// Right-pads text with blanks to at least width characters.
QString PadRight(const QString& text, int width);
