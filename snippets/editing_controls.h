// The snippet window's editing controls as one group: the two boxes and the
// four copy buttons.
#pragma once

namespace snipkeep {

class SnipkeepWindow;

// The state at start: both boxes and the four copy buttons disabled.
void DisableEditingControls(SnipkeepWindow& window);

// After a failed load: the start state, both boxes empty and the snippet list
// empty.
void ResetEditingControls(SnipkeepWindow& window);

}  // namespace snipkeep
