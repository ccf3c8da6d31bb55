#pragma once

#include "FixedText.h"
#include "Limits.h"

#include <QString>

#include <array>
#include <cstdint>
#include <tuple>

struct ScaleStep {
    FixedText<Limits::GradeWidth> grade;
    float value = 0;
    float topScore = 0; // highest percentage of the maximum that still earns this grade
    // The three fields in file order, for code that handles steps and groups alike.
    auto fields() { return std::tie(grade, value, topScore); }
    auto fields() const { return std::tie(grade, value, topScore); }
    bool operator==(const ScaleStep&) const = default;
};

struct ImportanceGroup {
    FixedText<Limits::GradeWidth> name;
    float testCount = 0; // working counter of a total calculation, saved as it stands
    float percentOfTotal = 0;
    auto fields() { return std::tie(name, testCount, percentOfTotal); }
    auto fields() const { return std::tie(name, testCount, percentOfTotal); }
    bool operator==(const ImportanceGroup&) const = default;
};

// A named list of up to 26 entries: a grading scale or an importance set share this layout,
// and the library files hold arrays of it.
template <typename Entry> struct StepList {
    FixedText<Limits::ScaleNameWidth> name;
    int count = 0;
    std::array<Entry, Limits::MaxSteps> steps{};

    // The number of entries in use, kept within 0 ... 26 whatever a file said.
    int used() const { return count < 0 ? 0 : count > Limits::MaxSteps ? Limits::MaxSteps : count; }
    bool operator==(const StepList&) const = default;
};

using GradeScale = StepList<ScaleStep>;
using ImportanceSet = StepList<ImportanceGroup>;

struct StudentRecord {
    FixedText<Limits::IdWidth> id;
    std::int16_t showAsId = 0;
    FixedText<Limits::NameWidth> name;
    FixedText<Limits::StudentNoteWidth> note;
    FixedText<Limits::MaxTests> includeFlags; // character k-1 belongs to test k; "1" counts
    // Not stored in files: "Name as ID" as it was before a locked gradebook hid the names. It
    // lives in the record so that it moves with the student when the rows are sorted.
    std::int16_t savedShowAsId = 0;
    bool operator==(const StudentRecord&) const = default;
};

struct TestRecord {
    float maxScore = 0;
    float importance = 0; // group index; in the Total column's record, the averaging rule
    FixedText<Limits::DateWidth> date;
    FixedText<Limits::TestNoteWidth> note;
    std::int16_t calculateGrades = 0;
    GradeScale scale;
    bool operator==(const TestRecord&) const = default;
};

inline constexpr int ProtectRuleCount = 4;
enum ProtectRule : int {
    AnyRule = -1,
    AccessNames = 0,
    EditScores = 1,
    SaveToDisk = 2,
    ChangeGradingRules = 3,
};

struct SecurityRules {
    QString password; // empty: no password
    std::array<bool, ProtectRuleCount> protect{};
    bool operator==(const SecurityRules&) const = default;
};

enum class DisplayMode { Numbers = 0, Letters = 1, PercentOfMax = 2 };
enum class WorkingMode { Edit = 0, Analyze = 1 };
enum class ChartSubject { CurrentTest = 0, CurrentStudent = 1 };
enum StudentSortRule : int { StudentsUnsorted = 0, StudentsByName = 1, StudentsByGrade = 2 };
enum TestSortRule : int { TestsUnsorted = 0, TestsByName = 1, TestsByDate = 2 };

// What of the view travels with a gradebook file.
struct ViewState {
    DisplayMode displayMode = DisplayMode::Numbers;
    ChartSubject chartSubject = ChartSubject::CurrentTest;
    WorkingMode workingMode = WorkingMode::Edit;
    bool showTotalScores = true;
    int studentSortRule = StudentsUnsorted;
    int testSortRule = TestsUnsorted;
    bool operator==(const ViewState&) const = default;
};

// Which header the in-place editor writes into, if any.
enum class HeaderEditing { Off, TestNames, StudentNames };
