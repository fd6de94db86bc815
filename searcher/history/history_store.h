// The history store: one directory per search under the work directory, named
// by the time stamp of the search's start, holding its result files and its
// descriptor.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lorvane {

// The history browser's row: the time text, then the seven HistoryRowFields,
// joined by this byte, so that a "|" in a keyword or a file name stays whole.
inline constexpr char kHistoryFieldSeparator = '\x08';
inline constexpr int kHistoryColumnCount = 8;

// The time text of a history directory: "%s-%s-%s %s:%s:%s" from the name's
// bytes 1-4, 5-6 and 7-8 and the path's last six bytes in pairs, so
// .../20041203_091502 gives "2004-12-03 09:15:02" and the texts sort in time
// order. Nothing for a path without a separator and for the clipboard
// directory (in any case). The bytes are not checked: any other name gives a
// text of whatever it holds.
std::optional<std::string> ParseHistoryTime(const std::string& directory);

// The directory back from a time text: the work directory, the separator and
// the text's bytes 0-3, 5-6, 8-9, "_", 11-12, 14-15, 17-18. Missing bytes are
// left out.
std::string HistoryDirectoryOf(const std::string& workDirectory, std::string_view timeText);

// True when `path` names an entry of the work directory itself (one name, not
// "." or "..", nor the clipboard directory). The time text of an odd name can
// lead HistoryDirectoryOf anywhere below the work directory; only its own
// entries are history directories.
bool IsEntryOfWorkDirectory(const std::string& workDirectory, const std::string& path);

// The row fields after the time: result lines (descriptor line 7), total lines
// (line 6), keyword (line 3), "Yes" when line 4 is exactly "Y", size text
// (line 5), the target's file name (line 2 after its last separator) and
// "已不存在" when the target no longer exists. All empty when the directory
// has no descriptor or it can't be opened. Code-page texts.
using HistoryRowFields = std::array<std::string, 7>;
HistoryRowFields ReadHistoryRow(const std::string& directory);

// The row's record: the time text and the fields, joined by kHistoryFieldSeparator.
std::string HistoryRowRecord(const std::string& timeText, const HistoryRowFields& fields);

// The work directory's subdirectories that ParseHistoryTime accepts, as full
// paths, in the file system's order. Symbolic links are not subdirectories,
// and names holding the field separator, CR or LF are left out.
std::vector<std::string> ListHistoryDirectories(const std::string& workDirectory);

// Hands each line of a descriptor to `onLine`, without any CR or LF, until it
// gives false; a 0x1A byte ends the text. A plain open for reading: a
// descriptor is never rewritten in place, so readers need no lock. False when
// it can't be opened (also when it isn't a regular file) or read, or holds a
// line longer than any descriptor line can be (1 MiB: a damaged one, whose
// reading stops there whatever follows).
bool ForEachDescriptorLine(const std::string& path, const std::function<bool(std::string&&)>& onLine);

// The summary of a descriptor: its lines without line ends, the first (the
// history directory) left out, lines 2 to 7 after their labels, the quick
// index as far as the stated line count allows; every line ends in CR LF.
// False when the descriptor can't be opened or is damaged.
bool ReadHistorySummary(const std::string& descriptorPath, std::string* summary);

}  // namespace lorvane
