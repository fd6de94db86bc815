#include "common/stamped_directory.h"

#include <chrono>
#include <thread>

#include "common/output_file.h"
#include "common/path_util.h"
#include "common/time_text.h"

namespace suite {

namespace {

void WaitForTheNextSecond() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const auto intoSecond = now - std::chrono::duration_cast<std::chrono::seconds>(now);
  std::this_thread::sleep_for(std::chrono::seconds(1) - intoSecond + std::chrono::milliseconds(5));
}

}  // namespace

std::string CreateFreshStampedFile(OutputFile& file, const std::string& directory, const std::string& prefix,
                                   const std::string& suffix) {
  for (;;) {
    const std::string path = directory + kPathSeparator + prefix + MakeTimeStamp() + suffix;
    bool existed = false;
    if (file.CreateNew(path, &existed) || !existed) return path;
    WaitForTheNextSecond();
  }
}

std::string MakeFreshStampedDirectory(const std::string& parent, const std::string& namePrefix) {
  for (;;) {
    const std::string path = parent + kPathSeparator + namePrefix + MakeTimeStamp();
    bool existed = false;
    if (MakeDirectory(path, &existed) || !existed) return path;
    WaitForTheNextSecond();  // taken by another run within this second
  }
}

}  // namespace suite
