#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <string>

// Gradebooks, libraries and text exports are 8-bit Windows-1252, so files move between this
// program and the systems that wrote the older versions. A character the code page lacks is
// written as "?".
QByteArray EncodeWindows1252(QStringView text);
// The same, added to the end of `out`.
void AppendWindows1252(QStringView text, std::string& out);
QString DecodeWindows1252(QByteArrayView bytes);

// Whether the code page has the character, so that a text holding it reads back as written.
// Each half of a surrogate pair is refused: the code page has nothing beyond the first plane.
bool FitsWindows1252(QChar c);
