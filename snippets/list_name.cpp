#include "snippets/list_name.h"

#include <utility>

#include "common/codepage.h"
#include "common/path_util.h"
#include "snippets/snipkeep_texts.h"

namespace snipkeep {
namespace {

constexpr std::string_view kExtension = kListExtension;

std::string Folded(std::string_view text) { return suite::FoldedAsciiCase(suite::ActiveCodePage(), text); }

// Removes every occurrence in one pass from left to right.
void RemoveAll(std::string& text, std::string_view part) {
  std::string result;
  size_t from = 0;
  for (size_t at; (at = text.find(part, from)) != std::string::npos; from = at + part.size()) {
    result.append(text, from, at - from);
  }
  result.append(text, from);
  text = std::move(result);
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

}  // namespace

bool IsListFileName(std::string_view fileName) {
  if (fileName.size() < kExtension.size()) return false;
  // File-system bytes: only the four ASCII characters are folded.
  return suite::FoldedAsciiCase(suite::CodePage::Utf8, fileName.substr(fileName.size() - kExtension.size())) ==
         kExtension;
}

std::string ListNameOfFileName(std::string_view fileName) {
  const size_t stem = fileName.size() >= kExtension.size() ? fileName.size() - kExtension.size() : 0;
  return suite::PathText(fileName.substr(0, stem));
}

std::string TitleNameOfPath(const std::string& path) {
  const size_t last = path.rfind(suite::kPathSeparator);
  if (last == std::string::npos) return std::string();
  std::string name = suite::PathText(std::string_view(path).substr(last + 1));
  RemoveAll(name, kExtension);
  RemoveAll(name, ".TXT");
  return name;
}

std::string FileSystemName(const std::string& fileNameText) {
  // UTF-8 text is the file system's own: even bytes that aren't UTF-8 go back unchanged.
  const suite::CodePage codePage = suite::ActiveCodePage();
  return codePage == suite::CodePage::Utf8 ? fileNameText : suite::CodePageToUtf8(codePage, fileNameText);
}

std::string TrimName(std::string_view name) {
  while (!name.empty() && IsBlank(name.front())) name.remove_prefix(1);
  while (!name.empty() && IsBlank(name.back())) name.remove_suffix(1);
  return std::string(name);
}

bool SameNameIgnoringCase(std::string_view left, std::string_view right) {
  return left.size() == right.size() && Folded(left) == Folded(right);
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  // Folding never changes a length, so the folded prefix sits at the same bytes.
  return text.size() >= prefix.size() && Folded(text).compare(0, prefix.size(), Folded(prefix)) == 0;
}

}  // namespace snipkeep
