#include <sys/mman.h>
#include <sys/resource.h>

#include "common/exclusive_file.h"
#include "common/file_window.h"

namespace suite {

// The mapping may reach past the file's end: those pages are never touched.
void* FileWindow::Map(const ExclusiveFile& file, int64_t start, size_t length, int64_t) {
  void* mapping = ::mmap(nullptr, length, PROT_READ, MAP_SHARED, file.Descriptor(), start);
  return mapping == MAP_FAILED ? nullptr : mapping;
}

void FileWindow::Unmap(void* mapping, size_t length) { ::munmap(mapping, length); }

// Linux counts them per thread.
int64_t FileWindow::FaultsOfThisThread() {
  struct rusage usage;
  return ::getrusage(RUSAGE_THREAD, &usage) == 0 ? usage.ru_minflt + usage.ru_majflt : -1;
}

}  // namespace suite
