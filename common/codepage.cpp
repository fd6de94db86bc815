#include "common/codepage.h"
#include "common/codepage_convert.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>
#include <vector>

namespace suite {

using codepage_detail::Convert;

namespace {

std::atomic<int> g_codePage{-1};

bool IsUtf8Continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

size_t codepage_detail::Utf8SequenceLength(std::string_view text, size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 1;
  if (pos + length > text.size()) return 1;
  for (size_t i = 1; i < length; ++i) {
    if (!IsUtf8Continuation(static_cast<unsigned char>(text[pos + i]))) return 1;
  }
  return length;
}

namespace {

using codepage_detail::Utf8SequenceLength;

void AppendHexEscape(std::string& output, unsigned char byte) {
  char text[8];
  std::snprintf(text, sizeof text, "\\x%02X", byte);
  output += text;
}

// A byte that doesn't decode shows as \xNN; decoding goes on with the next byte.
size_t EscapeOneByte(std::string& output, std::string_view rest) {
  AppendHexEscape(output, static_cast<unsigned char>(rest[0]));
  return 1;
}

// GB18030's four-byte form: lead, digit, lead, digit. GBK has no such sequence.
bool IsGb18030FourByte(std::string_view text) {
  const auto byte = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
  return text.size() >= 4 && IsGbkLeadByte(byte(0)) && byte(1) >= 0x30 && byte(1) <= 0x39 && IsGbkLeadByte(byte(2)) &&
         byte(3) >= 0x30 && byte(3) <= 0x39;
}

// A character the target can't hold (or a stray byte) becomes one "?".
size_t ReplaceOneCharacter(std::string& output, std::string_view rest) {
  output += '?';
  return Utf8SequenceLength(rest, 0);
}

}  // namespace

CodePage CodePageFromName(const char* name) {
  if (name && (::strcasecmp(name, "utf-8") == 0 || ::strcasecmp(name, "utf8") == 0)) return CodePage::Utf8;
  return CodePage::Gbk;
}

const char* CodePageName(CodePage codePage) { return codePage == CodePage::Utf8 ? "UTF-8" : "GBK"; }

CodePage ActiveCodePage() {
  int value = g_codePage.load(std::memory_order_relaxed);
  if (value < 0) {
    // Unset, messages are UTF-8 and each log is read in its own code page;
    // set, the one code page is that of messages and logs alike.
    const char* setting = std::getenv("SUITE_CODEPAGE");
    value = static_cast<int>(setting && *setting ? CodePageFromName(setting) : CodePage::Utf8);
    g_codePage.store(value, std::memory_order_relaxed);
  }
  return static_cast<CodePage>(value);
}

void SetActiveCodePage(CodePage codePage) { g_codePage.store(static_cast<int>(codePage)); }

size_t CharLength(CodePage codePage, std::string_view text, size_t pos) {
  if (pos >= text.size()) return 1;
  if (codePage == CodePage::Gbk) {
    return IsGbkLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
  }
  return Utf8SequenceLength(text, pos);
}

bool IsCharBoundary(CodePage codePage, std::string_view text, size_t pos) {
  if (pos >= text.size()) return pos == text.size();
  return StartsCharacterAt(codePage, text.data(), pos);
}

void FoldAsciiCase(CodePage codePage, std::string& text) {
  const size_t size = text.size();
  if (codePage == CodePage::Utf8) {
    // Bytes of multi-byte UTF-8 sequences are all >= 0x80: no letter can hide in them.
    for (char& c : text) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    }
    return;
  }
  for (size_t i = 0; i < size; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (IsGbkLeadByte(byte)) {
      ++i;  // the trail byte stays as it is
    } else if (byte >= 'A' && byte <= 'Z') {
      text[i] = static_cast<char>(byte + ('a' - 'A'));
    }
  }
}

std::string FoldedAsciiCase(CodePage codePage, std::string_view text) {
  std::string folded(text);
  FoldAsciiCase(codePage, folded);
  return folded;
}

size_t FindKeyword(CodePage codePage, std::string_view line, std::string_view keyword) {
  if (keyword.empty()) return 0;
  size_t boundary = 0;  // a known character start at or before every later candidate
  size_t from = 0;
  while (true) {
    const size_t hit = line.find(keyword, from);
    if (hit == std::string_view::npos) return hit;
    if (codePage == CodePage::Utf8) {
      if (!IsUtf8Continuation(static_cast<unsigned char>(line[hit]))) return hit;
    } else {
      while (boundary < hit) boundary += CharLength(codePage, line, boundary);
      if (boundary == hit) return hit;
    }
    from = hit + 1;
  }
}

std::string ConvertToUtf8(const char* charset, std::string_view text) {
  return Convert("UTF-8", charset, text, EscapeOneByte);
}

std::string ConvertFromUtf8(const char* charset, std::string_view utf8) {
  return Convert(charset, "UTF-8", utf8, ReplaceOneCharacter);
}

std::string CodePageToUtf8(CodePage codePage, std::string_view text) {
  if (codePage == CodePage::Utf8) {
    // Check only: valid UTF-8 passes through, stray bytes become \xNN.
    std::string output;
    output.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
      const auto byte = static_cast<unsigned char>(text[i]);
      const size_t length = Utf8SequenceLength(text, i);
      if (byte >= 0x80 && length == 1) {
        AppendHexEscape(output, byte);
      } else {
        output.append(text.substr(i, length));
      }
      i += length;
    }
    return output;
  }
  return Convert("UTF-8", "GBK", text, [](std::string& output, std::string_view rest) -> size_t {
    if (IsGb18030FourByte(rest)) {
      if (auto character = ConvertExactly("UTF-8", "GB18030", rest.substr(0, 4))) {
        output += *character;
        return 4;
      }
    }
    return EscapeOneByte(output, rest);
  });
}

std::string PathText(std::string_view path) {
  const CodePage codePage = ActiveCodePage();
  if (codePage == CodePage::Utf8 ||
      std::all_of(path.begin(), path.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    return std::string(path);
  }
  return Convert("GBK", "UTF-8", path, [](std::string& output, std::string_view rest) -> size_t {
    const size_t length = Utf8SequenceLength(rest, 0);
    if (length > 1) {
      if (auto character = ConvertExactly("GB18030", "UTF-8", rest.substr(0, length))) {
        output += *character;
        return length;
      }
    }
    AppendHexEscape(output, static_cast<unsigned char>(rest[0]));
    return 1;
  });
}

std::string Utf8ToCodePage(CodePage codePage, std::string_view utf8) {
  if (codePage == CodePage::Utf8) return std::string(utf8);
  // Plain ASCII, the common case for messages and paths, needs no conversion.
  if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    return std::string(utf8);
  }
  return ConvertFromUtf8("GBK", utf8);
}

}  // namespace suite

namespace suite {

std::optional<std::string> ConvertExactly(const char* to, const char* from, std::string_view text) {
  bool exact = true;
  std::string converted = Convert(to, from, text, [&exact](std::string&, std::string_view) {
    exact = false;
    return size_t{1};
  });
  if (!exact) return std::nullopt;
  return converted;
}

std::optional<std::string> Utf8ToCodePageExactly(CodePage codePage, std::string_view utf8) {
  return ConvertExactly(codePage == CodePage::Utf8 ? "UTF-8" : "GBK", "UTF-8", utf8);
}

std::optional<std::string> RecodeExactly(CodePage from, CodePage to, std::string_view text) {
  if (from == to) return std::string(text);
  return ConvertExactly(CodePageName(to), CodePageName(from), text);
}

std::string Recode(CodePage from, CodePage to, std::string_view text) {
  if (from == to) return std::string(text);
  return Utf8ToCodePage(to, CodePageToUtf8(from, text));
}

}  // namespace suite
