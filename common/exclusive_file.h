// A target file opened for reading with no sharing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace suite {

// Opens a regular file read-only and takes an exclusive advisory lock on it, so
// the open fails while another program of the suite (or any program that locks)
// holds the file, and nobody else can lock it while it is open here.
// Directories, devices and pipes fail to open: only regular files are targets.
// Not thread-safe; one reader at a time.
class ExclusiveFile {
 public:
  enum class OpenError { None, Missing, NotRegular, Denied, Locked, Other };

  ExclusiveFile() = default;
  ~ExclusiveFile();
  ExclusiveFile(const ExclusiveFile&) = delete;
  ExclusiveFile& operator=(const ExclusiveFile&) = delete;

  bool Open(const std::string& path);
  // The same open without the lock, for the suite's own files that are never
  // rewritten in place (descriptors, result files): any number may read them
  // at once, whoever holds them.
  bool OpenShared(const std::string& path);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }
  OpenError LastOpenError() const { return openError_; }

  // Size as the file system reports it now.
  int64_t Size() const;

  // Reads up to `length` bytes at the current position; 0 at the end, -1 on an error.
  std::ptrdiff_t Read(char* buffer, size_t length);

  // Moves the read position to an absolute byte offset.
  bool Seek(int64_t offset);

  // Reads up to `length` bytes at `offset`, leaving the position; fewer only
  // at the end of the file or on an error, which `error` then gets as an
  // errno value (0 at the end). Safe beside other reads of the same file.
  size_t ReadAt(char* buffer, size_t length, int64_t offset, int* error = nullptr) const;

  // Asks for bytes to be read into the page cache without waiting for them:
  // hints for many small files first let their reads overlap.
  void WillRead(int64_t offset, int64_t length) const;

  // Which file this is: its device and inode (0, 0 when it can't be told).
  struct Identity {
    uint64_t device = 0;
    uint64_t inode = 0;
    friend bool operator==(const Identity&, const Identity&) = default;
  };
  Identity FileIdentity() const;
  // True when the file was deleted while open here. On Windows such a file
  // keeps its name (and nobody can make a file there) until its last handle
  // is closed.
  bool Deleted() const;

  int Descriptor() const { return fd_; }

 private:
  bool OpenRegular(const std::string& path, bool lock);

  int fd_ = -1;
  OpenError openError_ = OpenError::None;
};

}  // namespace suite
