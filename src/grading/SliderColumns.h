#pragma once

#include "core/Records.h"

#include <QString>

#include <optional>
#include <vector>

// The slider grid's columns, one per scale step or importance group, in grid units. A step's
// top score is its column's right-hand edge as a percentage of the slider width; a group's
// percentage is its own column's width.
struct SliderColumns {
    int sliderWidth = 0;
    std::vector<int> widths;
    bool operator==(const SliderColumns&) const = default;
};

SliderColumns LayOutColumns(const GradeScale& scale, int sliderWidth);
SliderColumns LayOutColumns(const ImportanceSet& set, int sliderWidth);

// Re-reads every top score / percentage from the columns.
void ReadBackColumns(GradeScale& scale, const SliderColumns& columns);
void ReadBackColumns(ImportanceSet& set, const SliderColumns& columns);

// Editing operations on a scale or set and its columns. `position` is the selected step or
// group; without one, insertion goes in front of the last entry and deletion takes the last.
// Each returns whether it changed anything.
bool InsertStep(GradeScale& scale, SliderColumns& columns, std::optional<int> position);
bool DeleteStep(GradeScale& scale, SliderColumns& columns, std::optional<int> position);
// Accepts a whole percentage strictly between the neighbouring top scores; the last step's
// top score stays 100.
bool SetTopScore(GradeScale& scale, SliderColumns& columns, int step, double percent);
void SetValue(GradeScale& scale, int step, double value);
void SetGrade(GradeScale& scale, int step, const QString& text);

bool InsertGroup(ImportanceSet& set, SliderColumns& columns, std::optional<int> position);
bool DeleteGroup(ImportanceSet& set, SliderColumns& columns, std::optional<int> position);
// Accepts 0 ... 100; the next group (for the last group, the one before it) gives up or takes
// the difference, and the change is refused when that group has too little to give.
bool SetPercent(ImportanceSet& set, SliderColumns& columns, int group, double percent);
void SetName(ImportanceSet& set, int group, const QString& text);
