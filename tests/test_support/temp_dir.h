// Test helpers: a scratch directory removed after the test, and file writing.
#pragma once

#include <string>
#include <string_view>

namespace suite::testing {

// A fresh directory under the system's temporary directory; removed with all
// its content when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }
  // Path of a name inside the directory.
  std::string operator/(std::string_view name) const;

 private:
  std::string path_;
};

// Writes bytes to a file, replacing it; returns the path.
std::string WriteFile(const std::string& path, std::string_view bytes);
std::string ReadFile(const std::string& path);

// Cuts the file to `size` bytes from another process (truncate(1)), as a log
// rotation by copytruncate does, and waits until it is done. False when that
// process failed.
bool CutFromAnotherProcess(const std::string& path, long long size);

}  // namespace suite::testing
