#include "searcher/cli/terminal_style.h"

#include <cstring>

namespace lorvane {

TerminalStyle ChooseTerminalStyle(bool outIsTerminal, bool errIsTerminal, const char* noColor, const char* term) {
  const bool dumb = term && std::strcmp(term, "dumb") == 0;
  const bool colourRefused = noColor && noColor[0] != '\0';
  return {outIsTerminal && !dumb && !colourRefused, errIsTerminal && !dumb};
}

}  // namespace lorvane
