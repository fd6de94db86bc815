#include "common/stamped_directory.h"

#include <chrono>
#include <thread>

#include "common/path_util.h"
#include "common/time_text.h"

namespace suite {

std::string MakeFreshStampedDirectory(const std::string& parent, const std::string& namePrefix) {
  for (;;) {
    const std::string path = parent + kPathSeparator + namePrefix + MakeTimeStamp();
    bool existed = false;
    if (MakeDirectory(path, &existed) || !existed) return path;
    // Taken (another run within this second): wait for the next second.
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto intoSecond = now - std::chrono::duration_cast<std::chrono::seconds>(now);
    std::this_thread::sleep_for(std::chrono::seconds(1) - intoSecond + std::chrono::milliseconds(5));
  }
}

}  // namespace suite
