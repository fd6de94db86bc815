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

// The hashes of the `length` bytes from `from1` and from `from2` in the log;
// false when fewer are there. Side by side: each byte's step waits on the
// one before, so two hashes take the time of one. Read through small blocks
// on the stack, not into fresh memory: an update of a history is so short
// that its page faults are a good part of its cost.
bool HashRanges(suite::ExclusiveFile& log, int64_t from1, int64_t from2, int64_t length, uint64_t* hash1,
                uint64_t* hash2) {
  constexpr uint64_t kPrime = 1099511628211ull;
  char block1[8 << 10], block2[8 << 10];
  uint64_t running1 = kHashStart, running2 = kHashStart;
  for (int64_t done = 0; done < length;) {
    const size_t want = static_cast<size_t>(std::min<int64_t>(length - done, sizeof block1));
    if (log.ReadAt(block1, want, from1 + done) != want || log.ReadAt(block2, want, from2 + done) != want) return false;
    for (size_t i = 0; i < want; ++i) {
      running1 = (running1 ^ static_cast<unsigned char>(block1[i])) * kPrime;
      running2 = (running2 ^ static_cast<unsigned char>(block2[i])) * kPrime;
    }
    done += static_cast<int64_t>(want);
  }
  *hash1 = running1;
  *hash2 = running2;
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
  // The first bytes and those before the stop: as many of each.
  const int64_t span = std::min(stop.value, kIdentityHashSpan);
  if (!HashRanges(log, 0, stop.value - span, span, &measured.headHash, &measured.tailHash)) return false;
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
  suite::OutputFile file(suite::kSmallFileBlockSize);
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
