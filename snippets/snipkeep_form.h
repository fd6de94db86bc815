// The snippet window's form: the values read from its boxes and check boxes.
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace snipkeep {

enum class Box { SingleLine, MultiLine };

// The four copy operations, numbered as their buttons.
enum class CopyOperation { SingleWithLineEnd = 1, Single = 2, MultiDoubled = 3, Multi = 4 };

// The five check boxes, numbered as their labels.
enum class Flag {
  CaretAtEnd = 0,             // a click on an ordinary entry puts the caret at the end
  CopySingleWithLineEnd = 1,  // ... copies it with CR LF appended
  CopySingle = 2,             // ... copies it as it is
  CopyMultiDoubled = 3,       // a click on a heading entry copies its snippet, line ends doubled
  CopyMulti = 4,              // ... copies its snippet as it is
};
inline constexpr size_t kFlagCount = 5;

// The values every start begins with; they are never saved.
inline constexpr std::array<bool, kFlagCount> kFlagsAtStart = {true, true, false, true, false};

struct SnipkeepForm {
  std::string singleLineText;
  // Line ends are CR LF, as the window was given them.
  std::string multiLineText;
  std::array<bool, kFlagCount> flags = kFlagsAtStart;

  bool On(Flag flag) const { return flags[static_cast<size_t>(flag)]; }
  const std::string& Text(Box box) const { return box == Box::SingleLine ? singleLineText : multiLineText; }
  std::string& Text(Box box) { return box == Box::SingleLine ? singleLineText : multiLineText; }
};

}  // namespace snipkeep
