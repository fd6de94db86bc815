// CFieldText: a code-page string with operations on records, texts made of
// fields separated by one separator byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace lorvane {

// A std::string (bytes in the code page in force) with record operations.
// It adds no data, so it passes for a std::string anywhere. Every operation
// gives a new value and leaves the receiver as it is.
//
// Fields are numbered from 0; a record with s separator bytes has s + 1
// fields. Separators are single bytes: a double-byte character whose trail
// byte is the separator also ends a field.
//
// The field separator is one byte for the whole process ('|' at start). It is
// not guarded: only the window's thread may change it or rely on it.
class CFieldText : public std::string {
 public:
  using std::string::string;
  CFieldText() = default;
  CFieldText(std::string text) : std::string(std::move(text)) {}
  explicit CFieldText(std::string_view text) : std::string(text) {}

  // Fields first to last joined by the current separator; a negative last
  // means the final field. Always exactly last - first + 1 fields: fields
  // past the end come back empty, so the result is padded with separators.
  // The empty text when first is negative or last < first.
  CFieldText GetFields(int first, int last) const;
  CFieldText GetField(int field) const { return GetFields(field, field); }
  // The same with `separator` in place of the current separator for this call;
  // the process-wide separator is left alone.
  CFieldText GetField(int field, char separator) const;

  // Number of bytes equal to `byte`.
  size_t CountOf(char byte) const;
  // Number of non-overlapping occurrences of `text`, found left to right on
  // character boundaries of the code page (0 for an empty text).
  size_t CountOf(std::string_view text) const;

  // `byte` count times; empty for a count below 1.
  static CFieldText RepeatByte(char byte, int count);
  // "%d".
  static CFieldText IntToText(int32_t value);

  static constexpr char kDefaultSeparator = '|';
  static char Separator();
  // Makes `separator` current and keeps the former one in a single saved
  // slot: a second install overwrites the slot.
  static void InstallSeparator(char separator);
  // Makes the saved separator current again.
  static void RestoreSeparator();
};

// Installs a separator for a scope and restores the saved one when it ends,
// also when the scope is left by an exception.
class ScopedSeparator {
 public:
  explicit ScopedSeparator(char separator) { CFieldText::InstallSeparator(separator); }
  ~ScopedSeparator() { CFieldText::RestoreSeparator(); }
  ScopedSeparator(const ScopedSeparator&) = delete;
  ScopedSeparator& operator=(const ScopedSeparator&) = delete;
};

}  // namespace lorvane
