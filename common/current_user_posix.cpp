#include "common/current_user.h"

#include <unistd.h>

namespace suite {

std::string CurrentUserTag() { return std::to_string(::getuid()); }

}  // namespace suite
