// Who runs the program, as a name part that tells users of one machine apart.
#pragma once

#include <string>

namespace suite {

// The user's number on this machine, in decimal ("1000"): the same for every
// program the user starts, another for every other user.
std::string CurrentUserTag();

}  // namespace suite
