#include "snippets/editing_controls.h"

#include "snippets/snipkeep_window.h"

namespace snipkeep {

void DisableEditingControls(SnipkeepWindow& window) {
  window.EnableBox(Box::SingleLine, false);
  window.EnableBox(Box::MultiLine, false);
  for (const CopyOperation button : {CopyOperation::SingleWithLineEnd, CopyOperation::Single,
                                     CopyOperation::MultiDoubled, CopyOperation::Multi}) {
    window.EnableCopyButton(button, false);
  }
}

void ResetEditingControls(SnipkeepWindow& window) {
  DisableEditingControls(window);
  window.SetBoxText(Box::SingleLine, std::string());
  window.SetBoxText(Box::MultiLine, std::string());
  window.ListClear();
}

}  // namespace snipkeep
