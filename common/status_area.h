// The status areas that PostStatus writes into: plain models a window shows.
#pragma once

#include <array>
#include <string>

namespace suite {

// A status line: the time prefix followed by the message.
std::string MakeStatusLine(const std::string& message);

// The searcher's three stacked lines: each message moves the lines up by one,
// drops the oldest and writes the new one at the bottom.
class ThreeLineStatusArea {
 public:
  void Post(const std::string& line);
  const std::array<std::string, 3>& Lines() const { return lines_; }

 private:
  std::array<std::string, 3> lines_;
};

// The snippet tool's single line: each message replaces it.
class OneLineStatusArea {
 public:
  void Post(const std::string& line) { line_ = line; }
  const std::string& Line() const { return line_; }

 private:
  std::string line_;
};

}  // namespace suite
