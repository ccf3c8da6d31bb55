#include "SliderColumns.h"

#include "Scale.h"

#include <algorithm>
#include <numeric>
#include <type_traits>

namespace {

constexpr int NewColumnWidth = 250;
// Insertion stops at the grid's 25th column, so the top grade keeps room to stay last.
constexpr int InsertLimitColumn = 25;

int roundedUnits(double x) {
    return int(RoundHalfUp(x, 0));
}

int sumOf(const std::vector<int>& widths, int from, int to) {
    return std::accumulate(widths.begin() + from, widths.begin() + to, 0);
}

// A scale's last column always ends at 100 %: it takes up what rounding left over.
void fillSlider(SliderColumns& columns) {
    if (columns.widths.empty()) return;
    columns.widths.back() +=
        columns.sliderWidth - sumOf(columns.widths, 0, int(columns.widths.size()));
}

bool topsIncrease(const GradeScale& scale) {
    for (int i = 1; i < scale.used(); ++i)
        if (!(scale.steps[std::size_t(i)].topScore > scale.steps[std::size_t(i - 1)].topScore))
            return false;
    return true;
}

// Takes `amount` units from the columns as evenly as their room above `floor` allows: a column
// with little room gives what it has and the others make up the rest. Takes nothing and
// answers false when all of them together have too little.
bool takeEvenly(std::vector<int>& widths, int amount, int floor) {
    int room = 0;
    for (int w : widths)
        room += std::max(0, w - floor);
    if (room < amount) return false;
    while (amount > 0) {
        int open =
            int(std::count_if(widths.begin(), widths.end(), [&](int w) { return w > floor; }));
        for (int& w : widths) {
            if (w <= floor) continue;
            const int take = std::min({w - floor, (amount + open - 1) / open, amount});
            w -= take;
            amount -= take;
            --open;
        }
    }
    return true;
}

// Inserts a new entry with its column in front of the selected one (see the header), taking
// the new column's width evenly from the other columns down to `floor`.
template <typename Entry>
bool insertEntry(StepList<Entry>& list, SliderColumns& columns, int column, const Entry& entry,
                 int floor) {
    const int count = list.used();
    const int target = column >= 1 ? column : std::max(count, 1);
    if (target >= InsertLimitColumn || count >= Limits::MaxSteps || target > std::max(count, 1))
        return false;
    std::vector<int> widths = columns.widths;
    widths.resize(std::size_t(count));
    int width = columns.sliderWidth;
    if (count > 0) {
        width = std::max(NewColumnWidth, floor);
        if (!takeEvenly(widths, width, floor)) return false;
    }
    const int at = target - 1;
    widths.insert(widths.begin() + at, width);
    columns.widths = std::move(widths);
    std::move_backward(list.steps.begin() + at, list.steps.begin() + count,
                       list.steps.begin() + count + 1);
    list.steps[std::size_t(at)] = entry;
    list.count = count + 1;
    return true;
}

// Deletes the selected entry (see the header) and shares its column evenly among the others.
template <typename Entry>
bool deleteEntry(StepList<Entry>& list, SliderColumns& columns, int column) {
    const int count = list.used();
    const int target = column >= 1 ? column : count;
    if (count <= 1 || target > count) return false;
    const int at = target - 1;
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

// The last border was dragged to `edge`: the slider grows or shrinks with it and the columns are
// laid out again from the unchanged percentages. It shrinks no further than keeps every column
// that is MinColumnWidth wide at that width, and grows to MaxSliderWidth at most.
template <typename Entry>
void scaleSlider(const StepList<Entry>& list, SliderColumns& columns, int n, int edge) {
    const int oldEdge = sumOf(columns.widths, 0, n);
    if (oldEdge <= 0 || columns.sliderWidth <= 0) return;
    int width = std::clamp(roundedUnits(double(columns.sliderWidth) * edge / oldEdge),
                           MinSliderWidth, MaxSliderWidth);
    for (int i = 0; i < n; ++i)
        if (const int w = columns.widths[std::size_t(i)]; w >= MinColumnWidth)
            width = std::max(width, MinColumnWidth * columns.sliderWidth / w);
    const auto keepsWide = [&](const SliderColumns& laid) {
        for (int i = 0; i < n; ++i)
            if (columns.widths[std::size_t(i)] >= MinColumnWidth &&
                laid.widths[std::size_t(i)] < MinColumnWidth)
                return false;
        return true;
    };
    SliderColumns laid = LayOutColumns(list, width);
    while (!keepsWide(laid))
        laid = LayOutColumns(list, ++width);
    columns = laid;
}

// Column k (not the last) was dragged to `wanted` units. A scale's percentage places the
// column's right-hand edge, between the neighbouring top scores; a group's is its width.
template <typename Entry>
void snapColumn(const StepList<Entry>& list, SliderColumns& columns, int k, int wanted) {
    constexpr bool edges = std::is_same_v<Entry, ScaleStep>;
    const int slider = columns.sliderWidth;
    if (slider <= 0) return;
    std::vector<int>& widths = columns.widths;
    const int offset = edges ? sumOf(widths, 0, k) : 0;
    const int pair = widths[std::size_t(k)] + widths[std::size_t(k + 1)];
    const auto width = [&](int percent) { return roundedUnits(percent / 100.0 * slider) - offset; };
    int low = 0, high = 100;
    if constexpr (edges) {
        if (k > 0) low = int(list.steps[std::size_t(k - 1)].topScore) + 1;
        high = int(list.steps[std::size_t(k + 1)].topScore) - 1;
    }
    while (low <= high && width(low) < MinColumnWidth)
        ++low;
    while (high >= low && pair - width(high) < MinColumnWidth)
        --high;
    if (low > high) return; // the two columns have no room to move: they stay
    const double asked = offset + std::max(wanted, MinColumnWidth);
    const int percent = std::clamp(roundedUnits(asked * 100.0 / slider), low, high);
    widths[std::size_t(k)] = width(percent);
    widths[std::size_t(k + 1)] = pair - width(percent);
}

template <typename Entry>
void readBackResized(StepList<Entry>& list, SliderColumns& columns,
                     const std::vector<int>& resized) {
    const int n = std::min({list.used(), int(columns.widths.size()), int(resized.size())});
    int k = 0;
    while (k < n && resized[std::size_t(k)] == columns.widths[std::size_t(k)])
        ++k;
    if (k == n - 1)
        scaleSlider(list, columns, n, sumOf(resized, 0, n));
    else if (k < n)
        snapColumn(list, columns, k, resized[std::size_t(k)]);
    ReadBackColumns(list, columns);
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

void ReadBackColumns(GradeScale& scale, SliderColumns& columns, const std::vector<int>& resized) {
    readBackResized(scale, columns, resized);
}

void ReadBackColumns(ImportanceSet& set, SliderColumns& columns, const std::vector<int>& resized) {
    readBackResized(set, columns, resized);
}

bool InsertStep(GradeScale& scale, SliderColumns& columns, int column) {
    ScaleStep step;
    step.grade = u"X";
    step.value = 1;
    const GradeScale before = scale;
    const SliderColumns columnsBefore = columns;
    // A column of a hundredth of the slider or more keeps its top score apart from the next.
    const int floor = std::max(MinColumnWidth, (columns.sliderWidth + 99) / 100);
    if (!insertEntry(scale, columns, column, step, floor)) return false;
    fillSlider(columns);
    ReadBackColumns(scale, columns);
    if (!topsIncrease(scale) && topsIncrease(before)) {
        scale = before;
        columns = columnsBefore;
        return false;
    }
    return true;
}

bool DeleteStep(GradeScale& scale, SliderColumns& columns, int column) {
    if (!deleteEntry(scale, columns, column)) return false;
    fillSlider(columns);
    ReadBackColumns(scale, columns);
    return true;
}

bool SetTopScore(GradeScale& scale, SliderColumns& columns, int step, double percent) {
    const int count = scale.used();
    if (step < 0 || step >= count - 1 || percent < 0 || percent > 100) return false;
    // Rounded first, as the columns will read it back, so it cannot land on a neighbour.
    const double top = RoundHalfUp(percent, 0);
    const double below = step > 0 ? scale.steps[std::size_t(step - 1)].topScore : -1;
    const double above = scale.steps[std::size_t(step + 1)].topScore;
    if (!(top > below && top < above)) return false;
    columns.widths.resize(std::size_t(count));
    const int before = sumOf(columns.widths, 0, step);
    const int width = roundedUnits(top / 100.0 * columns.sliderWidth - before);
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

bool InsertGroup(ImportanceSet& set, SliderColumns& columns, int column) {
    ImportanceGroup group;
    group.name = u"X";
    if (!insertEntry(set, columns, column, group, MinColumnWidth)) return false;
    ReadBackColumns(set, columns);
    return true;
}

bool DeleteGroup(ImportanceSet& set, SliderColumns& columns, int column) {
    if (!deleteEntry(set, columns, column)) return false;
    ReadBackColumns(set, columns);
    return true;
}

bool SetPercent(ImportanceSet& set, SliderColumns& columns, int group, double percent) {
    const int count = set.used();
    if (group < 0 || group >= count || count < 2 || percent < 0 || percent > 100) return false;
    columns.widths.resize(std::size_t(count));
    const int neighbour = group + 1 < count ? group + 1 : group - 1;
    const int width = roundedUnits(columns.sliderWidth * RoundHalfUp(percent, 0) / 100.0);
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
