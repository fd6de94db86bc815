// The entries of the snippet list and the multi-line snippets they form.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "snippets/snippet_colours.h"

namespace snipkeep {

// One non-empty line of a list file, kept as it was read.
struct SnippetEntry {
  std::string text;
  bool heading = false;
  friend bool operator==(const SnippetEntry&, const SnippetEntry&) = default;
};

inline Rgb ColourOf(const SnippetEntry& entry) { return entry.heading ? kHeadingColour : kOrdinaryColour; }

// The snippet of the heading entry at `index`: every entry after it up to the
// next heading entry, each followed by CR LF. Empty when a heading follows at
// once; nothing when the heading is the last entry (or `index` is out of range).
std::optional<std::string> GatherMultiLineSnippet(const std::vector<SnippetEntry>& entries, size_t index);

}  // namespace snipkeep
