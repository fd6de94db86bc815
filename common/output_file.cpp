#include "common/output_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace suite {

OutputFile::OutputFile(size_t bufferSize) : buffer_(bufferSize < 1 ? 1 : bufferSize) {}

OutputFile::~OutputFile() { Close(); }

bool OutputFile::Create(const std::string& path) {
  Close();
  path_ = path;
  failed_ = false;
  used_ = 0;
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd_ < 0) failed_ = true;
  return fd_ >= 0;
}

void OutputFile::WriteAll(const char* data, size_t length) {
  while (length > 0 && !failed_) {
    const ssize_t written = ::write(fd_, data, length);
    if (written < 0) {
      if (errno == EINTR) continue;
      failed_ = true;
      return;
    }
    data += written;
    length -= static_cast<size_t>(written);
  }
}

void OutputFile::Flush() {
  if (fd_ >= 0 && used_ > 0) WriteAll(buffer_.data(), used_);
  used_ = 0;
}

void OutputFile::Append(std::string_view bytes) {
  if (fd_ < 0) return;
  if (bytes.size() > buffer_.size() - used_) {
    Flush();
    if (bytes.size() >= buffer_.size()) {  // a huge piece goes out directly
      WriteAll(bytes.data(), bytes.size());
      return;
    }
  }
  std::memcpy(buffer_.data() + used_, bytes.data(), bytes.size());
  used_ += bytes.size();
}

bool OutputFile::Close() {
  if (fd_ < 0) return !failed_;
  Flush();
  if (::close(fd_) != 0) failed_ = true;
  fd_ = -1;
  return !failed_;
}

}  // namespace suite
