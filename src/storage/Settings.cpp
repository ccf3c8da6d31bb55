#include "Settings.h"

#include "core/NumberText.h"

#include <QFileInfo>
#include <QVariant>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

// Longer values are not trusted: they give their defaults, as the older stores did.
constexpr qsizetype MaxTextLength = 254;
constexpr qsizetype MaxNumberLength = 19;

const QString ScaleGeometry = u"Scale Geometry"_s;
const QString FontSection = u"Font"_s;
const QString FileSection = u"File"_s;

// Opens a section for the lifetime of the scope.
class Section {
public:
    Section(QSettings& store, const QString& name) : m_store(store) { m_store.beginGroup(name); }
    ~Section() { m_store.endGroup(); }
    Section(const Section&) = delete;
    Section& operator=(const Section&) = delete;

private:
    QSettings& m_store;
};

// The stored text of `name`, or nothing when it is missing, not text or too long.
std::optional<QString> storedText(const QSettings& store, const QString& name,
                                  qsizetype maxLength) {
    const QVariant v = store.value(name);
    if (v.typeId() != QMetaType::QString) return std::nullopt;
    QString text = v.toString();
    if (text.size() > maxLength) return std::nullopt;
    return text;
}

QString getText(const QSettings& store, const QString& name, const QString& fallback) {
    return storedText(store, name, MaxTextLength).value_or(fallback);
}

double getNumber(const QSettings& store, const QString& name, double fallback) {
    const auto text = storedText(store, name, MaxNumberLength);
    return text ? ReadLeadingNumber(*text) : fallback;
}

// A whole number within [low, high]; anything outside the field's range gives the fallback,
// so that no stored text can overflow it.
template <typename T>
T getWhole(const QSettings& store, const QString& name, T fallback,
           T low = std::numeric_limits<T>::min(), T high = std::numeric_limits<T>::max()) {
    const double v = std::round(getNumber(store, name, double(fallback)));
    if (!std::isfinite(v) || v < double(low) || v > double(high)) return fallback;
    return T(v);
}

// "True" only when the trimmed text is exactly "True"; a missing value keeps the fallback.
bool getFlag(const QSettings& store, const QString& name, bool fallback) {
    const auto text = storedText(store, name, MaxTextLength);
    return text ? text->trimmed() == u"True"_s : fallback;
}

QString flagText(bool on) {
    return on ? u"True"_s : u"False"_s;
}

void put(QSettings& store, const QString& name, const QString& text) {
    store.setValue(name, text);
}

void put(QSettings& store, const QString& name, qint64 number) {
    store.setValue(name, QString::number(number));
}

// A path of blanks only stands for "no file": it is what New and a refused file store.
QString lastFileOf(const QString& stored) {
    return stored.trimmed().isEmpty() ? QString() : stored;
}

void writeFileSection(QSettings& store, const QStringList& recentFiles, const QString& lastFile) {
    Section section(store, FileSection);
    const auto count = std::min<qsizetype>(recentFiles.size(), MaxRecentFiles);
    put(store, u"Files in menu"_s, count);
    for (qsizetype n = 1; n <= count; ++n)
        put(store, u"File"_s + QString::number(n), recentFiles[n - 1]);
    put(store, u"Last File"_s, lastFile);
}

QString describe(QSettings::Status status, const QString& path) {
    if (status == QSettings::FormatError) return u"The settings file is not in a readable form."_s;
    const QFileInfo info(path);
    if (info.exists() && !info.isWritable()) return u"The settings file is read-only."_s;
    return u"The settings file or its folder cannot be written."_s;
}

// Writes what is pending and reports a store that could not take it.
Result flush(QSettings& store) {
    store.sync();
    if (store.status() == QSettings::NoError) return Result::success();
    return Result::failure(u"Error writing settings "_s + store.fileName() + u". "_s +
                           describe(store.status(), store.fileName()));
}

} // namespace

Result CheckSettingsReadable(const QSettings& store) {
    if (store.status() == QSettings::NoError) return Result::success();
    return Result::failure(u"Error reading settings "_s + store.fileName() + u". "_s +
                           (store.status() == QSettings::FormatError
                                ? u"The settings file is not in a readable form."_s
                                : u"The settings file cannot be read."_s));
}

std::unique_ptr<QSettings> OpenSettingsStore() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, u"Quillmark"_s,
                                       u"Quillmark"_s);
}

AppSettings LoadSettings(QSettings& store, const AppSettings& defaults) {
    AppSettings s = defaults;
    {
        Section section(store, ScaleGeometry);
        s.labelColumnWidth = getWhole<std::int16_t>(store, u"Left"_s, 0);
        s.sliderWidth = getWhole<std::int16_t>(store, u"Right"_s, 0);
        s.mainWidth = getWhole<std::int32_t>(store, u"Main Width"_s, 0);
        s.mainHeight = getWhole<std::int32_t>(store, u"Main Height"_s, 0);
        s.mainLeft = getWhole<std::int32_t>(store, u"Main Left"_s, 0);
        s.mainTop = getWhole<std::int32_t>(store, u"Main Top"_s, 0);
        s.mainState = getWhole<std::int32_t>(store, u"Main State"_s, 0, 0, 2);
        s.hideControls = getFlag(store, u"Hide Controls"_s, false);
    }
    {
        Section section(store, FontSection);
        s.fontName = getText(store, u"Name"_s, defaults.fontName);
        s.fontItalic = getFlag(store, u"Italic"_s, defaults.fontItalic);
        s.fontCharSet = getWhole<std::int32_t>(store, u"CharSet"_s, defaults.fontCharSet);
        s.fontBold = getFlag(store, u"Bold"_s, defaults.fontBold);
        s.fontStrikethrough = getFlag(store, u"Strikethrough"_s, defaults.fontStrikethrough);
        s.fontUnderline = getFlag(store, u"Underline"_s, defaults.fontUnderline);
        s.fontSize = getNumber(store, u"Size"_s, defaults.fontSize);
        s.foreColor = getWhole<quint32>(store, u"ForeColor"_s, defaults.foreColor);
    }
    {
        Section section(store, FileSection);
        // The menu holds four files, whatever an older store says.
        const int count =
            std::min(getWhole<std::int32_t>(store, u"Files in menu"_s, 0, 0), MaxRecentFiles);
        s.recentFiles.clear();
        for (int n = 1; n <= count; ++n)
            s.recentFiles.append(getText(store, u"File"_s + QString::number(n), QString()));
        s.lastFile = lastFileOf(getText(store, u"Last File"_s, QString()));
    }
    return s;
}

Result SaveSettings(QSettings& store, const AppSettings& s) {
    {
        Section section(store, ScaleGeometry);
        put(store, u"Left"_s, s.labelColumnWidth);
        put(store, u"Right"_s, s.sliderWidth);
        put(store, u"Main State"_s, s.mainState);
        put(store, u"Main Width"_s, s.mainWidth);
        put(store, u"Main Height"_s, s.mainHeight);
        put(store, u"Main Top"_s, s.mainTop);
        put(store, u"Main Left"_s, s.mainLeft);
        put(store, u"Hide Controls"_s, flagText(s.hideControls));
    }
    writeFileSection(store, s.recentFiles, s.lastFile);
    {
        Section section(store, FontSection);
        put(store, u"Name"_s, s.fontName);
        put(store, u"Italic"_s, flagText(s.fontItalic));
        put(store, u"CharSet"_s, s.fontCharSet);
        put(store, u"Bold"_s, flagText(s.fontBold));
        put(store, u"Strikethrough"_s, flagText(s.fontStrikethrough));
        put(store, u"Underline"_s, flagText(s.fontUnderline));
        put(store, u"Size"_s, FormatGeneral(s.fontSize));
        put(store, u"ForeColor"_s, qint64(s.foreColor));
    }
    return flush(store);
}

Result SaveScaleGeometry(QSettings& store, int labelColumnWidth, int sliderWidth) {
    {
        Section section(store, ScaleGeometry);
        put(store, u"Left"_s, labelColumnWidth);
        put(store, u"Right"_s, sliderWidth);
    }
    return flush(store);
}

Result SaveFileSection(QSettings& store, const QStringList& recentFiles, const QString& lastFile) {
    writeFileSection(store, recentFiles, lastFile);
    return flush(store);
}

Result SaveLastFile(QSettings& store, const QString& lastFile) {
    {
        Section section(store, FileSection);
        put(store, u"Last File"_s, lastFile);
    }
    return flush(store);
}

void AddRecentFile(QStringList& recentFiles, const QString& path) {
    if (path.isEmpty()) return;
    // Paths keep their case: on Linux two spellings name two files.
    recentFiles.removeAll(path);
    recentFiles.prepend(path);
    while (recentFiles.size() > MaxRecentFiles)
        recentFiles.removeLast();
}
