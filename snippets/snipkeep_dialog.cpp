#include "snippets/snipkeep_dialog.h"

#include <utility>

#include "common/path_util.h"
#include "snippets/copy_operation.h"
#include "snippets/list_chooser.h"
#include "snippets/list_directory.h"
#include "snippets/snipkeep_texts.h"

namespace snipkeep {

SnipkeepDialog::SnipkeepDialog(SnipkeepWindow& window, suite::DesktopShell& shell, std::string listDirectory,
                               std::string programDirectory, suite::CodePageSetting codePageSetting)
    : window_(window), shell_(shell), programDirectory_(suite::WithSeparator(std::move(programDirectory))),
      lists_(window, shell, std::move(listDirectory), std::move(codePageSetting)) {}

void SnipkeepDialog::InitDialog() {
  window_.SetTitle(kProgramTitle);
  for (size_t flag = 0; flag < kFlagCount; ++flag) window_.SetFlag(static_cast<Flag>(flag), kFlagsAtStart[flag]);
  lists_.Start();
}

void SnipkeepDialog::OnEntrySelected(int64_t index) {
  const SnipkeepForm form = window_.ReadForm();
  const auto& entries = lists_.Entries();
  if (index < 0 || index >= static_cast<int64_t>(entries.size())) return;
  const SnippetEntry& entry = entries[static_cast<size_t>(index)];
  if (entry.text.empty()) return;
  if (!entry.heading) {
    ShowLine(entry.text, form);
    return;
  }
  // A heading that is the last entry heads nothing: the boxes stay as they are.
  const std::optional<std::string> snippet = GatherMultiLineSnippet(entries, static_cast<size_t>(index));
  if (snippet) ShowSnippet(*snippet, form);
}

void SnipkeepDialog::ShowSnippet(const std::string& snippet, const SnipkeepForm& form) {
  window_.EnableBox(Box::MultiLine, true);
  window_.SetBoxText(Box::MultiLine, snippet);
  window_.FocusBox(Box::MultiLine);
  window_.PlaceCaret(Box::MultiLine, true);
  window_.EnableBox(Box::SingleLine, false);
  window_.SetBoxText(Box::SingleLine, std::string());
  window_.EnableCopyButton(CopyOperation::MultiDoubled, true);
  window_.EnableCopyButton(CopyOperation::Multi, true);
  window_.EnableCopyButton(CopyOperation::SingleWithLineEnd, false);
  window_.EnableCopyButton(CopyOperation::Single, false);
  if (form.On(Flag::CopyMultiDoubled)) {
    OnCopy(CopyOperation::MultiDoubled);
  } else if (form.On(Flag::CopyMulti)) {
    OnCopy(CopyOperation::Multi);
  }
}

void SnipkeepDialog::ShowLine(const std::string& line, const SnipkeepForm& form) {
  window_.EnableBox(Box::SingleLine, true);
  window_.SetBoxText(Box::SingleLine, line);
  window_.FocusBox(Box::SingleLine);
  window_.EnableBox(Box::MultiLine, false);
  window_.SetBoxText(Box::MultiLine, std::string());
  window_.EnableCopyButton(CopyOperation::MultiDoubled, false);
  window_.EnableCopyButton(CopyOperation::Multi, false);
  window_.EnableCopyButton(CopyOperation::SingleWithLineEnd, true);
  window_.EnableCopyButton(CopyOperation::Single, true);
  window_.PlaceCaret(Box::SingleLine, form.On(Flag::CaretAtEnd));
  if (form.On(Flag::CopySingleWithLineEnd)) {
    OnCopy(CopyOperation::SingleWithLineEnd);
  } else if (form.On(Flag::CopySingle)) {
    OnCopy(CopyOperation::Single);
  }
}

void SnipkeepDialog::OnCopy(CopyOperation operation) {
  // The user may have edited the box since it was filled: its text now counts.
  const SnipkeepForm form = window_.ReadForm();
  const std::string& text = form.Text(BoxOf(operation));
  if (text.empty()) {
    window_.PostStatus(CopyEmptyText(operation));
    return;
  }
  window_.SetClipboardText(ClipboardText(operation, text));
  window_.PostStatus(CopyDoneText(operation));
}

void SnipkeepDialog::OnFlagClicked(Flag flag) {
  switch (flag) {
    case Flag::CopySingleWithLineEnd: window_.SetFlag(Flag::CopySingle, false); break;
    case Flag::CopySingle: window_.SetFlag(Flag::CopySingleWithLineEnd, false); break;
    case Flag::CopyMultiDoubled: window_.SetFlag(Flag::CopyMulti, false); break;
    case Flag::CopyMulti: window_.SetFlag(Flag::CopyMultiDoubled, false); break;
    case Flag::CaretAtEnd: break;
  }
}

void SnipkeepDialog::OnBtnChoose() {
  ListChooser chooser(lists_, lists_.CurrentListName());
  window_.RunListChooser(chooser);
  if (chooser.Choice()) {
    lists_.ChooseList(*chooser.Choice(), chooser.Created());
  } else {
    lists_.ReloadCurrentList();
  }
}

void SnipkeepDialog::OnBtnOpenDirectory() {
  // No working directory: the folder alone is opened.
  shell_.OpenFolder(lists_.ListDirectory(), std::string());
}

void SnipkeepDialog::OnBtnHelp() {
  const std::string readMe = programDirectory_ + kReadMeFileName;
  if (suite::PathExists(readMe)) shell_.OpenFile(readMe);
}

}  // namespace snipkeep
