// A file the programs create, written through a large buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/aligned_block.h"
#include "common/tuning.h"

namespace suite {

// Creates or truncates a file, readable and writable by the user alone, and writes it in few large writes. The buffer is
// page-aligned and every write but the first and the last is one whole
// buffer, so writes start on page boundaries of the file: that measured a
// third of the kernel time of writes that end wherever a line ends. The first
// write is one page short, so the later ones straddle the file's 64 and 128 KiB
// boundaries: writes that cover such blocks exactly get large page-cache
// folios, and on a virtual machine whose free memory goes back to the host
// those took two to three times the kernel time (1 GiB in 128 KiB writes: 0.9
// to 1.5 s against 0.33 to 0.43 s). Bytes that fill a whole write while
// nothing is buffered are written from where they are, so a split writes
// straight from the mapped source. Every failure (can't create,
// disk full, I/O error) is remembered and reported, so a caller never takes a
// half-written file for a whole one. The buffer serves one file after another.
// Not thread-safe.
class OutputFile {
 public:
  explicit OutputFile(size_t bufferSize = kWriteBlockSize);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Creates the file, or truncates it; closes the current one first. False
  // when it can't be created.
  bool Create(const std::string& path);
  // Creates a file that doesn't exist yet; false (with `existed` set when
  // that was the reason) otherwise.
  bool CreateNew(const std::string& path, bool* existed);
  // False once anything written to this file has failed.
  bool Append(std::string_view bytes);
  // The bytes that fill the current write: that many appended while nothing
  // is buffered go out from where they are, without a copy.
  size_t Room() const { return room_ - used_; }
  // The line and CR LF.
  bool AppendLine(std::string_view text) { return Append(text) && Append("\r\n"); }
  // Writes what is buffered and closes; false when anything since Create failed.
  bool Close();
  // Close, after waiting until the bytes are on the disk (fdatasync): for a
  // small file that others must find whole after a power loss.
  bool CloseDurably();
  // Marks the end of a whole unit (a record): a file given up with
  // CloseAtMark keeps whole units only.
  void Mark() { marks_.push_back(written_ + static_cast<int64_t>(used_)); }
  // Writes what is buffered up to the last mark (unless writing failed
  // before), cuts the file back to the last mark that reached it whole, and
  // closes it. Gives the number of whole units the file keeps; what came
  // after them (a unit half written when a write or its source failed) is
  // gone. Failed() tells whether any write (or the close) failed.
  int64_t CloseAtMark();
  bool IsOpen() const { return fd_ >= 0; }
  bool Failed() const { return failed_; }
  // The error of the first failure; EFAULT when bytes handed over came from
  // a mapped file that was cut meanwhile (the write reads them, not a copy).
  int Error() const { return error_; }
  const std::string& Path() const { return path_; }

 private:
  bool Open(const std::string& path, int flags);
  // The platform's calls (output_file_posix.cpp, output_file_win32.cpp), each
  // failing with errno set: a file created or truncated (`flags` O_TRUNC or
  // O_EXCL) readable by the user alone, part of a write, the bytes synced to
  // the disk, the size cut, the close.
  static int OpenDescriptor(const std::string& path, int flags);
  static std::ptrdiff_t WriteSome(int fd, const char* bytes, size_t length);
  static bool SyncDescriptor(int fd);
  static bool CutDescriptor(int fd, int64_t size);
  static bool CloseDescriptor(int fd);
  bool Flush();
  bool WriteAll(const char* bytes, size_t length);

  AlignedBlock buffer_;
  const size_t firstWriteShortfall_;
  size_t used_ = 0;
  size_t room_ = 0;  // what the current write takes: less for a file's first
  int64_t written_ = 0;  // bytes that reached the file; the buffer's bytes follow them
  std::vector<int64_t> marks_;  // ends of whole units since Create
  int fd_ = -1;
  bool failed_ = false;
  int error_ = 0;
  std::string path_;
};

}  // namespace suite
