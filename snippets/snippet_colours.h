// The colours of the snippet window and of its lists.
#pragma once

#include "common/rgb.h"

namespace snipkeep {

using Rgb = suite::Rgb;

// Entries of the snippet list: heading lines stand out from ordinary ones.
inline constexpr Rgb kHeadingColour{200, 100, 50};
inline constexpr Rgb kOrdinaryColour{0, 0, 255};
// The default list in the list-file chooser (the other names keep the
// window's text colour).
inline constexpr Rgb kDefaultListColour{0, 0, 250};
// The window's text colour (its background is the system's menu colour).
inline constexpr Rgb kDialogTextColour{100, 150, 100};

}  // namespace snipkeep
