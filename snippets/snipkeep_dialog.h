// The snippet window's logic: the entry click, the copies, the check boxes
// and the icon buttons.
#pragma once

#include <cstdint>
#include <string>

#include "common/desktop_shell.h"
#include "snippets/list_files.h"
#include "snippets/snipkeep_window.h"

namespace snipkeep {

// The window holds one SnipkeepDialog and forwards its events to it, all on
// the window's thread.
class SnipkeepDialog {
 public:
  // `listDirectory` is normally DefaultListDirectory(), `programDirectory`
  // (where the read-me lies) GetModuleDirectory(); `codePageSetting` is
  // SUITE_CODEPAGE's unless a test gives its own.
  SnipkeepDialog(SnipkeepWindow& window, suite::DesktopShell& shell, std::string listDirectory,
                 std::string programDirectory,
                 suite::CodePageSetting codePageSetting = suite::CodePageSettingOfProcess());

  // The window's initialisation: the bare title, the check boxes' start
  // values, then the list files' start-up, which loads the current list.
  void InitDialog();

  // A change of the snippet list's selection; -1 when none is selected.
  void OnEntrySelected(int64_t index);
  // A copy button.
  void OnCopy(CopyOperation operation);
  // A click on a check box, after it has changed: clears the other of its pair.
  void OnFlagClicked(Flag flag);

  void OnBtnChoose();
  void OnBtnEdit() { lists_.OpenCurrentListForEditing(); }
  void OnBtnRefresh() { lists_.ReloadCurrentList(); }
  void OnBtnOpenDirectory();
  void OnBtnHelp();

  ListFiles& Lists() { return lists_; }
  const ListFiles& Lists() const { return lists_; }

 private:
  void ShowSnippet(const std::string& snippet, const SnipkeepForm& form);
  void ShowLine(const std::string& line, const SnipkeepForm& form);

  SnipkeepWindow& window_;
  suite::DesktopShell& shell_;
  const std::string programDirectory_;
  ListFiles lists_;
};

}  // namespace snipkeep
