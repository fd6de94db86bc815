#include <io.h>
#include <windows.h>

#include <algorithm>

#include "common/exclusive_file.h"
#include "common/file_window.h"

namespace suite {
namespace {

HANDLE HandleOf(const ExclusiveFile& file) { return reinterpret_cast<HANDLE>(::_get_osfhandle(file.Descriptor())); }

}  // namespace

// A view can't reach past the file's end on Windows: it stops there. `start`
// is on a 2 MiB boundary, a multiple of the 64 KiB allocation granularity a
// view's offset must keep. While the view is there, nobody can cut the file
// (ERROR_USER_MAPPED_FILE): a cut from outside shows only between windows, or
// on a file system that lets it through (then the guard catches the fault).
void* FileWindow::Map(const ExclusiveFile& file, int64_t start, size_t length, int64_t fileSize) {
  const size_t shown = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(length), fileSize - start));
  HANDLE mapping = ::CreateFileMappingW(HandleOf(file), nullptr, PAGE_READONLY, 0, 0, nullptr);
  if (!mapping) return nullptr;
  void* view = ::MapViewOfFile(mapping, FILE_MAP_READ, static_cast<DWORD>(static_cast<uint64_t>(start) >> 32),
                               static_cast<DWORD>(start), shown);
  ::CloseHandle(mapping);  // the view keeps the mapping
  return view;
}

void FileWindow::Unmap(void* mapping, size_t) { ::UnmapViewOfFile(mapping); }

// Windows counts page faults per process only, the other threads' too.
int64_t FileWindow::FaultsOfThisThread() { return -1; }

}  // namespace suite
