#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Gradebooks, libraries and text exports are 8-bit Windows-1252, so files move between this
// program and the systems that wrote the older versions. A character the code page lacks is
// written as "?".
QByteArray EncodeWindows1252(QStringView text);
QString DecodeWindows1252(QByteArrayView bytes);

// Whether the code page has the character, so that a text holding it reads back as written.
// Each half of a surrogate pair is refused: the code page has nothing beyond the first plane.
bool FitsWindows1252(QChar c);
