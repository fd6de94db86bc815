// A file the programs create, written through a large buffer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace suite {

// Creates or truncates a file and writes it in few large writes. Every failure
// (can't create, disk full, I/O error) is remembered and reported by Close, so
// a caller never takes a half-written file for a whole one.
class OutputFile {
 public:
  explicit OutputFile(size_t bufferSize = 1 << 20);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // False when the file can't be created.
  bool Create(const std::string& path);
  void Append(std::string_view bytes);
  void Append(char byte) {
    if (buffer_.size() - used_ < 1) Flush();
    buffer_[used_++] = byte;
  }
  // Flushes and closes; false when anything since Create failed.
  bool Close();
  bool IsOpen() const { return fd_ >= 0; }
  bool Failed() const { return failed_; }
  const std::string& Path() const { return path_; }

 private:
  void Flush();
  void WriteAll(const char* data, size_t length);

  int fd_ = -1;
  bool failed_ = false;
  std::string path_;
  std::vector<char> buffer_;
  size_t used_ = 0;
};

}  // namespace suite
