// Any bytes as scales.dat or importan.dat.
#include "FuzzInput.h"
#include "storage/LibraryFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = FuzzInputFile(data, size, ".dat");
    std::vector<GradeScale> scales;
    std::vector<ImportanceSet> sets;
    const LibraryReadResult a = ReadLibraryFile(path, scales);
    const LibraryReadResult b = ReadLibraryFile(path, sets);
    // What was read must write back.
    if (a.replaced) (void)WriteLibraryFile(path + QStringLiteral(".out"), scales, a.count);
    if (b.replaced) (void)WriteLibraryFile(path + QStringLiteral(".out"), sets, b.count);
    return 0;
}
