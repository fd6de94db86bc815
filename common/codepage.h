// Code pages: GBK and UTF-8, and the code page of messages.
//
// Texts inside the suite are bytes: messages and typed text in the code page
// of messages (ActiveCodePage), a log's lines and keyword in the log's own code
// page (see codepage_choice.h); they are converted only at the edges (console,
// window, desktop).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace suite {

enum class CodePage { Gbk, Utf8 };

// The code page of messages: read once from SUITE_CODEPAGE ("utf-8"/"utf8" in
// any case selects UTF-8, any other value GBK; unset or empty, UTF-8). When
// set, it is every log's code page too.
CodePage ActiveCodePage();
// Replaces the code page in force (tools and tests).
void SetActiveCodePage(CodePage codePage);
CodePage CodePageFromName(const char* name);
const char* CodePageName(CodePage codePage);

// GBK: a lead byte 0x81-0xFE takes the next byte as its trail, whatever it is.
inline bool IsGbkLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

// Length in bytes of the character that starts at text[pos] (1 at the end of
// text or for a byte that starts no valid sequence).
size_t CharLength(CodePage codePage, std::string_view text, size_t pos);

// True when pos is the start of a character (or the end of the text).
bool IsCharBoundary(CodePage codePage, std::string_view text, size_t pos);

// The run of bytes that could be GBK lead bytes (0x81-0xFE) right before
// data[pos]; where it reaches data[0], `runBefore` is its part before (a
// window that starts inside a line). A byte outside 0x81-0xFE always ends a
// character, and from there the bytes of the run pair up.
inline uint64_t GbkLeadRunBefore(const char* data, size_t pos, uint64_t runBefore = 0) {
  size_t i = pos;
  while (i > 0 && IsGbkLeadByte(static_cast<unsigned char>(data[i - 1]))) --i;
  return i == 0 ? pos + runBefore : pos - i;
}

// Whether data[pos] starts a character: in UTF-8 any byte but a continuation
// byte, in GBK one after an even run of possible lead bytes. The one rule of
// character boundaries for every reader and matcher.
inline bool StartsCharacterAt(CodePage codePage, const char* data, size_t pos, uint64_t runBefore = 0) {
  if (codePage == CodePage::Utf8) return (static_cast<unsigned char>(data[pos]) & 0xC0) != 0x80;
  return GbkLeadRunBefore(data, pos, runBefore) % 2 == 0;
}

// The same for GBK, looking back from pos only as far as the run of bytes that
// could be lead bytes.
inline bool IsGbkBoundaryBefore(std::string_view text, size_t pos) { return GbkLeadRunBefore(text.data(), pos) % 2 == 0; }

// Folds the single-byte letters A-Z to a-z; never touches a trail byte of a
// double-byte character.
void FoldAsciiCase(CodePage codePage, std::string& text);
std::string FoldedAsciiCase(CodePage codePage, std::string_view text);

// Position of the first occurrence of keyword in line that starts on a
// character boundary, or npos. An empty keyword is found at 0.
size_t FindKeyword(CodePage codePage, std::string_view line, std::string_view keyword);
inline bool ContainsKeyword(CodePage codePage, std::string_view line, std::string_view keyword) {
  return FindKeyword(codePage, line, keyword) != std::string_view::npos;
}

// Code page -> UTF-8. Bytes that don't decode are shown as "\xNN". In GBK a
// four-byte GB18030 sequence decodes too: PathText writes a character of a
// path that GBK lacks that way.
std::string CodePageToUtf8(CodePage codePage, std::string_view text);
// UTF-8 -> code page. Characters the code page lacks, and bytes that aren't
// UTF-8, become "?".
std::string Utf8ToCodePage(CodePage codePage, std::string_view utf8);

// UTF-8 -> code page, or nothing when a character doesn't fit the code page
// (or the text isn't UTF-8).
std::optional<std::string> Utf8ToCodePageExactly(CodePage codePage, std::string_view utf8);
// Text of one code page in another: a log's keyword or line for a message,
// a typed keyword for a log. The same text when the two are one.
std::optional<std::string> RecodeExactly(CodePage from, CodePage to, std::string_view text);
// ... with "?" for a character `to` lacks and "\xNN" for a byte that doesn't decode.
std::string Recode(CodePage from, CodePage to, std::string_view text);
// Any charset iconv knows to another, or nothing when a byte doesn't convert.
std::optional<std::string> ConvertExactly(const char* to, const char* from, std::string_view text);

// Shorthands for the code page in force. `Cp` turns a UTF-8 literal of the
// source into code-page text.
inline std::string Cp(std::string_view utf8) { return Utf8ToCodePage(ActiveCodePage(), utf8); }
inline std::string ToUtf8(std::string_view text) { return CodePageToUtf8(ActiveCodePage(), text); }
// A path (file-system bytes, UTF-8 here) as text of the code page, for
// messages, that shows at the edges (CodePageToUtf8) as the file system spells
// it: in GBK a character GBK lacks goes in as its four GB18030 bytes; a byte
// that isn't UTF-8 goes in as the text "\xNN".
std::string PathText(std::string_view path);

// Any charset iconv knows -> UTF-8, with "\xNN" for bytes that don't decode;
// and UTF-8 -> any charset, with "?" for what it can't hold.
std::string ConvertToUtf8(const char* charset, std::string_view text);
std::string ConvertFromUtf8(const char* charset, std::string_view utf8);

}  // namespace suite
