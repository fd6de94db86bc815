// What each window program's icon shows: its initial on a tile of its colour.
// The windows and the icon files the package installs are drawn from here.
#pragma once

#include <array>
#include <string_view>

#include "common/rgb.h"

namespace suite {

struct ProgramMark {
  char initial = 0;
  Rgb colour;
};

inline constexpr ProgramMark kLorvaneMark{'L', {70, 90, 160}};
inline constexpr ProgramMark kSnipkeepMark{'S', {70, 140, 90}};
// The splitter and the evacuator show the initials of the names they call themselves.
inline constexpr ProgramMark kPartivoMark{'C', {40, 125, 110}};
inline constexpr ProgramMark kFerryboltMark{'T', {100, 150, 100}};

struct WindowProgramMark {
  std::string_view program;  // the program's file name
  ProgramMark mark;
};

inline constexpr std::array<WindowProgramMark, 4> kWindowProgramMarks = {{
    {"Lorvane", kLorvaneMark},
    {"Snipkeep", kSnipkeepMark},
    {"Ferrybolt", kFerryboltMark},
    {"Partivo", kPartivoMark},
}};

}  // namespace suite
