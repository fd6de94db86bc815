// A colour the cores choose and the windows paint.
#pragma once

namespace suite {

struct Rgb {
  unsigned char red = 0, green = 0, blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

}  // namespace suite
