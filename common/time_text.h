// The suite's two time texts: the directory stamp and the status-line prefix.
#pragma once

#include <ctime>
#include <string>

namespace suite {

// The current local time, broken down.
std::tm LocalTimeNow();

// "%04d%02d%02d_%02d%02d%02d": names per-run directories and temporary files.
std::string MakeTimeStamp();
std::string MakeTimeStamp(const std::tm& time);

// "[%02d/%02d %02d:%02d:%02d] " (month, day, hour, minute, second; ends in one blank).
std::string MakeLogPrefix();
std::string MakeLogPrefix(const std::tm& time);

}  // namespace suite
