#include "common/file_window.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <numeric>
#include <string>
#include <string_view>
#include <thread>
#include <unistd.h>
#ifdef _WIN32
#include <windows.h>

#include "common/wide_text_win32.h"
#else
#include <sys/mman.h>
#endif

#include "common/cut_guard.h"
#include "common/exclusive_file.h"
#include "test_support/temp_dir.h"

namespace {

using suite::ExclusiveFile;
using suite::FileWindow;
using suite::testing::TempDir;
using suite::testing::WriteFile;

std::string Pattern(size_t length) {
  std::string bytes(length, '\0');
  for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>('a' + (i * 7 + i / 4096) % 26);
  return bytes;
}

// Every byte of the window: what a scan reads.
unsigned Sum(const FileWindow& window) {
  unsigned sum = 0;
  for (size_t i = 0; i < window.Size(); ++i) sum += static_cast<unsigned char>(window.Data()[i]);
  return sum;
}

// Windows from any offset, mapped or read, show exactly the file's bytes.
TEST(FileWindowTest, WindowsShowTheBytesFromAnyOffset) {
  TempDir dir;
  const std::string bytes = Pattern(3 * 4096 + 123);
  const std::string path = WriteFile(dir / "f", bytes);
  ExclusiveFile file;
  ASSERT_TRUE(file.Open(path));
  for (const auto access : {FileWindow::Access::kMapWhereItCan, FileWindow::Access::kRead}) {
    for (const size_t capacity : {size_t{1}, size_t{4096}, size_t{5000}, size_t{1} << 20}) {
      FileWindow window(file, capacity, access);
      for (const int64_t offset : {0, 1, 4095, 4096, 4097, 9000, static_cast<int>(bytes.size()) - 1}) {
        ASSERT_TRUE(window.Load(offset));
        const size_t expected = std::min(capacity, bytes.size() - static_cast<size_t>(offset));
        EXPECT_EQ(std::string_view(window.Data(), window.Size()), std::string_view(bytes).substr(offset, expected));
        EXPECT_EQ(window.Offset(), offset);
        EXPECT_EQ(window.ReachesEnd(), static_cast<size_t>(offset) + expected == bytes.size());
      }
      ASSERT_TRUE(window.Load(static_cast<int64_t>(bytes.size())));
      EXPECT_EQ(window.Size(), 0u);
      EXPECT_TRUE(window.ReachesEnd());
    }
  }

  // Mappings reach out to the 2 MiB boundaries around a window (past the
  // file's end too): the window still shows just its bytes.
  const std::string big = Pattern((5 << 20) + 777);
  const std::string bigPath = WriteFile(dir / "big", big);
  ExclusiveFile bigFile;
  ASSERT_TRUE(bigFile.Open(bigPath));
  FileWindow window(bigFile, 3 << 20);
  const int64_t mib2 = 2 << 20;
  for (const int64_t offset : {mib2 - 1, mib2, mib2 + 1, 2 * mib2 + 4097, static_cast<int64_t>(big.size()) - 10}) {
    ASSERT_TRUE(window.Load(offset));
    const size_t expected = std::min(size_t{3} << 20, big.size() - static_cast<size_t>(offset));
    ASSERT_EQ(window.Size(), expected) << offset;
    EXPECT_TRUE(std::string_view(window.Data(), window.Size()) == std::string_view(big).substr(offset, expected))
        << offset;
  }
}

// Files that can't be mapped are read; a read error is one.
TEST(FileWindowTest, FilesOfProcAreReadAndTheirErrorsReported) {
  ExclusiveFile status;
  ASSERT_TRUE(status.Open("/proc/self/status"));  // its size reads as 0
  FileWindow window(status);
  ASSERT_TRUE(window.Load(0));
  EXPECT_EQ(std::string_view(window.Data(), window.Size()).substr(0, 5), "Name:");
  EXPECT_TRUE(window.ReachesEnd());

  ExclusiveFile memory;
  ASSERT_TRUE(memory.Open("/proc/self/mem"));  // reading at offset 0 fails
  FileWindow unreadable(memory);
  EXPECT_FALSE(unreadable.Load(0));
}

// A file cut by another program under a mapped window: the guarded scan ends
// with false instead of the process ending with SIGBUS; the window's next
// Load says the file was cut, and a new window sees the file as it is now.
TEST(FileWindowTest, AScanOfAWindowCutMeanwhileEndsWithFalse) {
  SUITE_SKIP_ON_WINDOWS("a mapped file can't be cut there (FileWindowWindowsTest)");
  TempDir dir;
  const std::string path = WriteFile(dir / "log", Pattern(4 << 20));
  ExclusiveFile file;
  ASSERT_TRUE(file.Open(path));
  FileWindow window(file);
  ASSERT_TRUE(window.Load(0));
  ASSERT_EQ(window.Size(), size_t{4} << 20);
  unsigned sum = 0;
  EXPECT_TRUE(suite::ScanUnlessCut(window.Data(), window.Size(), [&] { sum = Sum(window); }));
  EXPECT_GT(sum, 0u);
  ASSERT_TRUE(suite::testing::CutFromAnotherProcess(path, 1000));
  for (int round = 0; round < 3; ++round) {  // and again: the handler stays in place
    EXPECT_FALSE(suite::ScanUnlessCut(window.Data(), window.Size(), [&] { sum = Sum(window); }));
  }
  EXPECT_FALSE(window.Load(0));
  EXPECT_TRUE(window.WasCut());
  FileWindow after(file);
  ASSERT_TRUE(after.Load(0));
  EXPECT_FALSE(after.WasCut());
  EXPECT_EQ(after.Size(), 1000u);
  EXPECT_TRUE(suite::ScanUnlessCut(after.Data(), after.Size(), [&] { sum = Sum(after); }));
}

// A cut between two windows touches no mapped page: the next Load finds the
// file shorter than before and says so, instead of taking the cut for the end.
// A file that grows is no cut. So with windows read, not mapped.
TEST(FileWindowTest, ACutBetweenTwoWindowsIsSeenByTheNextLoad) {
  for (const auto access : {FileWindow::Access::kMapWhereItCan, FileWindow::Access::kRead}) {
    TempDir dir;
    const std::string path = WriteFile(dir / "log", Pattern(3 * 4096));
    ExclusiveFile file;
    ASSERT_TRUE(file.Open(path));
    FileWindow window(file, 4096, access);
    ASSERT_TRUE(window.Load(0));
    ASSERT_EQ(::truncate(path.c_str(), 4 * 4096), 0);  // it grows
    ASSERT_TRUE(window.Load(4096));
    EXPECT_FALSE(window.WasCut());
#ifdef _WIN32
    window.Release();  // a mapped file can't be cut there
#endif
    ASSERT_TRUE(suite::testing::CutFromAnotherProcess(path, 2 * 4096));
    EXPECT_FALSE(window.Load(2 * 4096));  // at the new end: it would look like the end
    EXPECT_TRUE(window.WasCut());
  }
}

// A window whose mappings fault page by page (mapped from small page-cache
// folios; here the faults are made by touching fresh memory between loads)
// reads from the second such mapping in a row on: the same bytes, and a cut
// still seen. One such mapping alone, a thread's first touches of its own
// memory, doesn't make it read. (Windows counts faults per process only:
// there windows always map.)
#ifndef _WIN32
TEST(FileWindowTest, AWindowWhoseMappingsFaultPageByPageReadsOn) {
  TempDir dir;
  const std::string bytes = Pattern(6 << 20);
  const std::string path = WriteFile(dir / "log", bytes);
  ExclusiveFile file;
  ASSERT_TRUE(file.Open(path));
  const size_t capacity = 1 << 20;  // a fault limit of 4
  const auto faultAFewHundredTimes = [] {
    const size_t size = 300 * 4096;
    void* fresh = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(fresh, MAP_FAILED);
    ::madvise(fresh, size, MADV_NOHUGEPAGE);  // a fault per page
    for (size_t at = 0; at < size; at += 4096) static_cast<volatile char*>(fresh)[at] = 1;
    ::munmap(fresh, size);
  };
  const auto showsItsBytes = [&](const FileWindow& window) {
    return std::string_view(window.Data(), window.Size()) ==
           std::string_view(bytes).substr(static_cast<size_t>(window.Offset()), capacity);
  };
  FileWindow window(file, capacity);
  ASSERT_TRUE(window.Load(0));
  ASSERT_TRUE(window.Mapped());
  faultAFewHundredTimes();
  ASSERT_TRUE(window.Load(1 << 20));
  EXPECT_TRUE(window.Mapped());  // one faulty mapping
  EXPECT_TRUE(showsItsBytes(window));
  faultAFewHundredTimes();
  ASSERT_TRUE(window.Load(2 << 20));
  EXPECT_FALSE(window.Mapped());
  EXPECT_TRUE(showsItsBytes(window));
  ASSERT_TRUE(window.Load((3 << 20) + 5));
  EXPECT_FALSE(window.Mapped());
  EXPECT_TRUE(showsItsBytes(window));
  ASSERT_TRUE(suite::testing::CutFromAnotherProcess(path, (4 << 20) + 100));
  EXPECT_FALSE(window.Load(4 << 20));
  EXPECT_TRUE(window.WasCut());
}
#endif

// A scan's windows are made together and each first loaded on its worker: a
// cut before a window's first Load is a cut all the same, not the file's end.
TEST(FileWindowTest, ACutBeforeAWindowsFirstLoadIsSeen) {
  TempDir dir;
  const std::string path = WriteFile(dir / "log", Pattern(3 * 4096));
  ExclusiveFile file;
  ASSERT_TRUE(file.Open(path));
  FileWindow window(file, 4096);
  ASSERT_TRUE(suite::testing::CutFromAnotherProcess(path, 2 * 4096 + 100));
  EXPECT_FALSE(window.Load(2 * 4096));
  EXPECT_TRUE(window.WasCut());
  FileWindow madeAfter(file, 4096);  // made after the cut: the file as it is now
  ASSERT_TRUE(madeAfter.Load(2 * 4096));
  EXPECT_EQ(madeAfter.Size(), 100u);
  EXPECT_TRUE(madeAfter.ReachesEnd());
}

// Outside a guard the signal keeps its meaning: a real fault still ends the program.
TEST(FileWindowDeathTest, ACutOutsideAGuardStillEndsTheProgram) {
  SUITE_SKIP_ON_WINDOWS("a mapped file can't be cut there (FileWindowWindowsTest)");
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  TempDir dir;
  const std::string path = WriteFile(dir / "log", Pattern(1 << 20));
  EXPECT_DEATH(
      {
        ExclusiveFile file;
        file.Open(path);
        FileWindow window(file);
        window.Load(0);
        suite::ScanUnlessCut(window.Data(), 1, [] {});  // the handler is in place
        suite::testing::CutFromAnotherProcess(path, 0);
        std::fprintf(stderr, "%u\n", Sum(window));
      },
      "");
}

#ifdef _WIN32
// Windows refuses to cut a file while a view of it is mapped, here or in
// another program: a log cut in place can't pull pages from under a scan,
// and the cut shows at the next Load once the window is let go.
TEST(FileWindowWindowsTest, AMappedFileCantBeCutUntilItsWindowGoes) {
  TempDir dir;
  const std::string path = WriteFile(dir / "log", Pattern(3 << 20));
  ExclusiveFile file;
  ASSERT_TRUE(file.Open(path));
  FileWindow window(file, 1 << 20);
  ASSERT_TRUE(window.Load(2 << 20));  // a view that starts on the granularity past the first
  ASSERT_EQ(window.Size(), size_t{1} << 20);
  EXPECT_EQ(std::string_view(window.Data(), 8), Pattern(3 << 20).substr(2 << 20, 8));
  HANDLE other = ::CreateFileW(suite::win32::Wide(path).c_str(), GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  LARGE_INTEGER end;
  end.QuadPart = 1000;
  ASSERT_TRUE(::SetFilePointerEx(other, end, nullptr, FILE_BEGIN));
  EXPECT_FALSE(::SetEndOfFile(other));
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_USER_MAPPED_FILE));
  unsigned sum = 0;
  EXPECT_TRUE(suite::ScanUnlessCut(window.Data(), window.Size(), [&] { sum = Sum(window); }));
  window.Release();
  EXPECT_TRUE(::SetEndOfFile(other));
  ::CloseHandle(other);
  EXPECT_FALSE(window.Load(0));
  EXPECT_TRUE(window.WasCut());
}

// Bytes that fault under a guard (pages that can't be read, as a file cut on
// a file system that lets it through) end the scan with false, on any thread,
// and again and again; the same fault outside a guard still ends the program.
TEST(FileWindowWindowsTest, AFaultUnderTheGuardEndsTheScanOnEveryThread) {
  const size_t page = 4096;
  char* pages = static_cast<char*>(::VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  ASSERT_NE(pages, nullptr);
  std::memset(pages, 'x', page);
  DWORD old = 0;
  ASSERT_TRUE(::VirtualProtect(pages + page, page, PAGE_NOACCESS, &old));
  const auto sum = [pages, page] {
    unsigned total = 0;
    for (size_t i = 0; i < 2 * page; ++i) total += static_cast<unsigned char>(static_cast<volatile char*>(pages)[i]);
    return total;
  };
  unsigned seen = 0;
  for (int round = 0; round < 100; ++round) {
    EXPECT_FALSE(suite::ScanUnlessCut(pages, 2 * page, [&] { seen = sum(); }));
  }
  EXPECT_TRUE(suite::ScanUnlessCut(pages, page, [&] { seen = std::accumulate(pages, pages + page, 0u); }));
  std::thread([&] {
    EXPECT_FALSE(suite::ScanUnlessCut(pages, 2 * page, [&] { seen = sum(); }));
  }).join();
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // Under a guard whose bytes end before the fault, it is no cut.
  EXPECT_DEATH(suite::ScanUnlessCut(pages, page, [&] { seen = sum(); }), "");
  EXPECT_DEATH(std::fprintf(stderr, "%u\n", sum()), "");
  ::VirtualFree(pages, 0, MEM_RELEASE);
}
#endif

}  // namespace
