#include "splitter/cleavora_form.h"

#include <charconv>

#include "splitter/cleavora_texts.h"

namespace cleavora {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::optional<int64_t> ParsePieceSizeField(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  // from_chars takes a minus sign but no plus sign.
  if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
  int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

std::string ReadFormFields(const CleavoraFields& fields, CleavoraForm& form) {
  form.filePath = fields.filePath;
  form.statusText = fields.statusText;
  const std::optional<int64_t> lines = ParsePieceSizeField(fields.linesPerPiece);
  if (!lines) return NotAnIntegerText();
  form.linesPerPiece = *lines;
  return IsPieceSizeInRange(*lines) ? std::string() : PieceSizeOutOfRangeText();
}

CleavoraFields FieldsOfForm(const CleavoraForm& form) {
  return {form.filePath, form.statusText, std::to_string(form.linesPerPiece)};
}

}  // namespace cleavora
