// Any bytes as a gradebook file: the reader either refuses them with its message or gives a
// document that the engine can recalculate, sort and write again.
#include "FuzzInput.h"
#include "core/Gradebook.h"
#include "grading/Refresh.h"
#include "storage/GradebookFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = FuzzInputFile(data, size, ".GRD");
    Gradebook book;
    if (!ReadGradebookFile(book, path)) return 0;
    (void)Refresh(book, book.columnCount() - 1);
    (void)WriteGradebookFile(book, path + QStringLiteral(".out"));
    return 0;
}
