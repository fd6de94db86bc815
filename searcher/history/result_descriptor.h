// The history descriptor result.lvn: what was searched, where, with which
// outcome, and the quick index of the target.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/codepage.h"
#include "searcher/engine/quick_index.h"

namespace lorvane {

class LorvaneWindow;

// The seven header texts, in their order in the file.
struct CLVNResultHeader {
  std::string historyDirectory;
  std::string targetPath;
  std::string keyword;
  std::string matchCase;   // "Y" or "N"
  std::string targetSize;  // size text
  std::string totalLines;  // decimal
  std::string resultLines; // decimal
};

inline constexpr const char* kDescriptorName = "result.lvn";

std::string DescriptorPath(const std::string& historyDirectory);

// A history's code page, that of its target, keyword and result lines: one
// line ("GBK" or "UTF-8") in its own file beside the descriptor, whose format
// stays as it is. A history without it (from before) was searched in GBK,
// unless SUITE_CODEPAGE forced one.
inline constexpr const char* kCodePageFileName = "result.codepage";
bool WriteHistoryCodePage(const std::string& historyDirectory, suite::CodePage codePage);
suite::CodePage ReadHistoryCodePage(const std::string& historyDirectory);

// "%06d.txt": the name of a search's result file of the given number (from 0);
// each holds kResultFileRecords records, numbered on from file to file.
std::string ResultFileName(int64_t fileNumber);
// How many result files `records` records fill: one per started block.
int64_t ResultFileCount(int64_t records);
// The path of the result file that holds record `number` (from 1).
std::string ResultFilePath(const std::string& historyDirectory, int64_t number);

// The descriptor's bytes: the seven header lines, then "_mp[%ld]=%ld;" per
// entry, every line ending in CR LF.
std::string ComposeDescriptor(const CLVNResultHeader& header, const QuickIndex& index);

// A descriptor as read: the seven header texts, and the index entries of
// the lines after them that parse.
struct DescriptorContents {
  std::array<std::string, 7> fields;
  QuickIndex index;
};
// Descriptors are never rewritten in place (they are replaced whole), so any
// number of readers may read one at once, without the lock a target takes. A
// damaged one (a line longer than any descriptor line) fails at once,
// whatever follows.
bool ReadDescriptor(const std::string& path, DescriptorContents* descriptor);
CLVNResultHeader HeaderOf(const DescriptorContents& descriptor);

// Writes the descriptor into the header's history directory, replacing any.
// False (after a status message) when it can't be created or written whole;
// a descriptor is never left half-written. `staged`: written at its staged
// name instead (staged_files.h), for an update that puts it in place.
bool toResultWrite(LorvaneWindow& window, const CLVNResultHeader& header, const QuickIndex& index,
                   bool staged = false);

// "[" then "]" then "=" then ";": key between the brackets, offset between
// "=" and ";", both read as decimal numbers. False when one of the four is missing.
bool ParseQuickIndexLine(std::string_view line, int64_t* key, int64_t* offset);

}  // namespace lorvane
