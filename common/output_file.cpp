#include "common/output_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>

namespace suite {

OutputFile::OutputFile(size_t bufferSize)
    : buffer_(std::max<size_t>(bufferSize, 1)),
      firstWriteShortfall_(bufferSize >= 4 * AlignedBlock::kPageSize ? AlignedBlock::kPageSize : 0) {}

OutputFile::~OutputFile() { Close(); }

bool OutputFile::Create(const std::string& path) { return Open(path, O_TRUNC); }

bool OutputFile::CreateNew(const std::string& path, bool* existed) {
  const bool made = Open(path, O_EXCL);
  *existed = !made && errno == EEXIST;
  return made;
}

bool OutputFile::Open(const std::string& path, int flags) {
  Close();
  path_ = path;
  fd_ = OpenDescriptor(path, flags);
  failed_ = fd_ < 0;
  error_ = failed_ ? errno : 0;
  used_ = 0;
  room_ = buffer_.size() - firstWriteShortfall_;
  written_ = 0;
  marks_.clear();
  return fd_ >= 0;
}

bool OutputFile::Append(std::string_view bytes) {
  if (failed_ || fd_ < 0) return false;
  const char* at = bytes.data();
  size_t length = bytes.size();
  for (;;) {
    const size_t room = room_ - used_;
    if (length < room) break;
    if (used_ == 0) {
      // A whole write's worth with nothing buffered goes out from where it
      // is, in the same writes the buffer would make: one copy fewer.
      if (!WriteAll(at, room)) return false;
      room_ = buffer_.size();
    } else {
      // Fills the buffer to the brim; a long text goes on in the next one.
      std::memcpy(buffer_.get() + used_, at, room);
      used_ += room;
      if (!Flush()) return false;
    }
    at += room;
    length -= room;
  }
  if (length > 0) std::memcpy(buffer_.get() + used_, at, length);
  used_ += length;
  return true;
}

bool OutputFile::Close() {
  if (fd_ < 0) return !failed_;
  if (!failed_) Flush();
  if (!CloseDescriptor(fd_)) failed_ = true;
  fd_ = -1;
  used_ = 0;
  return !failed_;
}

bool OutputFile::CloseDurably() {
  if (fd_ >= 0 && !failed_ && Flush() && !SyncDescriptor(fd_)) {
    failed_ = true;
    error_ = errno;
  }
  return Close();
}

int64_t OutputFile::CloseAtMark() {
  if (fd_ < 0) return 0;
  const int64_t last = marks_.empty() ? 0 : marks_.back();
  if (!failed_ && last > written_) WriteAll(buffer_.get(), static_cast<size_t>(last - written_));
  const auto whole = std::upper_bound(marks_.begin(), marks_.end(), written_) - marks_.begin();
  const int64_t size = whole > 0 ? marks_[static_cast<size_t>(whole - 1)] : 0;
  const bool cut = CutDescriptor(fd_, size);
  if (!CloseDescriptor(fd_)) failed_ = true;
  fd_ = -1;
  used_ = 0;
  marks_.clear();
  // A file that can't be cut back keeps no unit the caller may count on.
  return cut ? whole : 0;
}

bool OutputFile::Flush() {
  const bool written = WriteAll(buffer_.get(), used_);
  used_ = 0;
  room_ = buffer_.size();
  return written;
}

bool OutputFile::WriteAll(const char* bytes, size_t length) {
  while (length > 0) {
    const std::ptrdiff_t wrote = WriteSome(fd_, bytes, length);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) {
      error_ = wrote < 0 ? errno : ENOSPC;
      failed_ = true;
      return false;
    }
    bytes += wrote;
    length -= static_cast<size_t>(wrote);
    written_ += wrote;
  }
  return true;
}

}  // namespace suite
