// The programs the suite ships side by side in one folder.
#pragma once

#include <array>
#include <string_view>

namespace suite {

// Every program the build makes for shipping, by the name of its file here (a
// test holds the build's program targets to this list, so a program added to
// the build and not here fails it).
inline constexpr std::array<std::string_view, 6> kShippedPrograms = {
    "Lorvane", "lorvane-cli", "Snipkeep", "Ferrybolt", "Partivo", "partivo-cli",
};

// The names the evacuator and the splitter call themselves, under which the
// suite was shipped before.
inline constexpr std::array<std::string_view, 2> kProgramSelfNames = {"Tuckaway", "Cleavora"};

// The ending the same programs' files have on Windows.
inline constexpr std::string_view kWindowsProgramEnding = ".exe";

}  // namespace suite
