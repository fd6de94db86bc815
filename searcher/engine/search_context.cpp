#include "searcher/engine/search_context.h"

#include "common/path_util.h"
#include "common/stamped_directory.h"
#include "searcher/engine/lorvane_window.h"

namespace lorvane {

const std::vector<std::string>& AcceptedExtensions() {
  static const std::vector<std::string> extensions{"txt", "log", "h", "c", "cpp", "cfg", "lvn"};
  return extensions;
}

suite::FilePlace ProgramFiles() { return suite::ProgramFilePlace(kSearcherFiles); }

std::string ProgramWorkDirectory() { return ProgramFiles().Directory(); }

void StartUpEngine(LorvaneWindow& window, SearchContext& context, const suite::FilePlace& place) {
  if (place.programFolderUnknown) window.PostStatus(suite::NoProgramFolderText(place));
  StartUpEngine(window, context, place.Directory());
}

void StartUpEngine(LorvaneWindow& window, SearchContext& context, const std::string& workDirectory) {
  window.PostStatus("CLorvaneDlg::__initiate()");
  context.workDirectory = workDirectory;
  suite::MakeDirectory(context.workDirectory);
  context.clipboardDirectory = context.workDirectory + suite::kPathSeparator + kClipboardDirectoryName;
  suite::MakeDirectory(context.clipboardDirectory);
  context.extensions = AcceptedExtensions();
}

void MakeHistoryDirectory(SearchContext& context) {
  suite::MakeDirectory(context.workDirectory);
  context.historyDirectory = suite::MakeFreshStampedDirectory(context.workDirectory);
  context.viewDirectory.clear();
}

void EnsureHistoryDirectory(SearchContext& context) {
  if (!suite::PathExists(context.workDirectory)) suite::MakeDirectory(context.workDirectory);
  if (!suite::PathExists(context.historyDirectory)) {
    context.historyDirectory = suite::MakeFreshStampedDirectory(context.workDirectory);
  }
}

std::string ViewFileDirectory(SearchContext& context) {
  const std::string& history = context.historyDirectory;
  const bool inWorkDirectory = !context.workDirectory.empty() &&
                               suite::DirectoryOfPath(history) == context.workDirectory + suite::kPathSeparator &&
                               history.size() > context.workDirectory.size() + 1;
  if (inWorkDirectory) return history;
  if (context.viewDirectory.empty() || !suite::PathExists(context.viewDirectory)) {
    suite::MakeDirectory(context.workDirectory);
    context.viewDirectory = suite::MakeFreshStampedDirectory(context.workDirectory);
  }
  return context.viewDirectory;
}

}  // namespace lorvane
