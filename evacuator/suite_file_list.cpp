#include "evacuator/suite_file_list.h"

#include "common/suite_programs.h"

namespace tuckaway {
namespace {

// The suite's texts, and every program under each name it has had, with and
// without its Windows ending: a folder copied over from there holds those.
std::vector<std::string> ShippedNames() {
  std::vector<std::string> names = {"ReadMe.txt", "ChangeRecords.txt"};
  const auto addProgram = [&names](std::string_view program) {
    names.emplace_back(program);
    names.emplace_back(std::string(program) + std::string(suite::kWindowsProgramEnding));
  };
  for (std::string_view program : suite::kShippedPrograms) addProgram(program);
  for (std::string_view program : suite::kProgramSelfNames) addProgram(program);
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
