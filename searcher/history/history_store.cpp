#include "searcher/history/history_store.h"

#include <algorithm>
#include <cstdint>

#include "common/codepage.h"
#include "common/directory_listing.h"
#include "common/exclusive_file.h"
#include "common/held_directory.h"
#include "common/path_util.h"
#include "common/tuning.h"
#include "searcher/engine/search_context.h"
#include "searcher/history/decimal_text.h"
#include "searcher/history/history_texts.h"
#include "searcher/history/result_descriptor.h"

namespace lorvane {
namespace {

// Descriptors are read a block at a time through a small block on the stack:
// the quick index of a file of a billion lines has 100000 lines of some 20
// bytes, and fresh memory costs an update more than a few more reads do.
constexpr size_t kDescriptorBlockSize = 16 * 1024;
// No line of a descriptor is longer: a header line holds a path or a keyword
// (an edit field takes 32767 characters), an index line some 20 bytes. A
// longer one is a damaged descriptor, whose reading stops there and costs
// nothing more, however many gigabytes follow without a line end.
constexpr size_t kLongestDescriptorLine = 1024 * 1024;

// `count` bytes from `first` on, as far as the text reaches.
std::string_view Mid(std::string_view text, size_t first, size_t count) {
  if (first >= text.size()) return {};
  return text.substr(first, count);
}

std::string Lowered(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lowered;
}

bool IsClipboardName(std::string_view name) { return Lowered(name) == Lowered(kClipboardDirectoryName); }

// Up to `limit` lines of a descriptor (see ForEachDescriptorLine).
bool ReadDescriptorLines(const std::string& path, size_t limit, std::vector<std::string>* lines) {
  return ForEachDescriptorLine(path, [&](std::string&& line) {
    lines->push_back(std::move(line));
    return lines->size() < limit;
  });
}

std::string TargetNameOf(const std::string& targetPath) {
  const size_t last = targetPath.rfind(suite::kPathSeparator);
  if (last == std::string::npos) return std::string();
  return suite::PathText(targetPath.substr(last + 1));
}

}  // namespace

bool ForEachDescriptorLine(const std::string& path, const std::function<bool(std::string&&)>& onLine) {
  // Any number may read a descriptor at once: it is replaced whole, never rewritten.
  suite::ExclusiveFile file;
  if (!file.OpenShared(path)) return false;
  std::string line;
  char block[kDescriptorBlockSize];
  for (;;) {
    const std::ptrdiff_t got = file.Read(block, sizeof block);
    if (got < 0) return false;
    if (got == 0) break;
    for (std::ptrdiff_t i = 0; i < got; ++i) {
      const char byte = block[static_cast<size_t>(i)];
      if (byte == '\x1A') {
        if (!line.empty()) onLine(std::move(line));
        return true;
      }
      if (byte == '\n') {
        if (!onLine(std::move(line))) return true;
        line.clear();
      } else if (byte != '\r') {
        if (line.size() >= kLongestDescriptorLine) return false;
        line += byte;
      }
    }
  }
  if (!line.empty()) onLine(std::move(line));
  return true;
}

std::optional<std::string> ParseHistoryTime(const std::string& directory) {
  const size_t last = directory.rfind(suite::kPathSeparator);
  if (last == std::string::npos) return std::nullopt;
  const std::string_view name = std::string_view(directory).substr(last + 1);
  if (IsClipboardName(name)) return std::nullopt;
  const std::string_view path(directory);
  const std::string_view clock = path.substr(path.size() - std::min<size_t>(6, path.size()));
  std::string text;
  text.append(Mid(name, 0, 4)).append("-").append(Mid(name, 4, 2)).append("-").append(Mid(name, 6, 2));
  text.append(" ").append(Mid(clock, 0, 2)).append(":").append(Mid(clock, 2, 2)).append(":").append(Mid(clock, 4, 2));
  return text;
}

std::string HistoryDirectoryOf(const std::string& workDirectory, std::string_view timeText) {
  std::string directory = workDirectory + suite::kPathSeparator;
  directory.append(Mid(timeText, 0, 4)).append(Mid(timeText, 5, 2)).append(Mid(timeText, 8, 2)).append("_");
  directory.append(Mid(timeText, 11, 2)).append(Mid(timeText, 14, 2)).append(Mid(timeText, 17, 2));
  return directory;
}

bool IsEntryOfWorkDirectory(const std::string& workDirectory, const std::string& path) {
  const std::string prefix = workDirectory + suite::kPathSeparator;
  if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0) return false;
  const std::string_view name = std::string_view(path).substr(prefix.size());
  return name.find(suite::kPathSeparator) == std::string_view::npos && name != "." && name != ".." &&
         !IsClipboardName(name);
}

HistoryRowFields ReadHistoryRow(const std::string& directory) {
  HistoryRowFields fields;
  const std::string path = DescriptorPath(directory);
  std::vector<std::string> lines;
  if (suite::DirectoryIsHeld(directory)) {  // a running search: its descriptor comes at its end
    fields[6] = SearchRunningRowText();
    return fields;
  }
  if (!suite::PathExists(path)) return fields;
  if (!ReadDescriptorLines(path, 7, &lines)) {
    fields[6] = DamagedDescriptorText();
    return fields;
  }
  lines.resize(7);
  fields[0] = lines[6];
  fields[1] = lines[5];
  // (the keyword in the history's code page, shown in that of messages)
  fields[2] = suite::Recode(ReadHistoryCodePage(directory), suite::ActiveCodePage(), lines[2]);
  fields[3] = lines[3] == "Y" ? "Yes" : "";
  fields[4] = lines[4];
  fields[5] = TargetNameOf(lines[1]);
  fields[6] = suite::PathExists(lines[1]) ? "" : TargetGoneText();
  return fields;
}

std::string HistoryRowRecord(const std::string& timeText, const HistoryRowFields& fields) {
  std::string record = timeText;
  for (const std::string& field : fields) {
    record += kHistoryFieldSeparator;
    record += field;
  }
  return record;
}

std::vector<std::string> ListHistoryDirectories(const std::string& workDirectory) {
  std::vector<std::string> directories;
  for (const suite::DirectoryEntry& entry : suite::ListDirectory(workDirectory)) {
    const std::string_view name(entry.name);
    if (entry.kind != suite::EntryKind::kDirectory) continue;  // a link is never followed
    // A row can't carry these bytes: the separator would split its cells, a
    // line end its line in the console's listing.
    if (name.find_first_of("\x08\r\n") != std::string_view::npos) continue;
    std::string path = workDirectory + suite::kPathSeparator + std::string(name);
    if (ParseHistoryTime(path)) directories.push_back(std::move(path));
  }
  return directories;
}

bool ReadHistorySummary(const std::string& descriptorPath, std::string* summary) {
  static const char* const kLabels[] = {"[目标文件目录] ", "[搜索的关键字] ", "[大小写匹配吗] ",
                                        "[目标文件尺寸] ", "[目标文件行数] ", "[搜索结果行数] "};
  // Lines are taken as they come, never held all at once; index lines end
  // soon after the count the stated line count allows (one per started block
  // of 10000 lines; twice that and a few, for lines written twice), so a
  // crafted tail of millions costs nothing.
  std::string text;
  size_t number = 0;
  int64_t indexLinesLeft = 0;
  std::string directory = suite::DirectoryOfPath(descriptorPath);
  if (directory.size() > 1 && directory.back() == suite::kPathSeparator) directory.pop_back();
  const suite::CodePage codePage = ReadHistoryCodePage(directory);
  const bool read = ForEachDescriptorLine(descriptorPath, [&](std::string&& line) {
    if (number == 1) {
      text += suite::Cp(kLabels[0]) + suite::PathText(line);
    } else if (number == 2) {
      text += suite::Cp(kLabels[1]) + suite::Recode(codePage, suite::ActiveCodePage(), line);
    } else if (number >= 3 && number <= 6) {
      text += suite::Cp(kLabels[number - 1]) + line;
      if (number == 5) {
        const int64_t lines = ReadDecimal(line);
        indexLinesLeft = 16 + 2 * (suite::LastBlock(suite::LineCount{lines}).value + 1);
      }
    } else if (number > 6) {
      if (indexLinesLeft-- <= 0) return false;
      text += line;
    }
    if (number > 0) text += "\r\n";
    ++number;
    return true;
  });
  if (!read) return false;
  *summary = std::move(text);
  return true;
}

}  // namespace lorvane
