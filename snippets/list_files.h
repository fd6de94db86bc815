// The list files: where they lie, loading one into the snippet list, and the
// file operations behind the window's buttons and the list-file chooser.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/codepage_choice.h"
#include "common/desktop_shell.h"
#include "snippets/list_enumeration.h"
#include "snippets/message_boxes.h"
#include "snippets/snippet_entry.h"
#include "snippets/snipkeep_window.h"

namespace snipkeep {

// Holds the current list file and the snippet list loaded from it. Everything
// runs on the window's thread, except EnumerateListFiles, which reads only the
// fixed list directory and may run on the chooser's worker.
//
// Paths, and the file names a ListName carries, are the file system's bytes;
// list names are code-page text, as the windows show them. Each list file is
// read in its own code page, or in the one `codePageSetting` forces.
class ListFiles {
 public:
  // `listDirectory` gets a separator at its end when it lacks one.
  ListFiles(SnipkeepWindow& window, suite::DesktopShell& shell, std::string listDirectory,
            suite::CodePageSetting codePageSetting = suite::CodePageSettingOfProcess());

  const std::string& ListDirectory() const { return directory_; }
  std::string DefaultListFile() const;
  std::string AutoLoadFile() const;
  const std::string& CurrentListFile() const { return currentListFile_; }
  // The current list's name as the title shows it.
  std::string CurrentListName() const;
  // The snippet list as last loaded; empty after a failed load.
  const std::vector<SnippetEntry>& Entries() const { return entries_; }

  // Start-up: makes the list directory, takes the current list from the
  // auto-load file (the default list when that names nothing that exists),
  // disables the editing controls and loads the current list.
  void Start();

  // Fills the snippet list from a list file and posts the result; a failure
  // leaves the window empty and disabled. True when it was loaded.
  bool LoadListFile(const std::string& path);
  bool ReloadCurrentList() { return LoadListFile(currentListFile_); }

  // Opens the current list in the desktop's editor for text files, creating
  // it empty first when it is missing.
  void OpenCurrentListForEditing();

  std::vector<ListName> EnumerateListFiles() const;

  // Creates an empty list file named by the trimmed `name`; refuses a name
  // that an existing list has in any case of A-Z. Failures go to `boxes`.
  // The new list, or nothing when no list was created.
  std::optional<ListName> CreateListFile(const std::string& name, MessageBoxes& boxes) const;

  // Asks, then deletes the list's file; a failed deletion goes to `boxes`.
  // True when the user confirmed, whether or not the file could be deleted.
  bool DeleteListFile(const ListName& list, MessageBoxes& boxes) const;

  // Makes the chosen list's file current, loads it and remembers it in the
  // auto-load file; opens it for editing when it was `created` in the
  // chooser just before. A missing file reloads the current list. Messages
  // name it as its name and ".txt".
  void ChooseList(const ListName& list, bool created);

 private:
  void FailLoad(const std::string& message);

  SnipkeepWindow& window_;
  suite::DesktopShell& shell_;
  const std::string directory_;
  const suite::CodePageSetting codePageSetting_;
  std::string currentListFile_;
  std::vector<SnippetEntry> entries_;
};

}  // namespace snipkeep
