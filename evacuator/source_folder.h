// Which folder the evacuator empties, and whether it may.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/file_places.h"

namespace tuckaway {

// Where the folder came from, as the window tells the user.
enum class SourceOrigin { kProgramFolder, kCommandLine, kCurrentFolder };

struct SourceFolder {
  std::string directory;  // full path, ending in the separator
  SourceOrigin origin = SourceOrigin::kProgramFolder;
  // Why nothing in it is listed or moved, in the code page; empty when it may be emptied.
  std::string refusal;
};

// What the file system says about a folder.
struct FolderFacts {
  bool isDirectory = false;
  bool writable = false;
  std::string fullPath;  // links, "." and ".." resolved; empty when it can't be
};
using InspectFolder = std::function<FolderFacts(const std::string& path)>;

// A folder given on the command line (a file manager's "open with") wins;
// without one, the program's own folder when the program keeps its files
// beside itself (a portable folder), else the current folder. A system
// folder, the home folder itself (its settings files would be moved away), a
// folder that can't be written and one that isn't there are refused.
SourceFolder ChooseSourceFolder(const std::vector<std::string>& arguments, const suite::PlaceFacts& facts,
                                const std::string& currentDirectory, const InspectFolder& inspect);

// The same on this process: its arguments, the machine's facts, the current folder.
SourceFolder ChooseSourceFolder(const std::vector<std::string>& arguments);

// The line under the source field: where the folder came from, or why it is refused.
std::string SourceNoteText(const SourceFolder& folder);

}  // namespace tuckaway
