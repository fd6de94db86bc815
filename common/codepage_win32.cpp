// Conversions through UTF-16 with the system's code pages: 936 (GBK), 54936
// (GB18030, where the system has it: Wine lacks it) and 65001 (UTF-8).
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "common/codepage.h"
#include "common/codepage_convert.h"

namespace suite::codepage_detail {
namespace {

bool SameName(const char* left, const char* right) { return ::_stricmp(left, right) == 0; }

// The code page of a charset name; 0 for one the system doesn't have.
UINT CodePageOf(const char* charset) {
  UINT codePage = 0;
  if (SameName(charset, "UTF-8") || SameName(charset, "UTF8")) {
    codePage = CP_UTF8;
  } else if (SameName(charset, "GBK") || SameName(charset, "CP936")) {
    codePage = 936;
  } else if (SameName(charset, "GB18030")) {
    codePage = 54936;
  }
  return codePage != 0 && ::IsValidCodePage(codePage) ? codePage : 0;
}

// The length of the character at text[pos] in the code page, 1 for a byte
// that starts none.
size_t CharacterLength(UINT codePage, std::string_view text, size_t pos) {
  if (codePage == CP_UTF8) return Utf8SequenceLength(text, pos);
  const auto byte = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
  if (!IsGbkLeadByte(byte(pos)) || pos + 1 >= text.size()) return 1;
  if (codePage == 54936 && byte(pos + 1) >= 0x30 && byte(pos + 1) <= 0x39) return pos + 3 < text.size() ? 4 : 1;
  return 2;
}

// The text in UTF-16, or false when a byte doesn't decode.
bool Decode(UINT codePage, std::string_view text, std::wstring* wide) {
  if (text.empty()) {
    wide->clear();
    return true;
  }
  const int length =
      ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) return false;
  wide->resize(static_cast<size_t>(length));
  ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), wide->data(),
                        length);
  return true;
}

// The UTF-16 text in the code page, or false when a character has no place there.
bool Encode(UINT codePage, std::wstring_view wide, std::string* text) {
  if (wide.empty()) {
    text->clear();
    return true;
  }
  BOOL usedDefault = FALSE;
  const DWORD flags = codePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL* defaultUsed = codePage == CP_UTF8 ? nullptr : &usedDefault;
  const int length = ::WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                           nullptr, defaultUsed);
  if (length <= 0 || usedDefault) return false;
  text->resize(static_cast<size_t>(length));
  ::WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), text->data(), length, nullptr,
                        defaultUsed);
  return !usedDefault;
}

bool ConvertPiece(UINT to, UINT from, std::string_view piece, std::string* output) {
  std::wstring wide;
  return Decode(from, piece, &wide) && Encode(to, wide, output);
}

}  // namespace

std::string Convert(const char* to, const char* from, std::string_view input, const OnInvalid& onInvalid) {
  const UINT toPage = CodePageOf(to);
  const UINT fromPage = CodePageOf(from);
  std::string output;
  // A code page the system lacks (Wine has no GB18030) converts nothing:
  // every byte goes to `onInvalid`, so an exact conversion fails and the
  // others show the bytes as they are ("\xNN").
  if (toPage == 0 || fromPage == 0) {
    for (size_t pos = 0; pos < input.size();) pos += std::max<size_t>(onInvalid(output, input.substr(pos)), 1);
    return output;
  }
  // Most texts convert whole; only one that doesn't goes character by character.
  if (ConvertPiece(toPage, fromPage, input, &output)) return output;
  output.clear();
  std::string piece;
  for (size_t pos = 0; pos < input.size();) {
    const size_t length = CharacterLength(fromPage, input, pos);
    if (ConvertPiece(toPage, fromPage, input.substr(pos, length), &piece)) {
      output += piece;
      pos += length;
    } else {
      pos += std::max<size_t>(onInvalid(output, input.substr(pos)), 1);
    }
  }
  return output;
}

}  // namespace suite::codepage_detail
