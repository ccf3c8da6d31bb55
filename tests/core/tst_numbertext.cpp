#include "core/FixedText.h"
#include "core/NumberText.h"
#include "core/TestDate.h"

#include <QRandomGenerator>
#include <QTest>

#include <bit>
#include <functional>

using namespace Qt::Literals::StringLiterals;
using Format = std::function<QString(double)>;

class TestNumberText : public QObject {
    Q_OBJECT
private slots:
    // The number read from a text, and from a cell holding it (its first six characters).
    void readLeadingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("cellValue");
        const auto row = [](const char* tag, const QString& text, double value, double cell) {
            QTest::newRow(tag) << text << value << cell;
        };
        row("empty", u""_s, 0, 0);
        row("leading blanks", u"   85"_s, 85, 85);
        row("score cell", u"92.5   (A)"_s, 92.5, 92.5);
        row("total cell", u"85%    (B)"_s, 85, 85);
        row("no leading zero", u".5"_s, 0.5, 0.5);
        row("negative", u"-.25"_s, -0.25, -0.25);
        row("plus sign", u"+7"_s, 7, 7);
        row("second point stops", u"1.2.3"_s, 1.2, 1.2);
        row("exponent", u"1E+07"_s, 1e7, 1e7);
        row("small exponent", u"1.5e-3"_s, 0.0015, 0.0015);
        row("exponent without digits", u"4E"_s, 4, 4);
        row("tab inside digits", u"8\t5"_s, 85, 85);
        row("line end inside digits", u"1.5\r\n25"_s, 1.525, 1.52);
        row("long entry", u"1234567"_s, 1234567, 123456);
        row("long decimal", u"87.3333(B)"_s, 87.3333, 87.333);
        row("many leading zeros", QString(70, u'0') + u'5', 5, 0);
        row("sign alone", u"-"_s, 0, 0);
        row("ignore marker", u"        x"_s, 0, 0);
        row("overflow gives 0", u"1E999"_s, 0, 0);
    }
    void readLeadingNumber() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QFETCH(double, cellValue);
        QCOMPARE(ReadLeadingNumber(text), value);
        QCOMPARE(CellValue(text), cellValue);
    }

    // The fast path for plain decimals reads every text as the general reader does.
    void fastPathAgreesWithGeneralReader() {
        QRandomGenerator random(20260901);
        const QString alphabet = u"0123456789012345.-+eEdD \t\n\rxa"_s;
        for (int n = 0; n < 300000; ++n) {
            QString text(random.bounded(1, 10), u' ');
            for (QChar& c : text)
                c = alphabet[random.bounded(int(alphabet.size()))];
            const double fast = ReadLeadingNumber(text), general = ReadLeadingNumberGeneral(text);
            QVERIFY2(std::bit_cast<quint64>(fast) == std::bit_cast<quint64>(general),
                     text.toUtf8().toPercentEncoding().constData());
        }
    }

    // The number formats; a file float reads back as the same single-precision value.
    void formats_data() {
        QTest::addColumn<Format>("format");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        const auto row = [](const char* tag, const Format& format, double value, const QString& t) {
            QTest::newRow(tag) << format << value << t;
        };
        const Format general = FormatGeneral, two = FormatTwoDecimals, whole = FormatWhole,
                     hash = FormatWholeOrEmpty,
                     file = [](double v) { return FormatFileFloat(float(v)); };
        row("general whole", general, 85, u"85"_s);
        row("general below one", general, 0.5, u"0.5"_s);
        row("general negative", general, -3.25, u"-3.25"_s);
        row("general seven digits", general, 1.0 / 3, u"0.3333333"_s);
        row("general float noise", general, 0.1 + 0.2, u"0.3"_s);
        row("general large", general, 12345678, u"12345680"_s);
        row("two decimals whole", two, 4, u"4.0"_s);
        row("two decimals rounds", two, 3.666, u"3.67"_s);
        row("two decimals, negative to zero", two, -0.001, u"0.0"_s);
        row("whole", whole, 84.5, u"85"_s);
        row("whole, negative to zero", whole, -0.4, u"0"_s);
        row("hash", hash, 33, u"33"_s);
        row("hash rounds to zero", hash, 0.4, u""_s);
        row("file whole", file, 100, u"100"_s);
        row("file half", file, 0.5, u".5"_s);
        row("file negative quarter", file, -0.25, u"-.25"_s);
        row("file zero", file, 0, u"0"_s);
        row("file single precision tenth", file, 0.1, u".1"_s);
        row("file seven digits", file, 1234567, u"1234567"_s);
        row("file ten million", file, 1e7, u"1E+07"_s);
        row("file tiny", file, 1.5e-5, u"1.5E-05"_s);
    }
    void formats() {
        QFETCH(Format, format);
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(format(value), text);
        if (QLatin1StringView(QTest::currentDataTag()).startsWith(u"file"_s))
            QCOMPARE(float(ReadLeadingNumber(text)), float(value));
    }

    // What a FixedText<10> holds after a text is assigned plainly or as a note.
    void fixedText_data() {
        QTest::addColumn<QString>("assigned"); // null: never assigned
        QTest::addColumn<bool>("asNote");
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("note");
        const QChar nul(u'\0');
        const auto row = [](const char* tag, const QString& assigned, bool asNote,
                            const QString& raw, const QString& text, const QString& note) {
            QTest::newRow(tag) << assigned << asNote << raw << text << note;
        };
        // A text field without a NUL is no note; leading blanks are part of the text.
        row("never assigned", {}, false, QString(10, nul), u""_s, u""_s);
        row("padded", u" A-"_s, false, u" A-       "_s, u" A-"_s, u""_s);
        row("cut", u"Outstanding!"_s, false, u"Outstandin"_s, u"Outstandin"_s, u""_s);
        row("empty", u""_s, false, QString(10, u' '), u""_s, u""_s);
        row("starts with NUL", nul + u"late"_s, false, nul + u"late     "_s, u""_s, u""_s);
        row("note keeps its blanks", u" a  "_s, true, u" a  "_s + nul + u"     "_s, u" a"_s,
            u" a  "_s);
        row("longer note cut to the field", u"late work!"_s, true, u"late work"_s + nul,
            u"late work"_s, u"late work"_s);
    }
    void fixedText() {
        QFETCH(QString, assigned);
        QFETCH(bool, asNote);
        QFETCH(QString, raw);
        QFETCH(QString, text);
        QFETCH(QString, note);
        FixedText<10> field;
        if (asNote)
            field.assignNote(assigned);
        else if (!assigned.isNull())
            field = assigned;
        QCOMPARE(field.raw(), raw);
        QCOMPARE(field.text(), text);
        QCOMPARE(field.noteText(), note);
    }

    void testDates_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        QTest::newRow("2000s") << u"09/15/07"_s << QDate(2007, 9, 15);
        QTest::newRow("last of 2000s window") << u"12/31/29"_s << QDate(2029, 12, 31);
        QTest::newRow("first of 1900s window") << u"01/01/30"_s << QDate(1930, 1, 1);
        QTest::newRow("blank") << u"        "_s << QDate();
        QTest::newRow("masked blank") << u"  /  /  "_s << QDate();
        QTest::newRow("no such day") << u"02/30/07"_s << QDate();
        QTest::newRow("words") << u"tomorrow"_s << QDate();
    }
    void testDates() {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        QCOMPARE(ParseTestDate(text).value_or(QDate()), date);
        if (date.isValid()) QCOMPARE(FormatTestDate(date), text);
    }
};

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
