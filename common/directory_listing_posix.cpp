#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/directory_listing.h"
#include "common/open_directory.h"
#include "common/unique_fd_posix.h"

namespace suite {
namespace {

EntryKind KindOfMode(mode_t mode) {
  if (S_ISREG(mode)) return EntryKind::kFile;
  if (S_ISDIR(mode)) return EntryKind::kDirectory;
  if (S_ISLNK(mode)) return EntryKind::kLink;
  return EntryKind::kOther;
}

// The entry's kind from the listing where the file system gives it, else
// looked up (without following a link).
EntryKind KindOfEntry(DIR* dir, const dirent& entry) {
  switch (entry.d_type) {
    case DT_REG: return EntryKind::kFile;
    case DT_DIR: return EntryKind::kDirectory;
    case DT_LNK: return EntryKind::kLink;
    case DT_UNKNOWN: break;
    default: return EntryKind::kOther;
  }
  struct stat status;
  if (::fstatat(::dirfd(dir), entry.d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) return EntryKind::kOther;
  return KindOfMode(status.st_mode);
}

bool IsDotOrDotDot(std::string_view name) { return name == "." || name == ".."; }

int Fd(std::intptr_t handle) { return static_cast<int>(handle); }

}  // namespace

std::vector<DirectoryEntry> ListDirectory(const std::string& directory) {
  std::vector<DirectoryEntry> entries;
  DIR* dir = ::opendir(directory.c_str());
  if (!dir) return entries;
  while (const dirent* entry = ::readdir(dir)) {
    if (IsDotOrDotDot(entry->d_name)) continue;
    entries.push_back(DirectoryEntry{entry->d_name, KindOfEntry(dir, *entry)});
  }
  ::closedir(dir);
  return entries;
}

bool EntryKindOf(const std::string& path, EntryKind* kind) {
  struct stat status;
  if (::lstat(path.c_str(), &status) != 0) return false;
  *kind = KindOfMode(status.st_mode);
  return true;
}

OpenDirectory::~OpenDirectory() {
  if (handle_ >= 0) ::close(Fd(handle_));
}

int OpenDirectory::Open(const std::string& path) {
  if (handle_ >= 0) ::close(Fd(handle_));
  handle_ = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  return handle_ >= 0 ? 0 : errno;
}

int OpenDirectory::Names(std::vector<std::string>* names) const {
  // fdopendir takes the descriptor over, so it gets its own.
  const int own = ::dup(Fd(handle_));
  if (own < 0) return errno;
  DIR* dir = ::fdopendir(own);
  if (!dir) {
    const int error = errno;
    ::close(own);
    return error;
  }
  while (const dirent* entry = ::readdir(dir)) {
    if (!IsDotOrDotDot(entry->d_name)) names->emplace_back(entry->d_name);
  }
  ::closedir(dir);
  return 0;
}

int OpenDirectory::KindOf(const std::string& name, EntryKind* kind) const {
  struct stat status;
  if (::fstatat(Fd(handle_), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) return errno;
  *kind = KindOfMode(status.st_mode);
  return 0;
}

int OpenDirectory::RemoveFileUnlessLocked(const std::string& name) const {
  const UniqueFd file(::openat(Fd(handle_), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (file.Valid() && ::flock(file.Get(), LOCK_EX | LOCK_NB) != 0) return errno;
  return ::unlinkat(Fd(handle_), name.c_str(), 0) == 0 ? 0 : errno;
}

}  // namespace suite
