#include "common/file_window.h"

#include <algorithm>

#include "common/exclusive_file.h"

namespace suite {

// The size when the window is made counts as seen: of a scan's windows, each
// on its own worker, one that first loads after a cut still sees it.
FileWindow::FileWindow(const ExclusiveFile& file, size_t capacity, Access access)
    : file_(file), capacity_(std::max<size_t>(capacity, 1)), sizeSeen_(file.Size()),
      mappable_(access == Access::kMapWhereItCan) {}

FileWindow::~FileWindow() {
  Release();
  delete buffer_;
}

void FileWindow::Release() {
  if (mapping_) Unmap(mapping_, mappingSize_);
  mapping_ = nullptr;
  mappingSize_ = 0;
  data_ = nullptr;
  size_ = 0;
}

bool FileWindow::Load(int64_t offset) {
  // Reads on after two mappings in a row that faulted page by page (see
  // kMapBytesPerFault): one alone may be a thread's first touches of its memory.
  if (faultLimit_ >= 0 && mappedOn_ == std::this_thread::get_id()) {
    faultyMappings_ = FaultsOfThisThread() > faultLimit_ ? faultyMappings_ + 1 : 0;
    mappable_ = mappable_ && faultyMappings_ < 2;
  }
  faultLimit_ = -1;
  Release();
  offset_ = offset;
  reachesEnd_ = false;
  cut_ = false;
  if (offset < 0) return false;
  const int64_t fileSize = file_.Size();
  cut_ = fileSize < sizeSeen_;  // a scan on would take the cut for the file's end
  if (cut_) return false;
  sizeSeen_ = fileSize;
  // A size of 0 may also be a file of /proc, whose bytes come only from reads.
  if (mappable_ && fileSize > 0) {
    if (offset >= fileSize) {
      reachesEnd_ = true;
      return true;
    }
    size_ = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(capacity_), fileSize - offset));
    // The mapping runs from the 2 MiB boundary before the window to the one
    // after it (bytes outside the window are never touched): the kernel maps
    // the page cache's large folios in 2 MiB steps only where the mapping
    // covers them whole and starts at an address as aligned as its offset,
    // which it gives mappings whose length is a multiple of 2 MiB. A window
    // that starts where a line starts, anywhere, then costs a few faults
    // instead of one per 64 KiB.
    const int64_t start = offset / kMapAlignment * kMapAlignment;
    const int64_t stop = (offset + static_cast<int64_t>(size_) + kMapAlignment - 1) / kMapAlignment * kMapAlignment;
    const size_t length = static_cast<size_t>(stop - start);
    void* mapping = Map(file_, start, length, fileSize);
    if (mapping) {
      const int64_t faults = FaultsOfThisThread();
      if (faults >= 0) faultLimit_ = faults + static_cast<int64_t>(size_ / kMapBytesPerFault);
      mappedOn_ = std::this_thread::get_id();
      mapping_ = mapping;
      mappingSize_ = length;
      data_ = static_cast<const char*>(mapping) + (offset - start);
      reachesEnd_ = offset + static_cast<int64_t>(size_) >= fileSize;
      return true;
    }
    mappable_ = false;
    size_ = 0;
  }
  // Read instead: as much as the window holds, or up to the end of the file.
  if (!buffer_) buffer_ = new AlignedBlock(capacity_);
  int error = 0;
  const size_t got = file_.ReadAt(buffer_->get(), capacity_, offset, &error);
  if (error != 0) return false;
  // Fewer bytes than the file held when it was looked at: cut meanwhile.
  cut_ = fileSize > offset && got < std::min(capacity_, static_cast<size_t>(fileSize - offset));
  if (cut_) return false;
  size_ = got;
  data_ = buffer_->get();
  // A read that came short came to the file's end.
  reachesEnd_ = got < capacity_ || (fileSize > 0 && offset + static_cast<int64_t>(got) >= fileSize);
  return true;
}

}  // namespace suite
