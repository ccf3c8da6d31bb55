#include "storage/ParameterBlocks.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <cmath>

using namespace Qt::Literals::StringLiterals;
using namespace ParameterBlocks;

namespace {

// Accents, a surrogate pair, a quote, a tab, a comma, a lone surrogate: texts keep every unit.
const QString Odd = u"é€😀\"\t,"_s + QChar(0xD800);
const QString Hidden = u"?????????"_s;

// Every field set, note at full length, 26 steps; the layout test expects the first characters.
TestParams fullTest(float maxScore = 87.5f) {
    TestParams t{{maxScore, 3, FixedText<Limits::DateWidth>(u"12/31/99"), {}, 1, {}}, {}};
    t.record.note.assignNote(u"N"_s + Odd.repeated(40));
    t.record.scale.name = u"S"_s + Odd.repeated(12);
    t.record.scale.count = Limits::MaxSteps;
    for (int i = 0; i < Limits::MaxSteps; ++i)
        t.record.scale.steps[std::size_t(i)] = {FixedText<Limits::GradeWidth>(u"A"_s + Odd),
                                                4.0f + 0.125f * float(i), 12.5f + 3.5f * float(i)};
    for (int k = 0; k < FlagUnits; ++k)
        t.includeFlags.set(k, QChar(u"10x"[k % 3]));
    return t;
}

StudentRecord fullStudent(const QString& id = u"I"_s) {
    StudentRecord s;
    s.id = id + Odd.repeated(5);
    s.name = u"M"_s + Odd.repeated(10);
    s.showAsId = s.savedShowAsId = 1;
    s.note.assignNote(u"T"_s + Odd.repeated(40));
    for (int k = 0; k < Limits::MaxTests; ++k)
        s.includeFlags.set(k, QChar(u"01"[k % 2]));
    return s;
}

QString shown(const StudentRecord& s) {
    return s.id.text() + u'|' + s.name.text() + u'|' + s.note.noteText();
}

} // namespace

class TestParameterBlocks : public QObject {
    Q_OBJECT

private slots:
    void layout_data() {
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("hex");
        const QByteArray t = EncodeTestBlock(fullTest()), s = EncodeStudentBlock(fullStudent());
        // clang-format off
        const std::tuple<const char*, QByteArray, int, const char*> rows[] = {
            {"maxScore 87.5, importance 3, unused, date", t, 0, "0000af42000040400000000031003200"},
            {"note", t, 28, "4e00e900"}, {"note's NUL, calculate grades", t, 536, "00000100"},
            {"scale name", t, 540, "5300"}, {"step count 26, first grade", t, 690, "1a004100"},
            {"first value 4", t, 712, "00008040"}, {"last top score 100", t, 1416, "0000c842"},
            {"first include flags", t, 1420, "310030007800"}, {"last flag", t, 3418, "3100"},
            {"student id, Name as ID -1, name", s, 48, "00d8ffff4d00"},
            {"student note", s, 202, "5400"}, {"student last flag", s, 1450, "3100"},
            {"note's NUL, include flags", s, 650, "000030003100"}};
        // clang-format on
        for (const auto& [name, block, offset, hex] : rows)
            QTest::newRow(name) << block << offset << QByteArray::fromHex(hex);
    }
    void layout() {
        QFETCH(QByteArray, block);
        QFETCH(int, offset);
        QFETCH(QByteArray, hex);
        QCOMPARE(block.mid(offset, hex.size()).toHex(), hex.toHex());
    }

    // Only whole blocks are decoded, in order and unchanged.
    void wholeBlocks_data() {
        QTest::addColumn<int>("blocks");
        QTest::addColumn<int>("extra"); // bytes added after the blocks, or cut from the last
        QTest::newRow("no bytes") << 0 << 0;
        QTest::newRow("one cut short") << 1 << -1;
        QTest::newRow("one and extra bytes") << 1 << 1451;
        QTest::newRow("three") << 3 << 0;
        QTest::newRow("three, last cut short") << 3 << -700;
    }
    void wholeBlocks() {
        QFETCH(int, blocks);
        QFETCH(int, extra);
        QByteArray tests, students;
        for (int i = 0; i < blocks; ++i) {
            tests += EncodeTestBlock(fullTest(float(i)));
            students += EncodeStudentBlock(fullStudent(QString::number(i)));
        }
        for (QByteArray* bytes : {&tests, &students})
            *bytes = extra < 0 ? bytes->chopped(-extra) : *bytes + QByteArray(extra, '\x7f');
        const auto decodedTests = DecodeTestBlocks(tests);
        const auto decodedStudents = DecodeStudentBlocks(students);
        QCOMPARE(decodedTests.size(), extra < 0 ? blocks - 1 : blocks);
        QCOMPARE(decodedStudents.size(), decodedTests.size());
        for (int i = 0; i < decodedTests.size(); ++i) {
            QCOMPARE(decodedTests[i], fullTest(float(i)));
            QCOMPARE(decodedStudents[i], fullStudent(QString::number(i)));
        }
    }

    // Any bytes decode to values within their fields' limits, stable when encoded again; a
    // float that is not finite reads as 0.
    void garbage_data() {
        QTest::addColumn<QByteArray>("bytes");
        QRandomGenerator random(20240901);
        for (int size : {1, 1451, 1452, 1453, 3419, 3420, 3421, 6841, 10260}) {
            QByteArray bytes(size, '\0');
            std::ranges::generate(bytes, [&] { return char(random.bounded(256)); });
            QTest::addRow("random %d", size) << bytes;
        }
        QTest::newRow("all 0xFF: NaN, count -1") << QByteArray(2 * TestSize, '\xff');
        QTest::newRow("infinities, count 32640") << QByteArray::fromHex("0000807f").repeated(1710);
    }
    void garbage() {
        QFETCH(QByteArray, bytes);
        const auto tests = DecodeTestBlocks(bytes);
        QCOMPARE(tests.size(), bytes.size() / TestSize);
        for (const TestParams& t : tests) {
            const GradeScale& scale = t.record.scale;
            bool finite = std::isfinite(t.record.maxScore) && std::isfinite(t.record.importance);
            for (const ScaleStep& step : scale.steps)
                finite = finite && std::isfinite(step.value) && std::isfinite(step.topScore);
            QVERIFY(finite && scale.count >= 0 && scale.count <= Limits::MaxSteps);
            QCOMPARE(DecodeTestBlocks(EncodeTestBlock(t)), QList{t});
        }
        if (bytes.startsWith("\xff") || bytes.startsWith(QByteArray::fromHex("0000807f")))
            QCOMPARE(tests[0].record.maxScore, 0.0f);
        const auto students = DecodeStudentBlocks(bytes);
        QCOMPARE(students.size(), bytes.size() / StudentSize);
        for (const StudentRecord& s : students) {
            QVERIFY((s.showAsId == 0 || s.showAsId == 1) && s.savedShowAsId == s.showAsId);
            QCOMPARE(DecodeStudentBlocks(EncodeStudentBlock(s)), QList{s});
        }
    }

    // A selection's blocks and back: only columns and rows with records, the Total column
    // without flags, the first 1000 students' flags, hidden identities masked.
    void selection() {
        Gradebook book, other;
        book.setShape(1002, 4);
        other.setShape(1002, 3);
        book.TestOf(3).maxScore = 50;
        for (int row : {1, 1000, 1001})
            book.setIncluded(row, 3, false);
        const auto tests = DecodeTestBlocks(EncodeTestBlocks(book, 0, 9));
        QCOMPARE(tests.size(), 3);
        QCOMPARE(tests[0].includeFlags, FixedText<FlagUnits>());
        for (int col : {0, 2, 3})
            ApplyTestParams(other, col, tests[2]);
        QCOMPARE(other.TestOf(2), book.TestOf(3));
        QCOMPARE(QList({other.isIncluded(1, 2), other.isIncluded(2, 2), other.isIncluded(1000, 2),
                        other.isIncluded(1001, 2)}),
                 QList({false, true, false, true}));
        ApplyTestParams(other, 3, tests[0]); // no flags: the students keep theirs
        QVERIFY(other.isIncluded(2, 3));

        book.StudentOf(1) = fullStudent(u"Ann"_s);
        book.StudentOf(2).name = u"Bob"_s;
        const auto masked =
            DecodeStudentBlocks(EncodeStudentBlocks(book, 0, 2, StudentIdentity::Masked));
        QCOMPARE(shown(masked.value(0)),
                 book.StudentOf(1).id.text() + u'|' + Hidden + u'|' + Hidden);
        QCOMPARE(shown(masked.value(1)), Hidden + u"|Bob|"_s + Hidden);
    }
};

QTEST_GUILESS_MAIN(TestParameterBlocks)
#include "tst_parameterblocks.moc"
