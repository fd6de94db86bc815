// Test helpers: a scratch directory removed after the test, and file writing.
#pragma once

#include <string>
#include <string_view>

#include "common/codepage.h"

// What a test can't set up on Windows, where it is skipped with the reason:
// symbolic links (Wine reports one made and makes none; Windows asks for a
// privilege), and POSIX permission bits.
#ifdef _WIN32
#define SUITE_ON_WINDOWS true
#define SUITE_SKIP_ON_WINDOWS(reason) GTEST_SKIP() << reason
#else
#define SUITE_ON_WINDOWS false
#define SUITE_SKIP_ON_WINDOWS(reason) (void)0
#endif
#define SUITE_SKIP_WITHOUT_SYMLINKS() SUITE_SKIP_ON_WINDOWS("no symbolic links to test with here")
// Wine lacks code page 54936: a character GBK lacks then can't travel as its
// GB18030 bytes, and shows as the bytes of its UTF-8 instead.
#define SUITE_SKIP_WITHOUT_GB18030()                                    \
  if (!suite::ConvertExactly("GB18030", "UTF-8", "\xF0\x9F\x98\x80")) \
  GTEST_SKIP() << "no GB18030 here (Wine lacks code page 54936)"
// The same in a Qt Test.
#define SUITE_QSKIP_WITHOUT_GB18030()                                   \
  if (!suite::ConvertExactly("GB18030", "UTF-8", "\xF0\x9F\x98\x80")) \
  QSKIP("no GB18030 here (Wine lacks code page 54936)")

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
