#include "common/staged_files.h"

#include "common/wide_text_win32.h"

namespace suite {

bool SyncFile(const std::string& path) {
  win32::UniqueHandle file(::CreateFileW(win32::Wide(path).c_str(), GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.Valid() && ::FlushFileBuffers(file.Get());
}

// NTFS journals its directory entries itself; a directory can't be flushed
// through a handle. A missing directory still fails.
bool SyncDirectory(const std::string& directory) {
  const DWORD attributes = ::GetFileAttributesW(win32::Wide(directory).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace suite
