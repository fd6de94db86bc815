#include "common/file_places.h"

#include <array>
#include <string_view>

#include "common/codepage.h"
#include "common/path_util.h"

namespace suite {

namespace {

// Folders that belong to the system or to installed software, with all below them.
constexpr std::array<std::string_view, 19> kSystemTrees{
    "/usr", "/bin", "/sbin", "/lib", "/lib32", "/lib64", "/libx32", "/opt", "/etc", "/var",
    "/boot", "/dev", "/proc", "/sys", "/run", "/srv", "/snap", "/nix", "/app"};
// Folders that are shared by everyone themselves, while folders below them are someone's.
constexpr std::array<std::string_view, 5> kSharedRoots{"/", "/home", "/media", "/mnt", "/tmp"};

std::string WithoutTrailingSeparators(std::string directory) {
  while (directory.size() > 1 && directory.back() == kPathSeparator) directory.pop_back();
  return directory;
}

bool IsAbsolute(const std::string& path) { return IsAbsolutePath(path); }

}  // namespace

#ifdef _WIN32
// On Windows, after the drive: the system's and installed software's folders,
// and the folders shared by everyone themselves; names in any case, either
// separator.
bool IsWindowsSystemFolder(std::string folder) {
  for (char& c : folder) {
    if (c == '\\') c = '/';
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  }
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (folder.rfind("//", 0) == 0) {  // a share: its root is everyone's, below it someone's
    const size_t share = folder.find('/', 2);
    return share == std::string::npos || folder.find('/', share + 1) == std::string::npos;
  }
  if (folder.size() < 2 || folder[1] != ':') return true;
  const std::string rest = folder.substr(2);
  for (std::string_view root : {"", "/users", "/users/public"}) {
    if (rest == root) return true;
  }
  for (std::string_view tree : {"/windows", "/program files", "/program files (x86)", "/programdata"}) {
    if (rest.compare(0, tree.size(), tree) == 0 && (rest.size() == tree.size() || rest[tree.size()] == '/')) {
      return true;
    }
  }
  return false;
}
#endif

bool IsSystemFolder(const std::string& directory) {
  if (!IsAbsolute(directory)) return true;  // nothing known about it: never a place for files
#ifdef _WIN32
  return IsWindowsSystemFolder(directory);
#endif
  const std::string folder = WithoutTrailingSeparators(directory);
  for (std::string_view root : kSharedRoots) {
    if (folder == root) return true;
  }
  for (std::string_view tree : kSystemTrees) {
    if (folder.compare(0, tree.size(), tree) == 0 &&
        (folder.size() == tree.size() || folder[tree.size()] == kPathSeparator)) {
      return true;
    }
  }
  return false;
}

bool KeepsFilesBesideProgram(const PlaceFacts& facts) {
  return !facts.programDirectory.empty() && facts.programDirectoryWritable && !IsSystemFolder(facts.programDirectory);
}

FilePlace DecideFilePlace(const PlaceFacts& facts, const FilesRequest& request) {
  if (KeepsFilesBesideProgram(facts)) return {facts.programDirectory, request.besideProgramName, true};
  std::string base;
  switch (request.place) {
    case UserPlace::kState:
      base = IsAbsolute(facts.stateHome) ? facts.stateHome : WithSeparator(facts.home) + ".local/state";
      break;
    case UserPlace::kConfig:
      base = IsAbsolute(facts.configHome) ? facts.configHome : WithSeparator(facts.home) + ".config";
      break;
    case UserPlace::kDocuments:
      base = IsAbsolute(facts.documentsDirectory) ? facts.documentsDirectory : facts.home;
      break;
  }
  return {WithSeparator(base), request.userPlaceName, false, facts.programDirectory.empty()};
}

std::string NoProgramFolderText(const FilePlace& place) {
  return Cp("找不到程序所在的目录，文件改存在“") + PathText(place.Directory()) + Cp("”中。");
}

std::string DocumentsFolderFromUserDirs(const std::string& text, const std::string& home) {
  static constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR=\"";
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    start = end + 1;
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    if (line.substr(0, kKey.size()) != kKey) continue;
    line.remove_prefix(kKey.size());
    const size_t quote = line.find('"');
    if (quote == std::string_view::npos) continue;
    std::string_view value = line.substr(0, quote);
    static constexpr std::string_view kHome = "$HOME";
    std::string folder;
    if (value.substr(0, kHome.size()) == kHome && (value.size() == kHome.size() || value[kHome.size()] == '/')) {
      folder = WithoutTrailingSeparators(home) + std::string(value.substr(kHome.size()));
    } else {
      folder = std::string(value);
    }
    if (!IsAbsolute(folder)) return std::string();
    return WithoutTrailingSeparators(folder);
  }
  return std::string();
}

}  // namespace suite
