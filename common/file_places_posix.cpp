// The facts behind FilePlace, read from this process and the user's files.
#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "common/file_places.h"
#include "common/path_util.h"

namespace suite {

namespace {

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

std::string HomeFolder() {
  const std::string home = Variable("HOME");
  if (!home.empty() && home.front() == kPathSeparator) return home;
  if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir && entry->pw_dir[0] == kPathSeparator) {
    return entry->pw_dir;
  }
  return kPathSeparatorText;
}

// The start of a small text file; a settings file is never larger.
std::string SmallFileText(const std::string& path) {
  constexpr size_t kLimit = 64 * 1024;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return std::string();
  std::string text(kLimit, '\0');
  size_t used = 0;
  while (used < kLimit) {
    const ssize_t got = ::read(fd, text.data() + used, kLimit - used);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    used += static_cast<size_t>(got);
  }
  ::close(fd);
  text.resize(used);
  return text;
}

std::string DocumentsFolder(const std::string& home, const std::string& configHome) {
  const std::string config =
      !configHome.empty() && configHome.front() == kPathSeparator ? configHome : home + "/.config";
  std::string folder = DocumentsFolderFromUserDirs(SmallFileText(config + "/user-dirs.dirs"), home);
  if (folder.empty()) folder = Variable("XDG_DOCUMENTS_DIR");
  if (folder.empty() || folder.front() != kPathSeparator) folder = home + "/Documents";
  return IsDirectory(folder) ? folder : std::string();
}

// Creates the missing folders of an absolute path, each readable by the user alone.
void MakeDirectoryChain(const std::string& directory) {
  for (size_t next = directory.find(kPathSeparator, 1); ; next = directory.find(kPathSeparator, next + 1)) {
    const std::string part = directory.substr(0, next);
    if (!part.empty() && !IsDirectory(part)) MakeDirectory(part);
    if (next == std::string::npos) break;
  }
}

}  // namespace

PlaceFacts ReadPlaceFacts() {
  PlaceFacts facts;
  facts.programDirectory = FindModuleDirectory().value_or(std::string());
  facts.programDirectoryWritable = IsWritableDirectory(facts.programDirectory);
  facts.home = HomeFolder();
  facts.stateHome = Variable("XDG_STATE_HOME");
  facts.configHome = Variable("XDG_CONFIG_HOME");
  facts.documentsDirectory = DocumentsFolder(facts.home, facts.configHome);
  return facts;
}

FilePlace MakeFilePlace(const PlaceFacts& facts, const FilesRequest& request) {
  FilePlace place = DecideFilePlace(facts, request);
  if (!place.besideProgram && request.place != UserPlace::kDocuments) MakeDirectoryChain(place.base);
  return place;
}

FilePlace ProgramFilePlace(const FilesRequest& request) { return MakeFilePlace(ReadPlaceFacts(), request); }

}  // namespace suite
