#pragma once

#include "core/Gradebook.h"

#include <QString>

#include <optional>
#include <vector>

// Drop Lowest Scores: for each student, the scores whose leaving out raises the total the most,
// one at a time, marked ignored as "Ignore grade" marks them.
struct DropOptions {
    int count = 1;              // scores to drop per student, 1 ... 10
    std::optional<int> group;   // only the tests of this importance group; every test when empty
    bool onlyIfNotLower = true; // drop only while the total rises or stays
};
struct DroppedScore {
    int col;
    QString score; // the score part of the cell, empty for an empty score
};
struct StudentDrops {
    int row;
    std::vector<DroppedScore> drops;
    float totalBefore, totalAfter; // the unrounded totals in percent
};
// The plan for every student that has something to drop; the gradebook is left as it was.
// Among the scores that count (an empty one counts as the 0 it is in the total), the one whose
// leaving out gives the highest total goes first, ties to the earlier test; a group's last
// counted score is never dropped.
std::vector<StudentDrops> PlanDropLowest(Gradebook& book, const DropOptions& options);
// Marks the planned scores ignored and recalculates the totals.
void ApplyDrops(Gradebook& book, const std::vector<StudentDrops>& plan);

// Curve Scores on one test: every counted score moved the same way; empty and ignored cells
// are left alone.
enum class CurveKind { Add, Multiply, TopToMax };
struct CurveOptions {
    CurveKind kind = CurveKind::Add;
    double amount = 0;    // the points added or the factor
    bool capAtMax = true; // a score above the maximum gets no grade
};
struct CurvedScore {
    int row;
    QString before, after; // score parts; `after` written as typed scores are ("0.0#")
};
// The new scores of column `col`; only those that change.
std::vector<CurvedScore> PlanCurve(const Gradebook& book, int col, const CurveOptions& options);
void ApplyCurve(Gradebook& book, int col, const std::vector<CurvedScore>& plan);
