// What the main window does with a dropped file, decided from its name.
#pragma once

#include <string>
#include <vector>

namespace lorvane {

enum class DropKind {
  RefusedType,       // the fourth character from the end isn't "."
  UnhandledType,     // a three-letter extension not in the list
  Restore,           // "lvn" exactly: a history descriptor
  PreRead,           // any other accepted type
};

struct DropDecision {
  DropKind kind;
  std::string quoted;  // what the refusal message quotes: the last four or three characters
};

// Only the last four characters count: "x.c" is refused, "a.TXT" accepted,
// "RESULT.LVN" pre-read as text, "result.lvn" restored.
DropDecision ClassifyDrop(const std::string& path, const std::vector<std::string>& extensions);

}  // namespace lorvane
