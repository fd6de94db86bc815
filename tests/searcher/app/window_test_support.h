// What the searcher's window tests share: a shell that records, the status
// line, waiting for workers, finding controls.
#pragma once

#include <QListWidget>
#include <QPushButton>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "common/desktop_shell.h"
#include "searcher/app/lorvane_dlg.h"
#include "test_support/patience.h"

namespace lorvane::testing {

struct RecordingShell : suite::DesktopShell {
  std::vector<std::string> opened;
  void OpenFolder(const std::string& folder, const std::string&) override { opened.push_back(folder); }
  void OpenFile(const std::string& path) override { opened.push_back(path); }
};

// The newest status line without its time prefix, as UTF-8.
inline std::string LastStatus(CLorvaneDlg& dialog) { return suite::ToUtf8(dialog.Status().Lines()[2].substr(17)); }

// Waits until no worker runs and the window is unlocked.
inline bool WaitForWorkers(CLorvaneDlg& dialog) {
  return suite::testing::WaitUntil([&] { return dialog.RunningWorkers() == 0 && dialog.ControlsEnabled(); });
}

inline QPushButton* ButtonOf(QWidget& window, const char* caption) {
  for (QPushButton* button : window.findChildren<QPushButton*>()) {
    if (button->text() == QString::fromUtf8(caption)) return button;
  }
  return nullptr;
}

inline void ClickEntry(QListWidget* list, int row) {
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

}  // namespace lorvane::testing
