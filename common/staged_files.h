// Files of one directory replaced together, so that however the program ends
// the directory holds either all the old ones or all the new ones.
#pragma once

#include <string>

namespace suite {

// Each new file is written aside, at StagedPath of its name, and closed
// durably. The change is decided when the marker file (one of them, written
// last through a rename) is staged: SettleStagedFiles then renames every
// staged file over its old one, the marker's last. A change cut short before
// the marker was staged leaves staged files that SettleStagedFiles removes.
std::string StagedPath(const std::string& path);

// Waits until a file's bytes are on the disk; false when it can't.
bool SyncFile(const std::string& path);

// Waits until the directory's entries (names created, renamed, removed) are
// on the disk; false when it can't.
bool SyncDirectory(const std::string& directory);

// Puts the staged files of `directory` in place when `markerName`'s is among
// them, else removes them all. Nothing to do is a success. False when a file
// couldn't be renamed or removed (the directory is read-only, say): the
// staged files left then decide the same way next time.
bool SettleStagedFiles(const std::string& directory, const std::string& markerName);

}  // namespace suite
