#pragma once

#include "core/Result.h"

#include <QSettings>
#include <QString>
#include <QStringList>

#include <memory>

inline constexpr int MaxRecentFiles = 4;

// Everything the program keeps between runs. Lengths are in twips.
struct AppSettings {
    // "Scale Geometry"
    int labelColumnWidth = 0; // "Left"
    int sliderWidth = 0;      // "Right"
    int mainWidth = 0, mainHeight = 0, mainLeft = 0, mainTop = 0;
    int mainState = 0; // 0 normal, 1 minimized, 2 maximized
    bool hideControls = false;
    // "Font": what is missing keeps the value given before loading (the table's font)
    QString fontName;
    bool fontItalic = false;
    int fontCharSet = 0;
    bool fontBold = false;
    bool fontStrikethrough = false;
    bool fontUnderline = false;
    double fontSize = 0;
    quint32 foreColor = 0;
    // "File"
    QStringList recentFiles; // most recent first, at most four
    QString lastFile;
    bool operator==(const AppSettings&) const = default;
};

// Opens the per-user store: INI format under the organisation and application "Quillmark".
// A QSettings that once failed to write keeps reporting that failure, so open a fresh store
// for each save rather than keeping one for the run.
std::unique_ptr<QSettings> OpenSettingsStore();

// Reads every setting; `defaults` supplies the font values (the table's current font). Values
// that are missing, too long or out of range give their defaults; a "Last File" of blanks only
// (what New stores) reads as the empty text, any other path is kept exactly.
AppSettings LoadSettings(QSettings& store, const AppSettings& defaults);
// Reports a store that exists but could not be read (its values then read as defaults).
Result CheckSettingsReadable(const QSettings& store);
// Writes every setting. A store that cannot be written is reported.
Result SaveSettings(QSettings& store, const AppSettings& settings);

// The writes made outside start-up and exit.
Result SaveScaleGeometry(QSettings& store, int labelColumnWidth, int sliderWidth);
Result SaveFileSection(QSettings& store, const QStringList& recentFiles, const QString& lastFile);
Result SaveLastFile(QSettings& store, const QString& lastFile);

// Puts `path` first in the recent list, removing an equal entry, and keeps at most four.
void AddRecentFile(QStringList& recentFiles, const QString& path);
