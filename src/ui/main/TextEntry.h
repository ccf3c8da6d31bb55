#pragma once

#include <QString>
#include <QStringView>

class QLineEdit;
class QPlainTextEdit;

// A gradebook file keeps its texts in Windows-1252 and between double quotes, with no escape.
// Boxes whose text goes into the gradebook hold only what the file keeps, so what the teacher
// sees is what is saved: a typed or pasted '"' becomes "'", and a character the file cannot
// hold is left out, with a beep and a tool tip at the box saying which character and why.
void KeepToFileText(QLineEdit* box);
// The same for a note box, which also keeps to maxLength characters: what goes beyond is cut
// from the end of the text just typed or pasted, as a line edit cuts it.
void KeepToFileText(QPlainTextEdit* box, int maxLength);

// The text as a gradebook file keeps it. The characters left out are added to *refused, each
// once (a character beyond the first plane as its surrogate pair).
QString ToFileText(QStringView text, QString* refused = nullptr);

// Password boxes keep to file text and show "?" for each character typed.
void UseQuestionMarkEcho(QLineEdit* box);
