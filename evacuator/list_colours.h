// The colours of the evacuator's dialog and of its file list.
#pragma once

#include "common/rgb.h"

#include <optional>

namespace tuckaway {

using Rgb = suite::Rgb;

// An entry after a move: blue when its file was moved, red when it wasn't.
inline constexpr Rgb kMovedColour{0, 0, 255};
inline constexpr Rgb kNotMovedColour{255, 0, 0};
// The dialog's text colour (its background is the system's menu colour).
inline constexpr Rgb kDialogTextColour{100, 150, 100};

inline constexpr Rgb Complement(Rgb colour) {
  return Rgb{static_cast<unsigned char>(255 - colour.red), static_cast<unsigned char>(255 - colour.green),
             static_cast<unsigned char>(255 - colour.blue)};
}

// How one entry of the file list is drawn. An empty colour means the system's
// own: the window text and background for an entry that isn't selected, the
// highlight text colour for the text of a selected one.
struct EntryColours {
  std::optional<Rgb> text;
  std::optional<Rgb> background;
};

// A selected entry is drawn on its own colour (black when it has none) in the
// complementary colour; an entry that isn't selected in its colour on the
// window's background.
inline EntryColours ColoursOfEntry(const std::optional<Rgb>& colour, bool selected) {
  if (!selected) return EntryColours{colour, std::nullopt};
  if (!colour) return EntryColours{std::nullopt, Rgb{0, 0, 0}};
  return EntryColours{Complement(*colour), *colour};
}

}  // namespace tuckaway
