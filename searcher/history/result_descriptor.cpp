#include "searcher/history/result_descriptor.h"

#include <array>
#include <cinttypes>
#include <cstdio>
#include <stdio.h>

#include "common/codepage.h"
#include "common/codepage_choice.h"
#include "common/exclusive_file.h"
#include "common/file_moves.h"
#include "common/output_file.h"
#include "common/path_util.h"
#include "common/staged_files.h"
#include "searcher/engine/lorvane_window.h"
#include "searcher/engine/quick_index.h"
#include "searcher/history/decimal_text.h"
#include "searcher/history/history_store.h"

namespace lorvane {

std::string DescriptorPath(const std::string& historyDirectory) {
  return historyDirectory + suite::kPathSeparator + kDescriptorName;
}

bool WriteHistoryCodePage(const std::string& historyDirectory, suite::CodePage codePage) {
  suite::OutputFile file(suite::kSmallFileBlockSize);
  return file.Create(historyDirectory + suite::kPathSeparator + kCodePageFileName) &&
         file.AppendLine(suite::CodePageName(codePage)) && file.Close();
}

suite::CodePage ReadHistoryCodePage(const std::string& historyDirectory) {
  suite::ExclusiveFile file;
  std::array<char, 16> text{};
  size_t got = 0;
  if (file.OpenShared(historyDirectory + suite::kPathSeparator + kCodePageFileName)) {
    got = file.ReadAt(text.data(), text.size(), 0);
  }
  std::string_view line(text.data(), got);
  line = line.substr(0, line.find_first_of("\r\n"));
  if (line == suite::CodePageName(suite::CodePage::Utf8)) return suite::CodePage::Utf8;
  if (line == suite::CodePageName(suite::CodePage::Gbk)) return suite::CodePage::Gbk;
  // A history from before: searched in GBK, unless the setting forced one
  // (which a user who forced it then still sets).
  const suite::CodePageSetting& setting = suite::CodePageSettingOfProcess();
  return setting.forced ? *setting.forced : suite::CodePage::Gbk;
}

std::string ResultFileName(int64_t fileNumber) {
  char name[32];
  std::snprintf(name, sizeof name, "%06" PRId64 ".txt", fileNumber);
  return name;
}

int64_t ResultFileCount(int64_t records) {
  return records <= 0 ? 0 : (records - 1) / suite::kResultFileRecords + 1;
}

std::string ResultFilePath(const std::string& historyDirectory, int64_t number) {
  return historyDirectory + suite::kPathSeparator + ResultFileName((number - 1) / suite::kResultFileRecords);
}

std::string ComposeDescriptor(const CLVNResultHeader& header, const QuickIndex& index) {
  std::string text;
  for (const std::string* field : {&header.historyDirectory, &header.targetPath, &header.keyword, &header.matchCase,
                                   &header.targetSize, &header.totalLines, &header.resultLines}) {
    text += *field;
    text += "\r\n";
  }
  AppendQuickIndexText(index, text);
  return text;
}

bool toResultWrite(LorvaneWindow& window, const CLVNResultHeader& header, const QuickIndex& index, bool staged) {
  const std::string placed = DescriptorPath(header.historyDirectory);
  const std::string path = staged ? suite::StagedPath(placed) : placed;
  // Written aside, on the disk, and renamed into place, so a descriptor is
  // either whole or absent, even when the program ends in the middle or the
  // power fails. The result files aren't waited for (that cost the common
  // keyword's search a quarter more): a restore checks them instead.
  const std::string partial = path + ".part";
  suite::OutputFile file(suite::kSmallFileBlockSize);
  if (!file.Create(partial)) {
    window.PostStatus(suite::Cp("toResultWrite: 不能创建搜索结果文件“") + suite::PathText(path) + suite::Cp("”!"));
    return false;
  }
  file.Append(ComposeDescriptor(header, index));
  if (!file.CloseDurably() || !suite::RenameOver(partial, path)) {
    suite::RemoveFile(partial);
    window.PostStatus(suite::Cp("toResultWrite: 写入搜索结果文件“") + suite::PathText(path) +
                      suite::Cp("”失败! 磁盘可能已满。"));
    return false;
  }
  return true;
}

bool ReadDescriptor(const std::string& path, DescriptorContents* descriptor) {
  size_t number = 0;
  QuickIndex::Table entries;
  const bool read = ForEachDescriptorLine(path, [&](std::string&& text) {
    if (number < descriptor->fields.size()) {
      descriptor->fields[number] = std::move(text);
    } else {
      int64_t key = 0, offset = 0;
      if (ParseQuickIndexLine(text, &key, &offset)) entries.emplace_back(key, offset);
    }
    ++number;
    return true;
  });
  descriptor->index.Assign(std::move(entries));
  return read;
}

CLVNResultHeader HeaderOf(const DescriptorContents& descriptor) {
  const auto& f = descriptor.fields;
  return CLVNResultHeader{f[0], f[1], f[2], f[3], f[4], f[5], f[6]};
}

bool ParseQuickIndexLine(std::string_view line, int64_t* key, int64_t* offset) {
  const size_t open = line.find('[');
  if (open == std::string_view::npos) return false;
  const size_t close = line.find(']', open + 1);
  if (close == std::string_view::npos) return false;
  const size_t equals = line.find('=', close + 1);
  if (equals == std::string_view::npos) return false;
  const size_t semicolon = line.find(';', equals + 1);
  if (semicolon == std::string_view::npos) return false;
  *key = ReadDecimal(line.substr(open + 1, close - open - 1));
  *offset = ReadDecimal(line.substr(equals + 1, semicolon - equals - 1));
  return true;
}

}  // namespace lorvane
