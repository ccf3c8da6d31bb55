// Any bytes as the settings store: every value is read through the program's own rules.
#include "FuzzInput.h"
#include "storage/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = FuzzInputFile(data, size, ".ini");
    QSettings store(path, QSettings::IniFormat);
    (void)CheckSettingsReadable(store);
    const AppSettings settings = LoadSettings(store, AppSettings{});
    (void)settings;
    return 0;
}
