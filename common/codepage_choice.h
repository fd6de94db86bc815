// Which code page a log is read in: found from its bytes, or forced for every
// log by SUITE_CODEPAGE. A Linux desktop holds GBK and UTF-8 logs side by side.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/codepage.h"

namespace suite {

class ExclusiveFile;

// What SUITE_CODEPAGE says: nothing (unset or empty: each log's own), one code
// page for every log, or a value it doesn't take (kept, for the message).
struct CodePageSetting {
  std::optional<CodePage> forced;
  std::optional<std::string> unknown;
};

// "gbk" (or "cp936", "936") and "utf-8" (or "utf8", "65001"), in any case.
CodePageSetting ParseCodePageSetting(const char* value);
// SUITE_CODEPAGE of this process, read once.
const CodePageSetting& CodePageSettingOfProcess();
// The message for a value SUITE_CODEPAGE doesn't take, naming the two it
// does: in the code page of messages, and in English for the console programs.
std::string UnknownCodePageText(const std::string& value);
std::string UnknownCodePageConsoleText(const std::string& value);

// How the code page of a log was chosen.
struct CodePageChoice {
  CodePage codePage = CodePage::Gbk;
  bool forced = false;
};

// Bytes of one stretch of a file, for DetectCodePage.
struct SampleStretch {
  std::string_view bytes;
  bool startsFile = false;  // else a character may be cut at its start
  bool endsFile = false;    // else a character may be cut at its end
};

// The verdict on samples of a file: UTF-8 when every stretch is valid UTF-8
// (characters cut at a stretch's edges aside) and one holds a multi-byte
// character; GBK otherwise, plain ASCII included. GBK text of a few characters
// can happen to be valid UTF-8; a few hundred can't in practice.
CodePage DetectCodePage(const SampleStretch* stretches, size_t count);
inline CodePage DetectCodePage(std::string_view wholeText) {
  const SampleStretch stretch{wholeText, true, true};
  return DetectCodePage(&stretch, 1);
}

// The code page of an open file: the setting's when it forces one, else found
// from up to 16 stretches of 64 KiB spread over the file (its head and tail
// among them), so a log whose first megabytes are ASCII is judged by its
// Chinese lines further on. Reads at most 1 MiB; the read position is left
// where it was not promised.
CodePageChoice ChooseCodePage(ExclusiveFile& file, const CodePageSetting& setting);
// The same for text held in memory (a clipboard's, a list file's).
CodePageChoice ChooseCodePage(std::string_view text, const CodePageSetting& setting);

// The code page and how it was chosen, as text of the code page in force for
// messages: "代码页 UTF-8(按文件内容判断)" or "代码页 GBK(由 SUITE_CODEPAGE 指定)".
std::string CodePageChoiceText(const CodePageChoice& choice);

}  // namespace suite
