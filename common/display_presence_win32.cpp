#include "common/display_presence.h"

namespace suite {

// A Windows session always has its desktop to show windows on.
std::string MissingDisplayReason() { return std::string(); }

}  // namespace suite
