// Any bytes as delimited text to import, under each separator and delimiter; the first byte
// chooses them and the layout.
#include "FuzzInput.h"
#include "core/Gradebook.h"
#include "core/Libraries.h"
#include "core/NewGradebook.h"
#include "storage/TextExchange.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t choice = data[0];
    const QString path = FuzzInputFile(data + 1, size - 1, ".txt");
    static const Libraries libraries = [] {
        Libraries l;
        l.scales.resize(2);
        l.importanceSets.resize(1);
        return l;
    }();
    static const char* separators[] = {"{TAB}", ",", "{SPACE}", ";"};
    static const char* delimiters[] = {"\"", "'", "{NONE}", "|"};
    TextExchangeOptions options;
    options.separatorText = QString::fromLatin1(separators[choice & 3]);
    options.delimiterText = QString::fromLatin1(delimiters[(choice >> 2) & 3]);
    options.testNamesRow = choice & 16;
    options.studentNamesColumn = choice & 32;
    Gradebook book;
    ResetToNew(book, libraries);
    (void)ImportText(book, path, options, libraries);
    return 0;
}
