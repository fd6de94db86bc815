// bench-update-floor: the least an update of a search can do, as a yardstick
// for lorvane-cli update in the benchmark.
//
//   bench-update-floor HISTORY LOG KEYWORD
//
// It does what any crash-safe update of HISTORY (a copy: its files are
// rewritten in a shape of this program's own) must do after bytes were
// appended to LOG, and nothing else: read the descriptor and the log's
// identity, hash the 64 KiB at the head and before where the search stopped,
// map what was appended, count its lines (noting every 10000th) and find
// KEYWORD's lines with the C library's memchr and memmem, hash the new last
// 64 KiB, then stage the identity, the descriptor and the lines found (when
// there are any), each written aside and synced, and put them in place
// through the directory's syncs. No checks, no messages, no code pages: its
// time is what the work itself costs on the machine, a floor for the update.
// Prints the lines and the results it found.

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr size_t kHashed = 64 << 10;
constexpr int64_t kStride = 10000;

std::string ReadWhole(const std::string& path) {
  std::string text;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return text;
  char block[1 << 15];
  for (ssize_t got; (got = read(fd, block, sizeof block)) > 0;) text.append(block, static_cast<size_t>(got));
  close(fd);
  return text;
}

// A multiply-xor hash of the 64 KiB at `at`, eight bytes at a time.
uint64_t HashAt(int fd, int64_t at) {
  static char block[kHashed];
  const ssize_t got = pread(fd, block, sizeof block, at < 0 ? 0 : at);
  uint64_t hash = 14695981039346656037ULL;
  for (ssize_t i = 0; i + 8 <= got; i += 8) {
    uint64_t word;
    std::memcpy(&word, block + i, 8);
    hash = (hash ^ word) * 1099511628211ULL;
  }
  return hash;
}

bool Stage(const std::string& directory, const char* name, const std::string& text) {
  const std::string part = directory + "/" + name + ".next.part";
  const int fd = open(part.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) && fdatasync(fd) == 0;
  return close(fd) == 0 && written && rename(part.c_str(), (directory + "/" + name + ".next").c_str()) == 0;
}

bool Place(const std::string& directory, const char* name) {
  const std::string path = directory + "/" + name;
  return rename((path + ".next").c_str(), path.c_str()) == 0;
}

bool SyncDirectory(const std::string& directory) {
  const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = fsync(fd) == 0;
  return close(fd) == 0 && synced;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: bench-update-floor HISTORY LOG KEYWORD\n", stderr);
    return 2;
  }
  const std::string directory = argv[1];
  const char* keyword = argv[3];
  std::string descriptor = ReadWhole(directory + "/result.lvn");
  const std::string identity = ReadWhole(directory + "/result.identity");
  const char* stopText = std::strstr(identity.c_str(), "stop=");
  const char* linesText = std::strstr(identity.c_str(), "lines=");
  if (descriptor.empty() || !stopText || !linesText) {
    std::fputs("bench-update-floor: no history there\n", stderr);
    return 1;
  }
  const int64_t stop = std::strtoll(stopText + 5, nullptr, 10);
  int64_t lines = std::strtoll(linesText + 6, nullptr, 10);
  const int fd = open(argv[2], O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (fd < 0 || fstat(fd, &st) != 0 || st.st_size <= stop) {
    std::fputs("bench-update-floor: the log didn't grow\n", stderr);
    return 1;
  }
  uint64_t check = HashAt(fd, 0) ^ HashAt(fd, stop - static_cast<int64_t>(kHashed));

  const int64_t base = stop & ~int64_t{4095};
  const auto mapped = static_cast<size_t>(st.st_size - base);
  void* map = mmap(nullptr, mapped, PROT_READ, MAP_SHARED, fd, base);
  if (map == MAP_FAILED) return 1;
  const char* begin = static_cast<const char*>(map) + (stop - base);
  const char* end = static_cast<const char*>(map) + mapped;
  std::string found;
  int64_t results = 0;
  char entry[64];
  for (const char* line = begin; line < end;) {
    const auto* lf = static_cast<const char*>(std::memchr(line, '\n', static_cast<size_t>(end - line)));
    const char* next = lf ? lf + 1 : end;
    if (++lines % kStride == 0) {
      std::snprintf(entry, sizeof entry, "_mp[%" PRId64 "]=%td;\r\n", lines / kStride, next - begin + stop);
      descriptor += entry;
    }
    line = next;
  }
  for (const char* at = begin; at < end;) {
    const auto* hit = static_cast<const char*>(memmem(at, static_cast<size_t>(end - at), keyword, std::strlen(keyword)));
    if (!hit) break;
    const auto* lf = static_cast<const char*>(std::memchr(hit, '\n', static_cast<size_t>(end - hit)));
    const char* next = lf ? lf + 1 : end;
    found.append(hit, next);  // (from the keyword on: the floor needn't find the line's start)
    ++results;
    at = next;
  }
  munmap(map, mapped);
  check ^= HashAt(fd, st.st_size - static_cast<int64_t>(kHashed));
  close(fd);

  char grown[160];
  std::snprintf(grown, sizeof grown, "size=%" PRId64 "\r\nstop=%" PRId64 "\r\nlines=%" PRId64 "\r\nhash=%016" PRIx64 "\r\n",
                static_cast<int64_t>(st.st_size), static_cast<int64_t>(st.st_size), lines, check);
  const bool staged = (results == 0 || Stage(directory, "results", found)) && Stage(directory, "result.identity", grown) &&
                      Stage(directory, "result.lvn", descriptor);
  const bool placed = staged && SyncDirectory(directory) && (results == 0 || Place(directory, "results")) &&
                      Place(directory, "result.identity") && SyncDirectory(directory) && Place(directory, "result.lvn");
  if (!placed) {
    std::fputs("bench-update-floor: couldn't write the history\n", stderr);
    return 1;
  }
  std::printf("%" PRId64 " lines, %" PRId64 " results\n", lines, results);
  return 0;
}
