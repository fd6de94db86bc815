// Where names go in the chooser's list and which entry a selection picks.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "snippets/list_enumeration.h"
#include "snippets/snippet_colours.h"

namespace snipkeep {

// One entry of the chooser's list.
struct ChooserEntry {
  std::string name;
  std::optional<Rgb> colour;  // none: the window's text colour
  std::string fileName;       // the list file's name as the file system spells it
  friend bool operator==(const ChooserEntry&, const ChooserEntry&) = default;
};

// The chooser's list as a sorted list control builds it when `found` is added
// one by one: every name sorted in (SortedPosition), except a default list,
// which goes in blue behind the entries present when it is found. Computed at
// once, whatever the number of names.
std::vector<ChooserEntry> ArrangeChooserList(const std::vector<ListName>& found);

// The index before the first entry that sorts after `name` (suite::NameSortsBefore),
// or the end: a list kept sorted stays sorted, and an entry placed at the end
// out of order (the default list) stays behind the names that sort before it.
int64_t SortedPosition(const std::vector<std::string>& names, const std::string& name);

// The entry a selection by text picks, or -1. The search starts after
// `startAfter` (-1: at the first entry) and wraps round to it. An entry equal
// to `text` wins; else the first that begins with `text` without regard to case.
int64_t FindEntryToSelect(const std::vector<std::string>& names, int64_t startAfter, const std::string& text);

}  // namespace snipkeep
