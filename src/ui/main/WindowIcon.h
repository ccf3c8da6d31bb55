#pragma once

#include <QIcon>

#include <array>

// Four frames of the window icon: a quill over a sheet, drawn at four angles.
std::array<QIcon, 4> WindowIconFrames();
