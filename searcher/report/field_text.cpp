#include "searcher/report/field_text.h"

#include <algorithm>
#include <cstdint>

#include "common/codepage.h"

namespace lorvane {
namespace {

char currentSeparator = CFieldText::kDefaultSeparator;
char savedSeparator = CFieldText::kDefaultSeparator;

// GetFields with an explicit separator. Field numbers are 64-bit here so that
// last - first + 1 can't overflow.
CFieldText FieldsOf(std::string_view record, char separator, int64_t first, int64_t last) {
  if (last < 0) last = static_cast<int64_t>(std::count(record.begin(), record.end(), separator));
  const int64_t count = last - first + 1;
  if (first < 0 || count <= 0) return CFieldText();

  const size_t n = record.size();
  // Start of field `first`, or n when the record has fewer fields.
  size_t start = 0;
  for (int64_t passed = 0; passed < first; ++passed) {
    const size_t at = record.find(separator, start);
    if (at == std::string_view::npos) {
      start = n;
      break;
    }
    start = at + 1;
  }
  if (start >= n) return CFieldText::RepeatByte(separator, static_cast<int>(std::min<int64_t>(count - 1, INT32_MAX)));

  // The separator after field `last`, when there is one.
  size_t end = start;
  int64_t passed = 0;
  for (; passed < count; ++passed) {
    const size_t at = record.find(separator, end);
    if (at == std::string_view::npos) break;
    end = at + 1;
  }
  if (passed == count) return CFieldText(record.substr(start, end - 1 - start));

  // The record ended early: the fields still missing are empty.
  CFieldText fields(record.substr(start));
  fields.append(static_cast<size_t>(count - passed - 1), separator);
  return fields;
}

}  // namespace

CFieldText CFieldText::GetFields(int first, int last) const { return FieldsOf(*this, currentSeparator, first, last); }

CFieldText CFieldText::GetField(int field, char separator) const { return FieldsOf(*this, separator, field, field); }

size_t CFieldText::CountOf(char byte) const { return static_cast<size_t>(std::count(begin(), end(), byte)); }

size_t CFieldText::CountOf(std::string_view text) const {
  if (text.empty()) return 0;
  const suite::CodePage codePage = suite::ActiveCodePage();
  size_t count = 0;
  std::string_view rest(*this);
  // Each search starts afresh on the part after the match, as its own text.
  for (size_t at; (at = suite::FindKeyword(codePage, rest, text)) != std::string_view::npos; ++count) {
    rest.remove_prefix(at + text.size());
  }
  return count;
}

CFieldText CFieldText::RepeatByte(char byte, int count) {
  return count < 1 ? CFieldText() : CFieldText(static_cast<size_t>(count), byte);
}

CFieldText CFieldText::IntToText(int32_t value) { return CFieldText(std::to_string(value)); }

char CFieldText::Separator() { return currentSeparator; }

void CFieldText::InstallSeparator(char separator) {
  savedSeparator = currentSeparator;
  currentSeparator = separator;
}

void CFieldText::RestoreSeparator() { currentSeparator = savedSeparator; }

}  // namespace lorvane
