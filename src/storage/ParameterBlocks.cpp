#include "ParameterBlocks.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <tuple>

using namespace ParameterBlocks;

namespace {

// The block sizes follow from the record widths; a change of a width must not move a field
// silently.
constexpr qsizetype ScaleBytes =
    2 * Limits::ScaleNameWidth + 2 + Limits::MaxSteps * (2 * Limits::GradeWidth + 4 + 4);
constexpr qsizetype TestRecordBytes =
    4 + 4 + 4 + 2 * Limits::DateWidth + 2 * Limits::TestNoteWidth + 2 + ScaleBytes;
static_assert(ScaleBytes == 880 && TestRecordBytes == 1420);
static_assert(TestRecordBytes + 2 * FlagUnits == TestSize);
static_assert(2 * (Limits::IdWidth + 1 + Limits::NameWidth + Limits::StudentNoteWidth +
                   Limits::MaxTests) ==
              StudentSize);

// Four bytes after the importance that the record has no field for: written as zeros, skipped
// when read.
constexpr int UnusedBytes = 4;

class BlockWriter {
public:
    explicit BlockWriter(QByteArray& out) : m_out(out) {}
    void put(std::int16_t v) { append(quint16(v)); }
    void put(float v) { append(std::bit_cast<quint32>(v)); }
    template <int N> void put(const FixedText<N>& text) {
        for (int i = 0; i < N; ++i)
            append(quint16(text.unit(i)));
    }
    void zeros(int n) { m_out.append(n, '\0'); }

private:
    template <typename T> void append(T v) {
        char bytes[sizeof v];
        qToLittleEndian(v, bytes);
        m_out.append(bytes, sizeof v);
    }
    QByteArray& m_out;
};

// Reads one whole block field by field. The callers hand it exactly one block, and the static
// sizes above match what they read; past the end it still only gives zeros.
class BlockReader {
public:
    explicit BlockReader(QByteArrayView block) : m_block(block) {}
    void get(std::int16_t& v) { v = std::int16_t(take<quint16>()); }
    // A float that is not a number or infinite reads as 0, the value of a blank field; every
    // calculation is then safe with it.
    void get(float& v) {
        const float f = std::bit_cast<float>(take<quint32>());
        v = std::isfinite(f) ? f : 0.0f;
    }
    template <int N> void get(FixedText<N>& text) {
        std::array<char16_t, N> units;
        for (char16_t& u : units)
            u = take<quint16>();
        text.assign(QStringView(units.data(), N));
    }
    void skip(int n) { m_pos += n; }

private:
    template <typename T> T take() {
        if (m_pos + qsizetype(sizeof(T)) > m_block.size()) return T{};
        const T v = qFromLittleEndian<T>(m_block.data() + m_pos);
        m_pos += sizeof(T);
        return v;
    }
    QByteArrayView m_block;
    qsizetype m_pos = 0;
};

void putScale(BlockWriter& out, const GradeScale& scale) {
    out.put(scale.name);
    out.put(std::int16_t(scale.count));
    for (const ScaleStep& step : scale.steps)
        std::apply([&](const auto&... field) { (out.put(field), ...); }, step.fields());
}

void getScale(BlockReader& in, GradeScale& scale) {
    in.get(scale.name);
    std::int16_t count = 0;
    in.get(count);
    scale.count = std::clamp<int>(count, 0, Limits::MaxSteps);
    for (ScaleStep& step : scale.steps)
        std::apply([&](auto&... field) { (in.get(field), ...); }, step.fields());
}

template <typename Block, typename Decode>
QList<Block> decodeBlocks(QByteArrayView data, qsizetype size, Decode decode) {
    QList<Block> blocks;
    const qsizetype count = data.size() / size;
    blocks.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        BlockReader in(data.sliced(i * size, size));
        decode(in, blocks.emplace_back());
    }
    return blocks;
}

} // namespace

TestParams TestParamsOf(const Gradebook& book, int col) {
    TestParams test{book.TestOf(col), {}};
    if (col >= 2) {
        const int students = std::min(book.studentCount(), FlagUnits);
        for (int r = 1; r <= students; ++r)
            test.includeFlags.set(r - 1, book.StudentOf(r).includeFlags.at(col - 2));
    }
    return test;
}

void ApplyTestParams(Gradebook& book, int col, const TestParams& test) {
    if (col < 1 || col >= book.columnCount()) return;
    book.TestOf(col) = test.record;
    if (col < 2) return;
    // A block from a smaller class has no flag for the students beyond its own; they keep
    // theirs rather than having every score ignored.
    const int students = std::min(book.studentCount(), FlagUnits);
    for (int r = 1; r <= students; ++r) {
        const QChar flag = test.includeFlags.at(r - 1);
        if (flag == u'0' || flag == u'1') book.StudentOf(r).includeFlags.set(col - 2, flag);
    }
}

StudentRecord MaskedStudent(const StudentRecord& student) {
    const QString hidden = QStringLiteral("?????????");
    StudentRecord masked = student;
    if (student.showAsId != 0)
        masked.name = hidden;
    else
        masked.id = hidden;
    masked.note.assignNote(hidden);
    return masked;
}

QByteArray EncodeTestBlock(const TestParams& test) {
    const TestRecord& t = test.record;
    QByteArray bytes;
    bytes.reserve(TestSize);
    BlockWriter out(bytes);
    out.put(t.maxScore);
    out.put(t.importance);
    out.zeros(UnusedBytes);
    out.put(t.date);
    out.put(t.note);
    out.put(t.calculateGrades);
    putScale(out, t.scale);
    out.put(test.includeFlags);
    return bytes;
}

QByteArray EncodeStudentBlock(const StudentRecord& student) {
    QByteArray bytes;
    bytes.reserve(StudentSize);
    BlockWriter out(bytes);
    out.put(student.id);
    out.put(std::int16_t(student.showAsId != 0 ? -1 : 0)); // the block's form of "true"
    out.put(student.name);
    out.put(student.note);
    out.put(student.includeFlags);
    return bytes;
}

QByteArray EncodeTestBlocks(const Gradebook& book, int firstCol, int lastCol) {
    QByteArray bytes;
    for (int c = std::max(firstCol, 1); c <= std::min(lastCol, book.columnCount() - 1); ++c)
        bytes += EncodeTestBlock(TestParamsOf(book, c));
    return bytes;
}

QByteArray EncodeStudentBlocks(const Gradebook& book, int firstRow, int lastRow,
                               StudentIdentity identity) {
    QByteArray bytes;
    for (int r = std::max(firstRow, 1); r <= std::min(lastRow, book.rowCount() - 1); ++r) {
        const StudentRecord& s = book.StudentOf(r);
        bytes += EncodeStudentBlock(identity == StudentIdentity::Masked ? MaskedStudent(s) : s);
    }
    return bytes;
}

QList<TestParams> DecodeTestBlocks(QByteArrayView data) {
    return decodeBlocks<TestParams>(data, TestSize, [](BlockReader& in, TestParams& test) {
        TestRecord& t = test.record;
        in.get(t.maxScore);
        in.get(t.importance);
        in.skip(UnusedBytes);
        in.get(t.date);
        in.get(t.note);
        in.get(t.calculateGrades);
        getScale(in, t.scale);
        in.get(test.includeFlags);
    });
}

QList<StudentRecord> DecodeStudentBlocks(QByteArrayView data) {
    return decodeBlocks<StudentRecord>(data, StudentSize, [](BlockReader& in, StudentRecord& s) {
        in.get(s.id);
        in.get(s.showAsId);
        s.showAsId = s.showAsId != 0 ? 1 : 0;
        s.savedShowAsId = s.showAsId;
        in.get(s.name);
        in.get(s.note);
        in.get(s.includeFlags);
    });
}
