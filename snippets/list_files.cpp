#include "snippets/list_files.h"

#include <cerrno>
#include <utility>

#include "common/codepage.h"
#include "common/file_moves.h"
#include "common/path_util.h"
#include "snippets/auto_load_file.h"
#include "snippets/editing_controls.h"
#include "snippets/list_directory.h"
#include "snippets/list_file_reader.h"
#include "snippets/list_name.h"
#include "snippets/snipkeep_texts.h"

namespace snipkeep {

using suite::PathText;

ListFiles::ListFiles(SnipkeepWindow& window, suite::DesktopShell& shell, std::string listDirectory,
                     suite::CodePageSetting codePageSetting)
    : window_(window), shell_(shell), directory_(suite::WithSeparator(std::move(listDirectory))),
      codePageSetting_(std::move(codePageSetting)), currentListFile_(DefaultListFile()) {}

std::string ListFiles::DefaultListFile() const { return directory_ + FileSystemName(DefaultListFileName()); }

std::string ListFiles::AutoLoadFile() const { return directory_ + kAutoLoadFileName; }

std::string ListFiles::CurrentListName() const { return TitleNameOfPath(currentListFile_); }

void ListFiles::Start() {
  suite::MakeDirectory(directory_);  // an existing one is the usual case
  const std::string candidate = ReadAutoLoadFile(AutoLoadFile());
  currentListFile_ = suite::PathExists(candidate) ? candidate : DefaultListFile();
  DisableEditingControls(window_);
  LoadListFile(currentListFile_);
}

bool ListFiles::LoadListFile(const std::string& path) {
  if (!suite::PathExists(path)) {
    FailLoad(LoadMissingText(PathText(path)));
    return false;
  }
  if (ReadListFile(path, entries_, codePageSetting_) != ListReadResult::Read) {
    FailLoad(LoadOpenFailedText(PathText(path)));
    return false;
  }
  window_.ListClear();
  for (const auto& entry : entries_) window_.ListAppend(entry.text, ColourOf(entry));
  window_.SetBoxText(Box::SingleLine, std::string());
  window_.SetBoxText(Box::MultiLine, std::string());
  window_.PostStatus(LoadSucceededText(PathText(path)));
  window_.SetTitle(TitleWithList(CurrentListName()));
  return true;
}

void ListFiles::FailLoad(const std::string& message) {
  entries_.clear();
  ResetEditingControls(window_);
  window_.PostStatus(message);
}

void ListFiles::OpenCurrentListForEditing() {
  if (!suite::PathExists(currentListFile_)) {
    // The texts speak of the default list whichever list is current.
    if (suite::CreateEmptyFile(currentListFile_) != 0) {
      window_.PostStatus(DefaultListCreateFailedText(PathText(currentListFile_)));
      return;
    }
    window_.PostStatus(DefaultListCreatedText(PathText(currentListFile_)));
  }
  shell_.OpenFile(currentListFile_);
}

std::vector<ListName> ListFiles::EnumerateListFiles() const { return snipkeep::EnumerateListFiles(directory_); }

std::optional<ListName> ListFiles::CreateListFile(const std::string& name, MessageBoxes& boxes) const {
  const std::string trimmed = TrimName(name);
  if (trimmed.empty()) return std::nullopt;
  for (const auto& list : EnumerateListFiles()) {
    if (SameNameIgnoringCase(trimmed, list.name)) {
      boxes.ShowMessage(DuplicateNameText());
      return std::nullopt;
    }
  }
  const std::string fileName = FileSystemName(trimmed + kListExtension);
  // A separator would put the file outside the list directory, where no
  // chooser ever finds it.
  const bool plainName = fileName.find(suite::kPathSeparator) == std::string::npos &&
                         fileName.find('\0') == std::string::npos;
  const int error = plainName ? suite::CreateEmptyFile(directory_ + fileName) : EINVAL;
  if (error != 0) {
    boxes.ShowMessage(CreateListFailedText(error));
    return std::nullopt;
  }
  return ListName{trimmed, false, fileName};
}

bool ListFiles::DeleteListFile(const ListName& list, MessageBoxes& boxes) const {
  const std::string path = ListFilePath(directory_, list);
  if (!boxes.AskYesNo(DeleteQuestionText())) return false;
  if (const int error = suite::RemoveFile(path); error != 0) boxes.ShowMessage(DeleteFailedText(error));
  return true;
}

void ListFiles::ChooseList(const ListName& list, bool created) {
  const std::string fileName = list.name + kListExtension;
  const std::string path = ListFilePath(directory_, list);
  if (!suite::PathExists(path)) {
    ReloadCurrentList();
    window_.PostStatus(ChosenListMissingText(fileName));
    return;
  }
  currentListFile_ = path;
  // After a failed load the failure stays in the status line, not a success.
  if (LoadListFile(currentListFile_)) window_.PostStatus(ListChosenText(fileName));
  if (!WriteAutoLoadFile(AutoLoadFile(), currentListFile_)) {
    window_.PostStatus(AutoLoadWriteFailedText(PathText(AutoLoadFile())));
    ReloadCurrentList();
    return;
  }
  if (created) OpenCurrentListForEditing();
}

}  // namespace snipkeep
