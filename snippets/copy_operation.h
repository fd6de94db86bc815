// The four copy operations: which box, what goes on the clipboard, what is posted.
#pragma once

#include <string>

#include "snippets/snipkeep_form.h"

namespace snipkeep {

Box BoxOf(CopyOperation operation);

// The clipboard text for a box's text: with CR LF appended, with every CR LF
// doubled, or as it is. Works on a copy: the box keeps its text.
std::string ClipboardText(CopyOperation operation, const std::string& boxText);

// The status texts when the box is empty, and after copying.
std::string CopyEmptyText(CopyOperation operation);
std::string CopyDoneText(CopyOperation operation);

}  // namespace snipkeep
