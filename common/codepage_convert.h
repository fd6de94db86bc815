// Inside the code page conversion: the one call that differs by platform
// (iconv; on Windows MultiByteToWideChar and WideCharToMultiByte).
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace suite::codepage_detail {

// Called where the input stops converting, with the rest of it: appends a
// replacement to the output and gives how many bytes to skip (at least 1).
using OnInvalid = std::function<size_t(std::string&, std::string_view)>;

// `input` in charset `from` as charset `to` ("UTF-8", "GBK", "GB18030", ...);
// the input as it is when the pair can't be converted here.
std::string Convert(const char* to, const char* from, std::string_view input, const OnInvalid& onInvalid);

// Length of the UTF-8 sequence at text[pos]; 1 for a byte that starts none.
size_t Utf8SequenceLength(std::string_view text, size_t pos);

}  // namespace suite::codepage_detail
