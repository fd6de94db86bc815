// What a history knows of the log it searched, in a file of its own beside
// the descriptor (whose format stays as it is): which file it was, how far the
// search read it, and hashes of its head and of the bytes before where the
// search stopped. Held against the log as it is later, they tell whether it is
// the same, grew, was cut or was replaced by another file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/line_quantities.h"

namespace suite {
class ExclusiveFile;
}

namespace lorvane {

inline constexpr const char* kIdentityFileName = "result.identity";
// The most bytes each hash covers.
inline constexpr int64_t kIdentityHashSpan = 64 << 10;

struct LogIdentity {
  uint64_t device = 0;
  uint64_t inode = 0;
  int64_t size = 0;               // of the log when the search ended
  suite::ByteOffset stop{0};      // where the text the search read ends
  suite::LineCount lines{0};      // the lines it read
  bool lastLineEnded = true;      // the last of them had its LF (or there was none)
  uint64_t headHash = 0;          // of the bytes [0, min(stop, span))
  uint64_t tailHash = 0;          // of the bytes [max(0, stop - span), stop)
  friend bool operator==(const LogIdentity&, const LogIdentity&) = default;
};

// The identity of an open log that a search read up to `stop`, after `lines`
// lines; false when its bytes up to `stop` can't be read (it was cut since).
bool MeasureLogIdentity(suite::ExclusiveFile& log, suite::ByteOffset stop, suite::LineCount lines,
                        LogIdentity* identity);

// The file's text: one "name=value" line each, CR LF ended.
std::string ComposeLogIdentity(const LogIdentity& identity);
// Nothing when a line is missing or malformed: a damaged file tells nothing.
std::optional<LogIdentity> ParseLogIdentity(std::string_view text);

// Written aside and renamed into place: whole or absent. `staged`: at its
// staged name instead (staged_files.h), for an update that puts it in place.
bool WriteLogIdentity(const std::string& historyDirectory, const LogIdentity& identity, bool staged = false);
// Nothing for a history from before (no file) or a damaged file.
std::optional<LogIdentity> ReadLogIdentity(const std::string& historyDirectory);

enum class LogChange {
  kSame,        // the same file, as the search left it
  kGrown,       // the same file with bytes after where the search stopped (not after a 0x1A)
  kCut,         // the same file, shorter than where the search stopped, or changed before it
  kReplaced,    // another file at the name
  kUnreadable,  // missing, or it can't be read
};
// How the log at `path` stands against what a history knows of it; `now`
// gets its identity as it is (when it can be read).
LogChange CompareLog(const LogIdentity& kept, const std::string& path, LogIdentity* now = nullptr);
// The same for a log already open (kUnreadable is then never the answer).
LogChange CompareLog(const LogIdentity& kept, suite::ExclusiveFile& log, LogIdentity* now = nullptr);

}  // namespace lorvane
