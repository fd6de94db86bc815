// The suite's own files, which the evacuator never lists and never moves.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/codepage.h"

namespace tuckaway {

// Names are compared with the letters A-Z folded to lower case by the code
// page in force (a trail byte of a double-byte character is never folded),
// then byte for byte; the code page is the one in force when the list is
// built. Fixed once built; safe to read from any thread.
class SuiteFileList {
 public:
  // The suite's texts and the suite's programs (common/suite_programs.h)
  // under each of their names, with and without ".exe".
  SuiteFileList();
  explicit SuiteFileList(const std::vector<std::string>& names);

  bool Contains(std::string_view name) const;
  const std::vector<std::string>& Names() const { return names_; }

 private:
  suite::CodePage codePage_;
  std::vector<std::string> names_;
  std::vector<std::string> folded_;
};

}  // namespace tuckaway
