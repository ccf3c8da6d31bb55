#include "core/FixedText.h"
#include "core/NumberText.h"
#include "core/TestDate.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

class TestNumberText : public QObject {
    Q_OBJECT
private slots:
    void readLeadingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("empty") << u""_s << 0.0;
        QTest::newRow("leading blanks") << u"   85"_s << 85.0;
        QTest::newRow("score cell") << u"85     (B)"_s << 85.0;
        QTest::newRow("total cell") << u"85%    (B)"_s << 85.0;
        QTest::newRow("no leading zero") << u".5"_s << 0.5;
        QTest::newRow("negative") << u"-.25"_s << -0.25;
        QTest::newRow("plus sign") << u"+7"_s << 7.0;
        QTest::newRow("second point stops") << u"1.2.3"_s << 1.2;
        QTest::newRow("exponent") << u"1E+07"_s << 1e7;
        QTest::newRow("small exponent") << u"1.5e-3"_s << 0.0015;
        QTest::newRow("exponent without digits") << u"4E"_s << 4.0;
        QTest::newRow("blanks inside digits") << u"1 2"_s << 12.0;
        QTest::newRow("letters first") << u"abc"_s << 0.0;
        QTest::newRow("sign alone") << u"-"_s << 0.0;
        QTest::newRow("point alone") << u"."_s << 0.0;
        QTest::newRow("ignore marker") << u"        x"_s << 0.0;
        QTest::newRow("overflow gives 0") << u"1E999"_s << 0.0;
    }
    void readLeadingNumber() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(ReadLeadingNumber(text), value);
    }

    // A cell's value is read from its first six characters only.
    void cellValue_data() {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<double>("value");
        QTest::newRow("empty") << u""_s << 0.0;
        QTest::newRow("graded") << u"92.5   (A)"_s << 92.5;
        QTest::newRow("long entry cut") << u"1234567"_s << 123456.0;
        QTest::newRow("long decimal cut") << u"87.3333(B)"_s << 87.333;
    }
    void cellValue() {
        QFETCH(QString, cell);
        QFETCH(double, value);
        QCOMPARE(CellValue(cell), value);
    }

    void formats_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("general whole") << u"general"_s << 85.0 << u"85"_s;
        QTest::newRow("general below one") << u"general"_s << 0.5 << u"0.5"_s;
        QTest::newRow("general negative") << u"general"_s << -3.25 << u"-3.25"_s;
        QTest::newRow("general seven digits") << u"general"_s << 1.0 / 3 << u"0.3333333"_s;
        QTest::newRow("general float noise") << u"general"_s << 0.1 + 0.2 << u"0.3"_s;
        QTest::newRow("general large") << u"general"_s << 12345678.0 << u"12345680"_s;
        QTest::newRow("general zero") << u"general"_s << 0.0 << u"0"_s;
        QTest::newRow("two decimals whole") << u"0.0#"_s << 4.0 << u"4.0"_s;
        QTest::newRow("two decimals one") << u"0.0#"_s << 2.5 << u"2.5"_s;
        QTest::newRow("two decimals rounds") << u"0.0#"_s << 3.666 << u"3.67"_s;
        QTest::newRow("two decimals zero") << u"0.0#"_s << 0.0 << u"0.0"_s;
        QTest::newRow("whole") << u"0"_s << 84.5 << u"85"_s;
        QTest::newRow("whole zero") << u"0"_s << 0.0 << u"0"_s;
        QTest::newRow("hash") << u"#"_s << 33.0 << u"33"_s;
        QTest::newRow("hash zero is empty") << u"#"_s << 0.0 << u""_s;
        QTest::newRow("hash rounds to zero") << u"#"_s << 0.4 << u""_s;
    }
    void formats() {
        QFETCH(QString, format);
        QFETCH(double, value);
        QFETCH(QString, text);
        const QString got = format == u"general" ? FormatGeneral(value)
                            : format == u"0.0#"  ? FormatTwoDecimals(value)
                            : format == u"0"     ? FormatWhole(value)
                                                 : FormatWholeOrEmpty(value);
        QCOMPARE(got, text);
    }

    // Numbers written to files read back to the same single-precision value.
    void fileFloat_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 100.0f << u"100"_s;
        QTest::newRow("half") << 0.5f << u".5"_s;
        QTest::newRow("negative quarter") << -0.25f << u"-.25"_s;
        QTest::newRow("minus one") << -1.0f << u"-1"_s;
        QTest::newRow("zero") << 0.0f << u"0"_s;
        QTest::newRow("single precision tenth") << 0.1f << u".1"_s;
        QTest::newRow("seven digits") << 1234567.0f << u"1234567"_s;
        QTest::newRow("ten million") << 1e7f << u"1E+07"_s;
        QTest::newRow("tiny") << 1.5e-5f << u"1.5E-05"_s;
        QTest::newRow("value 3.67") << 3.67f << u"3.67"_s;
    }
    void fileFloat() {
        QFETCH(float, value);
        QFETCH(QString, text);
        QCOMPARE(FormatFileFloat(value), text);
        QCOMPARE(float(ReadLeadingNumber(text)), value);
    }

    void fixedTextCutsPadsAndKeepsNul() {
        FixedText<10> grade;
        QCOMPARE(grade.raw(), QString(10, QChar(u'\0')));
        QCOMPARE(grade.text(), QString());
        grade = u"A-";
        QCOMPARE(grade.raw(), u"A-        "_s);
        QCOMPARE(grade.text(), u"A-"_s);
        grade = u"Outstanding!";
        QCOMPARE(grade.raw(), u"Outstandin"_s);
        grade = u"";
        QCOMPARE(grade.raw(), QString(10, u' '));
    }

    void noteEndsAtFirstNul_data() {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QString>("note");
        QTest::newRow("terminated") << QString(u"late work"_s + QChar(u'\0')) << u"late work"_s;
        QTest::newRow("no nul reads empty") << u"late work"_s << QString();
        QTest::newRow("starts with nul") << QString(QChar(u'\0')) + u"late"_s << QString();
        QTest::newRow("blanks kept before nul") << QString(u"a  "_s + QChar(u'\0')) << u"a  "_s;
    }
    void noteEndsAtFirstNul() {
        QFETCH(QString, raw);
        QFETCH(QString, note);
        FixedText<20> field;
        field = raw;
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
