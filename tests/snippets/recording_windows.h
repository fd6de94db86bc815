// The snippet tool's windows and shell as its tests see them: the in-memory
// models, with every call kept in order.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "common/desktop_shell.h"
#include "snippets/list_chooser_window_model.h"
#include "snippets/snipkeep_window_model.h"

namespace snipkeep::testing {

class CallLog {
 public:
  std::vector<std::string> calls;

  bool Called(const std::string& call) const { return std::find(calls.begin(), calls.end(), call) != calls.end(); }
  // The calls that begin with `prefix`, in order.
  std::vector<std::string> Starting(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const auto& call : calls) {
      if (call.rfind(prefix, 0) == 0) found.push_back(call);
    }
    return found;
  }
};

class RecordingWindow : public SnipkeepWindowModel, public CallLog {
 public:
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& entry : Entries()) texts.push_back(entry.text);
    return texts;
  }
  std::vector<std::string> Statuses() const { return Starting("PostStatus("); }

 protected:
  void Record(const std::string& call) override { calls.push_back(call); }
};

class RecordingChooserWindow : public ListChooserWindowModel, public CallLog {
 public:
  std::vector<std::string> Names() { return ListTexts(); }
  std::string Selected() {
    const auto names = ListTexts();
    return ListSelection() < 0 ? std::string("(none)") : names[static_cast<size_t>(ListSelection())];
  }

 protected:
  void Record(const std::string& call) override { calls.push_back(call); }
};

class RecordingShell : public suite::DesktopShell {
 public:
  std::vector<std::string> opened;  // files, and folders as "folder:<path>"
  void OpenFolder(const std::string& folder, const std::string& workingDirectory) override {
    opened.push_back("folder:" + folder + (workingDirectory.empty() ? "" : " in " + workingDirectory));
  }
  void OpenFile(const std::string& path) override { opened.push_back(path); }
};

}  // namespace snipkeep::testing
