// What the splitter's worker and actions need of the main dialog.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cleavora {

// How the path field's text is left when it gets the focus.
enum class PathSelection { All, None };

// The file-open chooser of "选择文件".
struct FileChooserRequest {
  struct Filter {
    std::string name;     // as listed, e.g. "txt (*.txt)"
    std::string pattern;  // e.g. "*.txt"
  };
  std::string title;
  std::string defaultExtension;  // without the dot
  std::vector<Filter> filters;
  std::string startDirectory;
  bool existingFileOnly = true;
};

// The core reaches the dialog only through these operations. Texts are in the
// code page, paths in file-system bytes; the implementation converts at its edge.
//
// The worker calls from its own thread: an implementation carries out each call
// whole, on the window's thread, in the order made. LinesPerPiece is the one
// exception: the worker asks for it after every line, so it must be answered on
// the calling thread at once and cheaply (an atomic), while Apply may change it.
class CleavoraWindow {
 public:
  virtual ~CleavoraWindow() = default;

  // The stored form.
  virtual std::string FilePath() = 0;
  virtual int64_t LinesPerPiece() = 0;
  virtual void SetFilePath(const std::string& path) = 0;
  virtual void SetLinesPerPiece(int64_t lines) = 0;
  virtual void SetStatusText(const std::string& text) = 0;

  // Read form: all three fields into the stored form. A piece-size field that
  // the form validation rejects is reported to the user by the implementation;
  // false then (a value that parsed is stored all the same).
  virtual bool ReadForm() = 0;
  // Only the path field into the stored file path.
  virtual void ReadPathField() = 0;
  // Show form: the stored form into all three fields.
  virtual void ShowForm() = 0;
  // A text in the status line, leaving the stored status text as it is.
  virtual void ShowStatusLine(const std::string& text) = 0;

  // Idle (true): the path field is editable, choose-file and start are enabled
  // and drops are taken. Splitting (false): all of that is off; open-directory,
  // apply and the piece-size field stay usable.
  virtual void EnableInput(bool enable) = 0;
  virtual bool InputEnabled() = 0;

  virtual void SetTitle(const std::string& title) = 0;
  // Focuses the path field, selects all of its text or none, scrolls to the caret.
  virtual void FocusPathField(PathSelection selection) = 0;
  // The modal chooser; the full path of the chosen file, nothing when cancelled.
  virtual std::optional<std::string> ChooseFile(const FileChooserRequest& request) = 0;
  // Runs RunSplit on a new thread of normal priority and returns at once.
  virtual void StartSplitWorker() = 0;
};

}  // namespace cleavora
