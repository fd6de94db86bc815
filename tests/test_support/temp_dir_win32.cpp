#include <windows.h>

#include <atomic>
#include <filesystem>
#include <stdexcept>

#include "common/wide_text_win32.h"
#include "test_support/temp_dir.h"

namespace suite::testing {

// Under %TEMP%, with the suite's own separator, so paths the tests build
// compare with those the suite builds.
TempDir::TempDir() {
  static std::atomic<unsigned> count{0};
  wchar_t base[MAX_PATH + 1];
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, base);
  if (length == 0 || length > MAX_PATH) throw std::runtime_error("GetTempPathW failed");
  std::string folder = win32::Narrow(std::wstring_view(base, length));
  for (char& c : folder) {
    if (c == '\\') c = '/';
  }
  for (unsigned attempt = 0; attempt < 1000; ++attempt) {
    const std::string path = folder + "suite-test-" + std::to_string(::GetCurrentProcessId()) + "-" +
                             std::to_string(++count) + "-" + std::to_string(::GetTickCount());
    if (::CreateDirectoryW(win32::Wide(path).c_str(), nullptr)) {
      path_ = path;
      return;
    }
  }
  throw std::runtime_error("no temporary directory");
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(std::u8string(path_.begin(), path_.end())), ignored);
}

std::string TempDir::operator/(std::string_view name) const { return path_ + "/" + std::string(name); }

// Windows locks and share modes belong to a handle, not a process: a cut
// through another handle meets the same refusals as one from another program
// (a mapped file can't be cut: ERROR_USER_MAPPED_FILE).
bool CutFromAnotherProcess(const std::string& path, long long size) {
  win32::UniqueHandle file(::CreateFileW(win32::Wide(path).c_str(), GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  LARGE_INTEGER end;
  end.QuadPart = size;
  return ::SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file.Get());
}

}  // namespace suite::testing
