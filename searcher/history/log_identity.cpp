#include "searcher/history/log_identity.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <stdio.h>

#include "common/exclusive_file.h"
#include "common/file_moves.h"
#include "common/output_file.h"
#include "common/path_util.h"
#include "common/staged_files.h"
#include "searcher/history/decimal_text.h"

namespace lorvane {
namespace {

// FNV-1a, 64 bits: enough to tell a log's bytes from another's, and cheap.
constexpr uint64_t kHashStart = 14695981039346656037ull;

uint64_t HashOn(uint64_t hash, const char* bytes, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    hash ^= static_cast<unsigned char>(bytes[i]);
    hash *= 1099511628211ull;
  }
  return hash;
}

// The hash of the bytes [from, to) of the log; false when fewer are there.
// A small block on the stack, not the range in fresh memory: an update of a
// history is so short that its page faults are a good part of its cost.
bool HashRange(suite::ExclusiveFile& log, int64_t from, int64_t to, uint64_t* hash) {
  char block[16 << 10];
  uint64_t running = kHashStart;
  for (int64_t at = from; at < to;) {
    const size_t want = static_cast<size_t>(std::min<int64_t>(to - at, sizeof block));
    if (log.ReadAt(block, want, at) != want) return false;
    running = HashOn(running, block, want);
    at += static_cast<int64_t>(want);
  }
  *hash = running;
  return true;
}

std::string IdentityPath(const std::string& historyDirectory) {
  return historyDirectory + suite::kPathSeparator + kIdentityFileName;
}

// "name=" followed by a decimal or hexadecimal number, alone on its line.
bool ReadField(std::string_view& text, std::string_view name, bool hex, uint64_t* value) {
  const size_t end = text.find('\n');
  std::string_view line = text.substr(0, end);
  text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.size() <= name.size() + 1 || line.substr(0, name.size()) != name || line[name.size()] != '=') return false;
  const std::string_view digits = line.substr(name.size() + 1);
  if (digits.size() > (hex ? 16u : 19u)) return false;
  uint64_t number = 0;
  for (const char c : digits) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (digit < 0) return false;
    number = number * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
  }
  *value = number;
  return true;
}

}  // namespace

bool MeasureLogIdentity(suite::ExclusiveFile& log, suite::ByteOffset stop, suite::LineCount lines,
                        LogIdentity* identity) {
  LogIdentity measured;
  const suite::ExclusiveFile::Identity file = log.FileIdentity();
  measured.device = file.device;
  measured.inode = file.inode;
  measured.size = log.Size();
  measured.stop = stop;
  measured.lines = lines;
  if (stop.value < 0 || measured.size < stop.value) return false;
  char last = '\n';
  if (stop.value > 0 && log.ReadAt(&last, 1, stop.value - 1) != 1) return false;
  measured.lastLineEnded = last == '\n';
  if (!HashRange(log, 0, std::min(stop.value, kIdentityHashSpan), &measured.headHash) ||
      !HashRange(log, std::max<int64_t>(0, stop.value - kIdentityHashSpan), stop.value, &measured.tailHash)) {
    return false;
  }
  *identity = measured;
  return true;
}

std::string ComposeLogIdentity(const LogIdentity& identity) {
  char text[512];
  std::snprintf(text, sizeof text,
                "device=%" PRIu64 "\r\ninode=%" PRIu64 "\r\nsize=%" PRId64 "\r\nstop=%" PRId64 "\r\nlines=%" PRId64
                "\r\nlast-line-ended=%d\r\nhead=%016" PRIx64 "\r\ntail=%016" PRIx64 "\r\n",
                identity.device, identity.inode, identity.size, identity.stop.value, identity.lines.value,
                identity.lastLineEnded ? 1 : 0, identity.headHash, identity.tailHash);
  return text;
}

std::optional<LogIdentity> ParseLogIdentity(std::string_view text) {
  LogIdentity identity;
  uint64_t size = 0, stop = 0, lines = 0, ended = 0;
  if (!ReadField(text, "device", false, &identity.device) || !ReadField(text, "inode", false, &identity.inode) ||
      !ReadField(text, "size", false, &size) || !ReadField(text, "stop", false, &stop) ||
      !ReadField(text, "lines", false, &lines) || !ReadField(text, "last-line-ended", false, &ended) ||
      !ReadField(text, "head", true, &identity.headHash) || !ReadField(text, "tail", true, &identity.tailHash)) {
    return std::nullopt;
  }
  constexpr uint64_t kMost = static_cast<uint64_t>(INT64_MAX);
  if (size > kMost || stop > size || lines > stop || ended > 1) return std::nullopt;
  identity.size = static_cast<int64_t>(size);
  identity.stop = suite::ByteOffset{static_cast<int64_t>(stop)};
  identity.lines = suite::LineCount{static_cast<int64_t>(lines)};
  identity.lastLineEnded = ended == 1;
  return identity;
}

bool WriteLogIdentity(const std::string& historyDirectory, const LogIdentity& identity, bool staged) {
  const std::string path = staged ? suite::StagedPath(IdentityPath(historyDirectory)) : IdentityPath(historyDirectory);
  const std::string partial = path + ".part";
  suite::OutputFile file;
  if (!file.Create(partial)) return false;
  file.Append(ComposeLogIdentity(identity));
  if (!file.CloseDurably() || !suite::RenameOver(partial, path)) {
    suite::RemoveFile(partial);
    return false;
  }
  return true;
}

std::optional<LogIdentity> ReadLogIdentity(const std::string& historyDirectory) {
  suite::ExclusiveFile file;
  if (!file.OpenShared(IdentityPath(historyDirectory))) return std::nullopt;
  char text[1024];
  const size_t got = file.ReadAt(text, sizeof text, 0);
  if (got == sizeof text) return std::nullopt;  // longer than any identity: not one
  return ParseLogIdentity(std::string_view(text, got));
}

LogChange CompareLog(const LogIdentity& kept, const std::string& path, LogIdentity* now) {
  suite::ExclusiveFile log;
  if (!log.OpenShared(path)) return LogChange::kUnreadable;
  return CompareLog(kept, log, now);
}

LogChange CompareLog(const LogIdentity& kept, suite::ExclusiveFile& log, LogIdentity* now) {
  LogIdentity measured;
  if (!MeasureLogIdentity(log, kept.stop, kept.lines, &measured)) {
    // Shorter than where the search stopped: cut if it is the same file.
    const suite::ExclusiveFile::Identity file = log.FileIdentity();
    if (now) {
      *now = LogIdentity{};
      now->device = file.device;
      now->inode = file.inode;
      now->size = log.Size();
    }
    return file.device == kept.device && file.inode == kept.inode ? LogChange::kCut : LogChange::kReplaced;
  }
  if (now) *now = measured;
  // Its head tells the file: a log rotated away leaves a new one at the name;
  // the same file with another head was cut and written again.
  if (measured.headHash != kept.headHash) {
    return measured.device == kept.device && measured.inode == kept.inode ? LogChange::kCut : LogChange::kReplaced;
  }
  // The bytes before the stop changed: it was cut and written again.
  if (measured.tailHash != kept.tailHash || measured.lastLineEnded != kept.lastLineEnded) return LogChange::kCut;
  // The same bytes up to the stop, another inode or not (a copy shows the
  // same lines). Bytes after it grew the log (also those appended while the
  // search read it), unless its text ends there at a 0x1A: what follows that
  // is no text any search reads.
  if (measured.size == kept.stop.value) return LogChange::kSame;
  char next = 0;
  if (log.ReadAt(&next, 1, kept.stop.value) == 1 && next == '\x1A') return LogChange::kSame;
  return LogChange::kGrown;
}

}  // namespace lorvane
