#include "common/codepage_choice.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "common/exclusive_file.h"

namespace suite {
namespace {

constexpr size_t kStretchBytes = 64 * 1024;
constexpr int64_t kStretches = 16;
constexpr size_t kStretchBlockBytes = 16 * 1024;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Checks bytes[0, size), a stretch or a run of one; counts its multi-byte
// characters into `multiByte`. False at the first byte that no UTF-8 text
// holds. `skipCut` skips the tail of a character cut at the start. A
// character cut at the end passes unless `endsFile`; with `cutAt`, that gets
// where such a character starts (else `size`), so that the next run checks it whole.
bool IsUtf8Run(const unsigned char* bytes, size_t size, bool skipCut, bool endsFile, size_t& multiByte,
               size_t* cutAt = nullptr) {
  size_t at = 0;
  if (skipCut) {
    while (at < size && at < 3 && IsContinuation(bytes[at])) ++at;
  }
  while (at < size) {
    // ASCII eight bytes at a time: most of a log is.
    if (at + 8 <= size) {
      uint64_t word;
      std::memcpy(&word, bytes + at, sizeof word);
      if ((word & 0x8080808080808080ULL) == 0) {
        at += 8;
        continue;
      }
    }
    const unsigned char lead = bytes[at];
    if (lead < 0x80) {
      ++at;
      continue;
    }
    size_t length;
    unsigned char low = 0x80, high = 0xBF;  // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;   // no overlong forms
      if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
      return false;
    }
    for (size_t i = 1; i < length; ++i) {
      if (at + i == size && cutAt) {
        *cutAt = at;
        return true;
      }
      if (at + i == size) return !endsFile;  // cut at the stretch's end
      const unsigned char byte = bytes[at + i];
      if (i == 1 ? (byte < low || byte > high) : !IsContinuation(byte)) return false;
    }
    ++multiByte;
    at += length;
  }
  if (cutAt) *cutAt = size;
  return true;
}

bool IsUtf8Stretch(const SampleStretch& stretch, size_t& multiByte) {
  return IsUtf8Run(reinterpret_cast<const unsigned char*>(stretch.bytes.data()), stretch.bytes.size(),
                   !stretch.startsFile, stretch.endsFile, multiByte);
}

CodePageChoice Forced(const CodePageSetting& setting) { return {*setting.forced, true}; }

}  // namespace

CodePageSetting ParseCodePageSetting(const char* value) {
  CodePageSetting setting;
  if (!value || !*value) return setting;
  for (const char* name : {"gbk", "cp936", "936"}) {
    if (::strcasecmp(value, name) == 0) setting.forced = CodePage::Gbk;
  }
  for (const char* name : {"utf-8", "utf8", "65001"}) {
    if (::strcasecmp(value, name) == 0) setting.forced = CodePage::Utf8;
  }
  if (!setting.forced) setting.unknown = value;
  return setting;
}

const CodePageSetting& CodePageSettingOfProcess() {
  static const CodePageSetting setting = ParseCodePageSetting(std::getenv("SUITE_CODEPAGE"));
  return setting;
}

std::string UnknownCodePageText(const std::string& value) {
  return Cp("环境变量 SUITE_CODEPAGE 的值“") + PathText(value) + Cp("”无效: 只能是 gbk 或 utf-8，不设则按每个文件的内容判断。");
}

std::string UnknownCodePageConsoleText(const std::string& value) {
  return "SUITE_CODEPAGE=" + value + " is not a code page the suite takes: use gbk or utf-8, or leave it unset to " +
         "read each file in its own";
}

CodePage DetectCodePage(const SampleStretch* stretches, size_t count) {
  size_t multiByte = 0;
  for (size_t i = 0; i < count; ++i) {
    if (!IsUtf8Stretch(stretches[i], multiByte)) return CodePage::Gbk;
  }
  return multiByte > 0 ? CodePage::Utf8 : CodePage::Gbk;
}

CodePageChoice ChooseCodePage(ExclusiveFile& file, const CodePageSetting& setting) {
  if (setting.forced) return Forced(setting);
  const int64_t size = file.Size();
  // Evenly spread stretches; a small file is one stretch, whole.
  const int64_t count = std::clamp<int64_t>(size / static_cast<int64_t>(kStretchBytes), 1, kStretches);
  // Each read a block at a time into the stack, not into fresh memory: the
  // choice is made again at every update of a history, a run so short that
  // its page faults are a good part of its cost.
  unsigned char block[kStretchBlockBytes];
  size_t multiByte = 0;
  for (int64_t i = 0; i < count; ++i) {
    const int64_t start = count == 1 ? 0 : (size - static_cast<int64_t>(kStretchBytes)) / (count - 1) * i;
    const int64_t end = start + static_cast<int64_t>(kStretchBytes);
    for (int64_t at = start; at < end;) {
      const size_t want = static_cast<size_t>(std::min<int64_t>(end - at, sizeof block));
      const size_t got = file.ReadAt(reinterpret_cast<char*>(block), want, at);
      // The stretch ends with this block: a character cut at its end is
      // judged as the whole stretch's would be; before, it starts the next block.
      const bool last = got < want || at + static_cast<int64_t>(got) == end;
      size_t cut = got;
      if (!IsUtf8Run(block, got, at == start && start != 0, at + static_cast<int64_t>(got) >= size, multiByte,
                     last ? nullptr : &cut)) {
        return {CodePage::Gbk, false};
      }
      if (last) break;
      at += static_cast<int64_t>(cut);
    }
  }
  return {multiByte > 0 ? CodePage::Utf8 : CodePage::Gbk, false};
}

CodePageChoice ChooseCodePage(std::string_view text, const CodePageSetting& setting) {
  if (setting.forced) return Forced(setting);
  return {DetectCodePage(text), false};
}

std::string CodePageChoiceText(const CodePageChoice& choice) {
  return Cp("代码页 ") + CodePageName(choice.codePage) +
         Cp(choice.forced ? "(由 SUITE_CODEPAGE 指定)" : "(按文件内容判断)");
}

}  // namespace suite
