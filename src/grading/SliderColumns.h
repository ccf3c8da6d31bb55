#pragma once

#include "core/Records.h"

#include <QString>

#include <vector>

// The slider grid's columns, one per scale step or importance group, in grid units. A step's
// top score is its column's right-hand edge as a percentage of the slider width; a group's
// percentage is its own column's width.
struct SliderColumns {
    int sliderWidth = 0;
    std::vector<int> widths;
    bool operator==(const SliderColumns&) const = default;
};

// No drag and no insertion leaves a column narrower than this, in grid units.
inline constexpr int MinColumnWidth = 50;
// The slider never gets narrower than room for a full scale of such columns.
inline constexpr int MinSliderWidth = MinColumnWidth * Limits::MaxSteps;
// The settings keep the widths as 16-bit numbers.
inline constexpr int MaxSliderWidth = 32767;

SliderColumns LayOutColumns(const GradeScale& scale, int sliderWidth);
SliderColumns LayOutColumns(const ImportanceSet& set, int sliderWidth);

// Re-reads every top score / percentage from the columns.
void ReadBackColumns(GradeScale& scale, const SliderColumns& columns);
void ReadBackColumns(ImportanceSet& set, const SliderColumns& columns);

// After a drag on the grid: `columns` holds the widths stored before it, `resized` the widths
// the teacher left. The first column that differs is the one resized. The last one's border
// scales the whole slider and no percentage changes. Any other keeps at least MinColumnWidth,
// snaps to a whole percentage and the next column gives up or takes the difference, so later
// borders stay put; a scale's top scores stay increasing. Where no width meets those rules the
// columns stay as stored. Then every percentage is read back.
void ReadBackColumns(GradeScale& scale, SliderColumns& columns, const std::vector<int>& resized);
void ReadBackColumns(ImportanceSet& set, SliderColumns& columns, const std::vector<int>& resized);

// Insertion and deletion take the grid column of the selected step or group: column 1 holds
// entry 0 and column `count` the last entry; 0 (or less) means none is selected. A new entry
// goes in front of the selected one, or in front of the last with none selected, so the top
// grade stays last; it is refused at column 25 or beyond, with 26 entries already, or when the
// other columns cannot give its 250 units and keep MinColumnWidth (a scale's top scores stay
// increasing). Deletion takes the selected entry, or the last with none selected, and never
// the only one. Each returns whether it changed anything.
bool InsertStep(GradeScale& scale, SliderColumns& columns, int column);
bool DeleteStep(GradeScale& scale, SliderColumns& columns, int column);
// Takes the percentage rounded to a whole number, which must lie strictly between the
// neighbouring top scores; the last step's top score stays 100.
bool SetTopScore(GradeScale& scale, SliderColumns& columns, int step, double percent);
void SetValue(GradeScale& scale, int step, double value);
void SetGrade(GradeScale& scale, int step, const QString& text);

bool InsertGroup(ImportanceSet& set, SliderColumns& columns, int column);
bool DeleteGroup(ImportanceSet& set, SliderColumns& columns, int column);
// Takes 0 ... 100 rounded to a whole number; the next group (for the last group, the one
// before it) gives up or takes the difference, and the change is refused when that group has
// too little to give.
bool SetPercent(ImportanceSet& set, SliderColumns& columns, int group, double percent);
void SetName(ImportanceSet& set, int group, const QString& text);
