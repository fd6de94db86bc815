// The texts the evacuator's dialog shows, and the names it works with.
#pragma once

#include <string>

namespace tuckaway {

// The work directory inside the program's directory.
inline constexpr const char* kWorkDirectoryName = "__Tuckaway__";

// The markers of a move's result list.
inline constexpr const char* kMovedMarker = "ok";
inline constexpr const char* kNotMovedMarker = "no";

// The dialog's texts, in the code page.
std::string TitleText();
std::string SourceLabelText();
std::string TargetLabelText();
std::string RefreshButtonText();
std::string MoveButtonToolTip();
std::string OpenFolderButtonText();
std::string NoteText();

}  // namespace tuckaway
