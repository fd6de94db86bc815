#include "searcher/app/drop_rules.h"

#include "common/codepage.h"

namespace lorvane {

DropDecision ClassifyDrop(const std::string& path, const std::vector<std::string>& extensions) {
  const std::string last4 = path.size() >= 4 ? path.substr(path.size() - 4) : path;
  if (last4.size() < 4 || last4[0] != '.') return {DropKind::RefusedType, last4};
  const std::string last3 = path.substr(path.size() - 3);
  const std::string folded = suite::FoldedAsciiCase(suite::CodePage::Utf8, last3);
  bool accepted = false;
  for (const std::string& extension : extensions) {
    if (suite::FoldedAsciiCase(suite::CodePage::Utf8, extension) == folded) accepted = true;
  }
  if (!accepted) return {DropKind::UnhandledType, last3};
  return {last3 == "lvn" ? DropKind::Restore : DropKind::PreRead, last3};
}

}  // namespace lorvane
