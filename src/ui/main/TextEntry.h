#pragma once

class QLineEdit;

// A gradebook file cannot carry a double quote inside a text, so text boxes whose text goes
// into the gradebook turn a typed double quote into an apostrophe.
void KeepDoubleQuotesOut(QLineEdit* box);

// Password boxes show "?" for each character typed.
void UseQuestionMarkEcho(QLineEdit* box);
