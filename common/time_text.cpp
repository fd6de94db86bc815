#include "common/time_text.h"

#include <cstdio>

namespace suite {

std::string MakeTimeStamp() { return MakeTimeStamp(LocalTimeNow()); }

std::string MakeTimeStamp(const std::tm& time) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d%02d%02d_%02d%02d%02d", time.tm_year + 1900, time.tm_mon + 1,
                time.tm_mday, time.tm_hour, time.tm_min, time.tm_sec);
  return text;
}

std::string MakeLogPrefix() { return MakeLogPrefix(LocalTimeNow()); }

std::string MakeLogPrefix(const std::tm& time) {
  char text[64];
  std::snprintf(text, sizeof text, "[%02d/%02d %02d:%02d:%02d] ", time.tm_mon + 1, time.tm_mday,
                time.tm_hour, time.tm_min, time.tm_sec);
  return text;
}

}  // namespace suite
