// Where each program keeps the files it makes: beside itself in a portable
// folder, in the user's standard places when it is installed.
#pragma once

#include <string>

namespace suite {

// The user's standard places (XDG base directories and user folders).
enum class UserPlace {
  kState,      // $XDG_STATE_HOME, else ~/.local/state: histories and such
  kConfig,     // $XDG_CONFIG_HOME, else ~/.config: lists the user edits
  kDocuments,  // the user's documents folder, else the home folder: pieces to open
};

// What a program asks for: the name of its folder beside itself, the user
// place it takes otherwise and the name of its folder there.
struct FilesRequest {
  const char* besideProgramName;
  UserPlace place;
  const char* userPlaceName;
};

// The folder a program keeps its files in: `base` (ending in the separator)
// followed by `name`, without a separator at the end.
struct FilePlace {
  std::string base;
  std::string name;
  bool besideProgram = false;
  // The program's own folder couldn't be read: the user's place is taken, and
  // the program says so (NoProgramFolderText).
  bool programFolderUnknown = false;

  std::string Directory() const { return base + name; }
};

// What decides it, read from the machine by ReadPlaceFacts.
struct PlaceFacts {
  std::string programDirectory;  // ends in the separator; empty when it can't be read
  bool programDirectoryWritable = false;
  std::string home;                // the user's home folder, never empty
  std::string stateHome;           // $XDG_STATE_HOME as set, maybe empty
  std::string configHome;          // $XDG_CONFIG_HOME as set, maybe empty
  std::string documentsDirectory;  // the user's documents folder when one exists, else empty
};

// True for the folders of the system and of installed software (/usr, /opt,
// /etc, ..., the root and the mount points themselves), where no program of the
// suite puts or moves files. `directory` is absolute; a separator at its end
// doesn't matter.
bool IsSystemFolder(const std::string& directory);

// True when a program in `facts.programDirectory` keeps its files beside itself:
// the folder is known, writable and not a system folder.
bool KeepsFilesBesideProgram(const PlaceFacts& facts);

// The one rule for every program: beside the program when it keeps its files
// there, otherwise the user's place. Relative XDG variables are ignored, as
// the XDG rules ask.
FilePlace DecideFilePlace(const PlaceFacts& facts, const FilesRequest& request);

// The documents folder named in the text of an XDG user folders file
// (XDG_DOCUMENTS_DIR="$HOME/Documents"), without a separator at its end; empty
// when the text names none or names a relative one.
std::string DocumentsFolderFromUserDirs(const std::string& text, const std::string& home);

// What a program says when it couldn't read its own folder, in the code page:
// where its files go instead.
std::string NoProgramFolderText(const FilePlace& place);

// The facts of this process: its executable's folder, the environment, the
// user's folders file.
PlaceFacts ReadPlaceFacts();

// DecideFilePlace, and a user place's base folder (such as ~/.local/state)
// created, readable by the user alone, when it is missing.
FilePlace MakeFilePlace(const PlaceFacts& facts, const FilesRequest& request);

// MakeFilePlace on ReadPlaceFacts: what every program calls.
FilePlace ProgramFilePlace(const FilesRequest& request);

}  // namespace suite
