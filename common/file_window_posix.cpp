#include <cerrno>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/exclusive_file.h"
#include "common/file_window.h"

namespace suite {

int64_t FileWindow::FileSizeNow(const ExclusiveFile& file) {
  struct stat status;
  if (::fstat(file.Descriptor(), &status) != 0) return -1;
  return status.st_size;
}

// The mapping may reach past the file's end: those pages are never touched.
void* FileWindow::Map(const ExclusiveFile& file, int64_t start, size_t length, int64_t) {
  void* mapping = ::mmap(nullptr, length, PROT_READ, MAP_SHARED, file.Descriptor(), start);
  return mapping == MAP_FAILED ? nullptr : mapping;
}

void FileWindow::Unmap(void* mapping, size_t length) { ::munmap(mapping, length); }

std::ptrdiff_t FileWindow::ReadSome(const ExclusiveFile& file, char* buffer, size_t length, int64_t offset) {
  for (;;) {
    const ssize_t read = ::pread(file.Descriptor(), buffer, length, static_cast<off_t>(offset));
    if (read >= 0 || errno != EINTR) return read;
  }
}

// Linux counts them per thread.
int64_t FileWindow::FaultsOfThisThread() {
  struct rusage usage;
  return ::getrusage(RUSAGE_THREAD, &usage) == 0 ? usage.ru_minflt + usage.ru_majflt : -1;
}

}  // namespace suite
