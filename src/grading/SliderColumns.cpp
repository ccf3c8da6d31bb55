#include "SliderColumns.h"

#include "Scale.h"

#include <numeric>

namespace {

constexpr int NewColumnWidth = 250;

int roundedUnits(double x) {
    return int(RoundHalfUp(x, 0));
}

// A scale's last column always ends at 100 %: it takes up what rounding left over.
void fillSlider(SliderColumns& columns) {
    if (columns.widths.empty()) return;
    const int sum = std::accumulate(columns.widths.begin(), columns.widths.end(), 0);
    columns.widths.back() += columns.sliderWidth - sum;
}

// Inserts a new entry with its column in front of `at`, taking the new column's width evenly
// from the other columns.
template <typename Entry>
bool insertEntry(StepList<Entry>& list, SliderColumns& columns, std::optional<int> position,
                 const Entry& entry) {
    const int count = list.used();
    const int at = position.value_or(count - 1) < 0 ? 0 : position.value_or(count - 1);
    if (at >= Limits::MaxSteps - 1 || count >= Limits::MaxSteps || at > count) return false;
    std::move_backward(list.steps.begin() + at, list.steps.begin() + count,
                       list.steps.begin() + count + 1);
    list.steps[std::size_t(at)] = entry;
    list.count = count + 1;

    columns.widths.resize(std::size_t(count));
    if (count == 0) {
        columns.widths.insert(columns.widths.begin(), columns.sliderWidth);
        return true;
    }
    const int share = roundedUnits(double(NewColumnWidth) / count);
    for (int& w : columns.widths)
        w -= share;
    columns.widths.insert(columns.widths.begin() + at, NewColumnWidth);
    return true;
}

// Deletes an entry and shares its column evenly among the others.
template <typename Entry>
bool deleteEntry(StepList<Entry>& list, SliderColumns& columns, std::optional<int> position) {
    const int count = list.used();
    const int at = position.value_or(count - 1);
    if (count <= 1 || at < 0 || at >= count) return false;
    columns.widths.resize(std::size_t(count));
    const int freed = columns.widths[std::size_t(at)];
    columns.widths.erase(columns.widths.begin() + at);
    const int share = roundedUnits(double(freed) / (count - 1));
    for (int& w : columns.widths)
        w += share;
    std::move(list.steps.begin() + at + 1, list.steps.begin() + count, list.steps.begin() + at);
    list.steps[std::size_t(count - 1)] = Entry{};
    list.count = count - 1;
    return true;
}

} // namespace

SliderColumns LayOutColumns(const GradeScale& scale, int sliderWidth) {
    SliderColumns columns{sliderWidth, {}};
    int edgeBefore = 0;
    for (int i = 0; i < scale.used(); ++i) {
        const int edge = roundedUnits(scale.steps[std::size_t(i)].topScore / 100.0 * sliderWidth);
        columns.widths.push_back(edge - edgeBefore);
        edgeBefore = edge;
    }
    return columns;
}

SliderColumns LayOutColumns(const ImportanceSet& set, int sliderWidth) {
    SliderColumns columns{sliderWidth, {}};
    for (int i = 0; i < set.used(); ++i)
        columns.widths.push_back(
            roundedUnits(double(sliderWidth) * set.steps[std::size_t(i)].percentOfTotal / 100.0));
    return columns;
}

void ReadBackColumns(GradeScale& scale, const SliderColumns& columns) {
    if (columns.sliderWidth <= 0) return;
    int edge = 0;
    const int count = std::min<int>(scale.used(), int(columns.widths.size()));
    for (int i = 0; i < count; ++i) {
        edge += columns.widths[std::size_t(i)];
        scale.steps[std::size_t(i)].topScore =
            float(RoundHalfUp(double(edge) / columns.sliderWidth * 100, 0));
    }
}

void ReadBackColumns(ImportanceSet& set, const SliderColumns& columns) {
    if (columns.sliderWidth <= 0) return;
    const int count = std::min<int>(set.used(), int(columns.widths.size()));
    for (int i = 0; i < count; ++i)
        set.steps[std::size_t(i)].percentOfTotal = float(
            RoundHalfUp(double(columns.widths[std::size_t(i)]) / columns.sliderWidth * 100, 0));
}

bool InsertStep(GradeScale& scale, SliderColumns& columns, std::optional<int> position) {
    ScaleStep step;
    step.grade = u"X";
    step.value = 1;
    if (!insertEntry(scale, columns, position, step)) return false;
    fillSlider(columns);
    ReadBackColumns(scale, columns);
    return true;
}

bool DeleteStep(GradeScale& scale, SliderColumns& columns, std::optional<int> position) {
    if (!deleteEntry(scale, columns, position)) return false;
    fillSlider(columns);
    ReadBackColumns(scale, columns);
    return true;
}

bool SetTopScore(GradeScale& scale, SliderColumns& columns, int step, double percent) {
    const int count = scale.used();
    if (step < 0 || step >= count - 1 || percent < 0 || percent > 100) return false;
    // Keep the top scores increasing: the new edge must lie between its neighbours.
    const double below = step > 0 ? scale.steps[std::size_t(step - 1)].topScore : -1;
    const double above = scale.steps[std::size_t(step + 1)].topScore;
    if (!(percent > below && percent < above)) return false;
    columns.widths.resize(std::size_t(count));
    const int before = std::accumulate(columns.widths.begin(), columns.widths.begin() + step, 0);
    const int width = roundedUnits(percent / 100.0 * columns.sliderWidth - before);
    const int difference = width - columns.widths[std::size_t(step)];
    columns.widths[std::size_t(step)] = width;
    columns.widths[std::size_t(step + 1)] -= difference;
    ReadBackColumns(scale, columns);
    return true;
}

void SetValue(GradeScale& scale, int step, double value) {
    if (step >= 0 && step < Limits::MaxSteps) scale.steps[std::size_t(step)].value = float(value);
}

void SetGrade(GradeScale& scale, int step, const QString& text) {
    if (step >= 0 && step < Limits::MaxSteps) scale.steps[std::size_t(step)].grade = text;
}

bool InsertGroup(ImportanceSet& set, SliderColumns& columns, std::optional<int> position) {
    ImportanceGroup group;
    group.name = u"X";
    if (!insertEntry(set, columns, position, group)) return false;
    ReadBackColumns(set, columns);
    return true;
}

bool DeleteGroup(ImportanceSet& set, SliderColumns& columns, std::optional<int> position) {
    if (!deleteEntry(set, columns, position)) return false;
    ReadBackColumns(set, columns);
    return true;
}

bool SetPercent(ImportanceSet& set, SliderColumns& columns, int group, double percent) {
    const int count = set.used();
    if (group < 0 || group >= count || count < 2 || percent < 0 || percent > 100) return false;
    columns.widths.resize(std::size_t(count));
    const int neighbour = group + 1 < count ? group + 1 : group - 1;
    const int width = roundedUnits(double(columns.sliderWidth) * percent / 100.0);
    const int difference = width - columns.widths[std::size_t(group)];
    if (columns.widths[std::size_t(neighbour)] - difference < 0) return false;
    columns.widths[std::size_t(group)] = width;
    columns.widths[std::size_t(neighbour)] -= difference;
    ReadBackColumns(set, columns);
    return true;
}

void SetName(ImportanceSet& set, int group, const QString& text) {
    if (group >= 0 && group < Limits::MaxSteps) set.steps[std::size_t(group)].name = text;
}
