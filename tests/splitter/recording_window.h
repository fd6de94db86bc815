// The splitter's dialog as its tests see it: the in-memory model, with every
// call kept in order and status texts readable in UTF-8.
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "common/desktop_shell.h"
#include "splitter/cleavora_window_model.h"

namespace cleavora::testing {

class RecordingWindow : public CleavoraWindowModel {
 public:
  std::vector<std::string> calls;        // every recorded operation, in order
  std::vector<std::string> statusTexts;  // SetStatusText, in UTF-8
  // Called with the number of the read (1 for the first) before each answer
  // of LinesPerPiece: the worker asks once per line, so this is the line.
  std::function<void(long read)> onLinesPerPiece;
  long linesPerPieceReads = 0;

  int64_t LinesPerPiece() override {
    ++linesPerPieceReads;
    if (onLinesPerPiece) onLinesPerPiece(linesPerPieceReads);
    return CleavoraWindowModel::LinesPerPiece();
  }
  void SetStatusText(const std::string& text) override {
    statusTexts.push_back(suite::ToUtf8(text));
    CleavoraWindowModel::SetStatusText(text);
  }

  bool Called(const std::string& call) const { return std::find(calls.begin(), calls.end(), call) != calls.end(); }
  // What the status line shows, in UTF-8.
  std::string StatusLine() { return suite::ToUtf8(Fields().statusText); }

 protected:
  void Record(const std::string& call) override { calls.push_back(call); }
};

// The desktop shell, keeping the folders it was asked to open.
class RecordingShell : public suite::DesktopShell {
 public:
  struct Request {
    std::string folder, workingDirectory;
  };
  std::vector<Request> folders;
  void OpenFolder(const std::string& folder, const std::string& workingDirectory) override {
    folders.push_back({folder, workingDirectory});
  }
  void OpenFile(const std::string&) override {}
};

}  // namespace cleavora::testing
