// partivo-cli: the splitter's split on a console, shipped beside Partivo and
// sharing its work directory. No Qt: it starts at once and needs no display.
#include <cstdio>
#include <string>
#include <vector>

#include "common/codepage_choice.h"
#include "common/file_places.h"
#include "common/standard_output.h"
#include "common/terminal.h"
#include "splitter/split_state.h"
#include "splitter/console_split.h"

int main(int argc, char** argv) {
  suite::KeepStandardDescriptors();
  if (const auto& unknown = suite::CodePageSettingOfProcess().unknown) {
    std::fprintf(stderr, "partivo-cli: %s\n", suite::UnknownCodePageConsoleText(*unknown).c_str());
    return 2;
  }
  std::vector<std::string> args = suite::ProgramArguments(argc, argv);
  if (!args.empty()) args.erase(args.begin());  // the program's name
  return cleavora::RunConsoleSplit(args, suite::ProgramFilePlace(cleavora::kSplitterFiles), stdout, stderr);
}
