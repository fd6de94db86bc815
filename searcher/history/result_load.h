// Restoring a search from its history descriptor.
#pragma once

#include <string>

namespace lorvane {

class LorvaneWindow;
struct SearchContext;

// The body of the main window's toResultLoad: reads the descriptor at `path`,
// checks it and puts the search context and the window back as the search
// left them, without pre-reading or searching the target. Everything it has
// to say goes to the status area. A descriptor that fails to open or to pass
// the check changes nothing but the file-path field. True when restored.
bool ResultLoad(LorvaneWindow& window, SearchContext& context, const std::string& path);

// The directory a descriptor lies in, resolved: its search's history
// directory, wherever the program's folder has been moved or copied.
std::string HistoryDirectoryOf(const std::string& descriptorPath);

}  // namespace lorvane
