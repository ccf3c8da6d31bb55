// Any bytes as the clipboard's "TestParams" or "StudentParams" data (the first byte chooses),
// decoded and applied to a class as a paste does.
#include "core/Gradebook.h"
#include "storage/ParameterBlocks.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    Gradebook book;
    book.setShape(4, 5);
    if (data[0] & 1) {
        const QList<TestParams> tests = DecodeTestBlocks(bytes);
        for (int i = 0; i < tests.size() && i < 3; ++i)
            ApplyTestParams(book, 2 + i, tests[i]);
        (void)EncodeTestBlocks(book, 2, 4);
    } else {
        const QList<StudentRecord> students = DecodeStudentBlocks(bytes);
        for (int i = 0; i < students.size() && i < 3; ++i)
            book.StudentOf(1 + i) = students[i];
        (void)EncodeStudentBlocks(book, 1, 3, StudentIdentity::Kept);
    }
    return 0;
}
