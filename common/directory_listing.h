// The entries of a directory: their names and kinds.
#pragma once

#include <string>
#include <vector>

namespace suite {

// What an entry is, a symbolic link taken as the link itself.
enum class EntryKind {
  kFile,       // a regular file
  kDirectory,
  kLink,       // a symbolic link, whatever it points to (or nothing)
  kOther,      // a pipe, socket or device; or an entry gone before its kind was read
};

struct DirectoryEntry {
  std::string name;  // file-system bytes, never "." or ".."
  EntryKind kind = EntryKind::kOther;
};

// Every entry directly in `directory`, hidden ones included, in the order the
// file system gives them; a link to the directory itself is followed. Never
// recurses. A directory that can't be read gives what was read so far, or
// nothing.
std::vector<DirectoryEntry> ListDirectory(const std::string& directory);

// The kind of the entry at `path`, a link as a link; false when there is none
// or it can't be looked at.
bool EntryKindOf(const std::string& path, EntryKind* kind);

}  // namespace suite
