#include "Scale.h"

#include "core/NumberText.h"

#include <cmath>

double RoundHalfUp(double x, int digits) {
    const double factor = std::pow(10.0, digits);
    const double product = x * factor;
    double whole = std::nearbyint(product); // ties to even, then halves pushed up
    if (product - whole >= 0.5) whole += 1;
    return whole / factor;
}

int GradeIndex(const TestRecord& test, float score) {
    if (score <= 0 || score > test.maxScore) return -1;
    const float percent = float(double(score) * 100.0 / double(test.maxScore));
    const int count = test.scale.used();
    for (int i = 0; i < count; ++i)
        if (!(percent > test.scale.steps[std::size_t(i)].topScore)) return i;
    return -1;
}

QString BestValueNotAboveZeroMessage(float bestValue) {
    return QStringLiteral("Error: The highest Numeric Value (%1) must be above 0!")
        .arg(FormatGeneral(bestValue));
}

std::variant<GradeScale, AutoEvenRefusal> AutoEven(const GradeScale& scale) {
    const int count = scale.used();
    const auto& steps = scale.steps;
    for (int i = 0; i + 1 < count; ++i)
        if (!(steps[std::size_t(i + 1)].value - steps[std::size_t(i)].value > 0))
            return AutoEvenRefusal{i + 1, ValuesOutOfOrderMessage};
    GradeScale result = scale;
    if (count == 0) return result;
    const double top = steps[std::size_t(count - 1)].value;
    if (!(top > 0)) return AutoEvenRefusal{count - 1, BestValueNotAboveZeroMessage(float(top))};
    for (int i = 0; i + 1 < count; ++i) {
        const double low = steps[std::size_t(i)].value;
        const double mid = low + (steps[std::size_t(i + 1)].value - low) / 2;
        float percent = float(std::floor(mid / top * 100));
        if (percent == 0) percent = 1;
        result.steps[std::size_t(i)].topScore = percent;
    }
    return result;
}
