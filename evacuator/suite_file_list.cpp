#include "evacuator/suite_file_list.h"

namespace tuckaway {
namespace {

// The suite's texts and programs as they were shipped on their first
// platform, then the programs as shipped here: without an extension, under
// their deliverable names and their own names.
const std::vector<std::string>& ShippedNames() {
  static const std::vector<std::string> names = {
      "Tuckaway.exe", "Lorvane.exe",   "Cleavora.exe",    "Snipkeep.exe",
      "ReadMe.txt",   "ChangeRecords.txt",
      "Tuckaway",     "Lorvane",       "Cleavora",        "Snipkeep",
      "Ferrybolt",    "Ferrybolt.exe", "Partivo",         "Partivo.exe",
      "lorvane-cli",  "lorvane-cli.exe",
  };
  return names;
}

}  // namespace

SuiteFileList::SuiteFileList() : SuiteFileList(ShippedNames()) {}

SuiteFileList::SuiteFileList(const std::vector<std::string>& names)
    : codePage_(suite::ActiveCodePage()), names_(names) {
  for (const auto& name : names_) folded_.push_back(suite::FoldedAsciiCase(codePage_, name));
}

bool SuiteFileList::Contains(std::string_view name) const {
  const std::string folded = suite::FoldedAsciiCase(codePage_, name);
  for (const auto& entry : folded_) {
    if (entry == folded) return true;
  }
  return false;
}

}  // namespace tuckaway
