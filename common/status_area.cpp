#include "common/status_area.h"

#include "common/time_text.h"

namespace suite {

std::string MakeStatusLine(const std::string& message) { return MakeLogPrefix() + message; }

void ThreeLineStatusArea::Post(const std::string& line) {
  lines_[0] = std::move(lines_[1]);
  lines_[1] = std::move(lines_[2]);
  lines_[2] = line;
}

}  // namespace suite
