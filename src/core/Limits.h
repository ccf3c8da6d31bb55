#pragma once

// The sizes every gradebook, file and dialog agrees on.
namespace Limits {
inline constexpr int MaxTests = 400;
inline constexpr int MaxSteps = 26; // steps of a scale, groups of an importance set
inline constexpr int MaxStudents = 32766;
inline constexpr int CellNumberChars = 6; // characters of a cell read as its number

inline constexpr int IdWidth = 25;
inline constexpr int NameWidth = 75;
inline constexpr int StudentNoteWidth = 225;
inline constexpr int DateWidth = 8;
inline constexpr int TestNoteWidth = 255;
inline constexpr int GradeWidth = 10;
inline constexpr int ScaleNameWidth = 75;

inline constexpr int DefaultRowHeight = 285;    // twips
inline constexpr int DefaultColumnWidth = 1500; // twips
inline constexpr int NewGradebookStudents = 7;
} // namespace Limits
