#pragma once

#include "core/Gradebook.h"
#include "core/Libraries.h"

#include <functional>

inline constexpr int LargeClassStudents = 1000;
inline constexpr int LargeClassTests = 400;

// The libraries of the large class: a letter scale and three weighted groups.
Libraries LargeClassLibraries();

// Fills `book` with 1,000 named students and 400 dated tests of random scores, shown as letters.
void BuildLargeClass(Gradebook& book);

// Runs `work` `times` times and returns the mean time in microseconds.
double TimeIt(int times, const std::function<void()>& work);
