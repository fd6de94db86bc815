// What the console allows lorvane-cli to draw: colour, and a progress bar redrawn in place.
#pragma once

namespace lorvane {

struct TerminalStyle {
  bool colour = false;    // colour on stdout
  bool progress = false;  // a progress bar on stderr, redrawn with carriage returns
};

// Colour only on a terminal, and not when NO_COLOR is set to anything non-empty
// (no-color.org) or TERM is "dumb"; the bar only when stderr is a terminal that
// isn't dumb. `noColor` and `term` are the variables' values, null when unset.
TerminalStyle ChooseTerminalStyle(bool outIsTerminal, bool errIsTerminal, const char* noColor, const char* term);

}  // namespace lorvane
