// partivo-cli: the splitter's split on a console, shipped beside Partivo and
// sharing its work directory. No Qt: it starts at once and needs no display.
#include <cstdio>
#include <string>
#include <vector>

#include "common/file_places.h"
#include "common/standard_output.h"
#include "splitter/split_state.h"
#include "splitter/console_split.h"

int main(int argc, char** argv) {
  suite::KeepStandardDescriptors();
  const std::vector<std::string> args(argv + 1, argv + argc);
  return cleavora::RunConsoleSplit(args, suite::ProgramFilePlace(cleavora::kSplitterFiles), stdout, stderr);
}
