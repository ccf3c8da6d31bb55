#pragma once

#include "core/Gradebook.h"
#include "core/Records.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QStringView>

// The binary parameter blocks that travel beside the copied text when whole test columns or
// whole student rows are copied: little-endian, texts as UTF-16 units at their full width,
// 32-bit floats and 16-bit integers, one fixed-size block per test or student, no header.
namespace ParameterBlocks {
inline constexpr QStringView TestFormat = u"TestParams";
inline constexpr QStringView StudentFormat = u"StudentParams";
// A test block carries the include flags of the first 1000 students only.
inline constexpr int FlagUnits = 1000;
inline constexpr qsizetype TestSize = 3420;
inline constexpr qsizetype StudentSize = 1452;
} // namespace ParameterBlocks

// One test's parameters as a block carries them.
struct TestParams {
    TestRecord record;
    // Unit k: student k's include flag for the test ("1" counts), in table order; NUL past the
    // last student, and throughout for the Total column, which has no flags.
    FixedText<ParameterBlocks::FlagUnits> includeFlags;
    bool operator==(const TestParams&) const = default;
};

// Whether copied student records keep the identity the table hides, or carry "?????????" in its
// place and in the note (names protected and no password given).
enum class StudentIdentity { Kept, Masked };

// The parameters of column `col` (1 ... C-1): its TestRecord and, for a test column, every
// student's include flag for it.
TestParams TestParamsOf(const Gradebook& book, int col);
// Puts `test` into column `col` (1 ... C-1; any other column is left alone): its TestRecord
// and, for a test column, the include flags of the first 1000 students, unit for unit.
void ApplyTestParams(Gradebook& book, int col, const TestParams& test);
// The student record with the hidden identity (the name while the ID is shown, else the ID) and
// the note replaced by "?????????".
StudentRecord MaskedStudent(const StudentRecord& student);

// Exactly TestSize / StudentSize bytes.
QByteArray EncodeTestBlock(const TestParams& test);
QByteArray EncodeStudentBlock(const StudentRecord& student);
// The blocks of columns first ... last or rows first ... last, in table order, concatenated.
// Columns and rows without a record (column 0, row 0, beyond the table) give no block.
QByteArray EncodeTestBlocks(const Gradebook& book, int firstCol, int lastCol);
QByteArray EncodeStudentBlocks(const Gradebook& book, int firstRow, int lastRow,
                               StudentIdentity identity);

// The whole blocks in `data`; bytes after the last whole block are ignored, so fewer bytes than
// one block give an empty list. Any bytes decode to records a gradebook file could hold: a float
// that is NaN or infinite reads as 0, a step count is clamped to 0 ... 26, "Name as ID" reads as
// 0 or 1 (and is the student's saved choice too), every text unit is kept.
QList<TestParams> DecodeTestBlocks(QByteArrayView data);
QList<StudentRecord> DecodeStudentBlocks(QByteArrayView data);
