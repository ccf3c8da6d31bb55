#pragma once

#include "core/Records.h"

#include <QString>

#include <variant>

// Rounds x to `digits` decimals, halves upward: 2.5 -> 3, 84.5 -> 85, -2.5 -> -2.
double RoundHalfUp(double x, int digits);

// The step of `test`'s scale that a score earns, or -1 when it earns none (a score of 0 or
// less, above the maximum, or above the scale's last top score).
int GradeIndex(const TestRecord& test, float score);

inline const QString ValuesOutOfOrderMessage =
    QStringLiteral("Error: Numeric Values are not in order!");
// "Auto Even" measures every value as a share of the best one, which must therefore be above 0.
QString BestValueNotAboveZeroMessage(float bestValue);

// "Auto Even" refuses a scale whose values do not increase, naming the later step of the first
// bad pair, and one whose best value is 0 or less, naming the best step; the editor selects it.
struct AutoEvenRefusal {
    int step;
    QString message;
};

// Top scores that turn a grade written as value / top value x 100 back into itself.
std::variant<GradeScale, AutoEvenRefusal> AutoEven(const GradeScale& scale);
