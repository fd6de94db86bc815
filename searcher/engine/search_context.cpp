#include "searcher/engine/search_context.h"

#include <chrono>
#include <thread>

#include "common/path_util.h"
#include "common/time_text.h"
#include "searcher/engine/lorvane_window.h"

namespace lorvane {

const std::vector<std::string>& AcceptedExtensions() {
  static const std::vector<std::string> extensions{"txt", "log", "h", "c", "cpp", "cfg", "lvn"};
  return extensions;
}

void StartUpEngine(LorvaneWindow& window, SearchContext& context, const std::string& programDirectory) {
  window.PostStatus("CLorvaneDlg::__initiate()");
  context.workDirectory = programDirectory + kWorkDirectoryName;
  suite::MakeDirectory(context.workDirectory);
  context.clipboardDirectory = context.workDirectory + suite::kPathSeparator + kClipboardDirectoryName;
  suite::MakeDirectory(context.clipboardDirectory);
  context.extensions = AcceptedExtensions();
}

std::string MakeFreshStampedDirectory(const std::string& parent, const std::string& namePrefix) {
  for (;;) {
    const std::string path = parent + suite::kPathSeparator + namePrefix + suite::MakeTimeStamp();
    bool existed = false;
    if (suite::MakeDirectory(path, &existed) || !existed) return path;
    // Taken (another search within this second): wait for the next second.
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto intoSecond = now - std::chrono::duration_cast<std::chrono::seconds>(now);
    std::this_thread::sleep_for(std::chrono::seconds(1) - intoSecond + std::chrono::milliseconds(5));
  }
}

void MakeHistoryDirectory(SearchContext& context) {
  suite::MakeDirectory(context.workDirectory);
  context.historyDirectory = MakeFreshStampedDirectory(context.workDirectory);
}

void EnsureHistoryDirectory(SearchContext& context) {
  if (!suite::PathExists(context.workDirectory)) suite::MakeDirectory(context.workDirectory);
  if (!suite::PathExists(context.historyDirectory)) {
    context.historyDirectory = MakeFreshStampedDirectory(context.workDirectory);
  }
}

}  // namespace lorvane
