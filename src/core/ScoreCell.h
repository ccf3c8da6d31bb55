#pragma once

#include "NumberText.h"

#include <QString>
#include <QStringView>

// The score part of a score cell's text: the number in front of the grade part (or of the
// whole text when there is none) in the general number format when it is above 0; otherwise
// the empty text.
QString ScoreOfCell(const QString& cellText);
// The same written into `buffer`, for loops over every cell; valid until its next use.
QStringView ScoreOfCell(QStringView cellText, GeneralText& buffer);
