// Crafted history directories restored in the window: a mutated descriptor
// (bytes changed, cut or inserted: line ends, 0x08, 0x1A, NUL, long digit
// runs, lines of megabytes, index lines of any number) and crafted, missing or
// high-numbered result files, dropped on the window, which restores, lists and
// pages them, and listed by the history browser. The window must report or
// restore, never crash or hang; under the sanitizers no allocation may pass
// 64 MB. LORVANE_FUZZ_ROUNDS and LORVANE_FUZZ_SEED set the rounds and seed.
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "common/desktop_shell.h"
#include "searcher/app/history_dlg.h"
#include "searcher/app/lorvane_dlg.h"
#include "searcher/engine/command_line.h"
#include "searcher/engine/keyword_search.h"
#include "searcher/engine/quick_index.h"
#include "searcher/history/result_descriptor.h"
#include "test_support/patience.h"
#include "test_support/temp_dir.h"
#include "window_test_support.h"

namespace {

namespace fs = std::filesystem;
using suite::testing::ReadFile;
using suite::testing::WriteFile;

int Setting(const char* name, int fallback) {
  const char* text = std::getenv(name);
  return text && *text ? std::atoi(text) : fallback;
}

class HistoryFuzzWindowTest : public QObject {
  Q_OBJECT

 private:
  // A log of 30000 lines with "ERROR" in every seventh, and the history of
  // its search as the search writes it: 4286 results in three files.
  void MakeGenuineHistory() {
    std::string log;
    lorvane::QuickIndex index;
    std::vector<std::string> files(1);
    int64_t results = 0;
    for (int64_t line = 1; line <= 30000; ++line) {
      if ((line - 1) % 10000 == 0) {
        index.Set(suite::BlockOfLine(suite::LineNumber{line}), suite::ByteOffset{static_cast<int64_t>(log.size())});
      }
      const std::string text = "line " + std::to_string(line) + (line % 7 == 1 ? " ERROR x" : " ok");
      log += text + "\r\n";
      if (line % 7 != 1) continue;
      if (results > 0 && results % 2000 == 0) files.emplace_back();
      files.back() += lorvane::FormatResultRecord(++results, line, text);
    }
    target = WriteFile(*dir / "sample.log", log);
    genuine = *dir / "genuine";
    fs::create_directories(genuine);
    for (size_t number = 0; number < files.size(); ++number) {
      WriteFile(genuine + "/" + lorvane::ResultFileName(static_cast<int64_t>(number)), files[number]);
    }
    descriptor = lorvane::ComposeDescriptor(
        {genuine, target, "ERROR", "N", "?", "30000", std::to_string(results)}, index);
  }

  std::string Mutated(std::string bytes) {
    const std::vector<std::string> pieces = {"\r\n", "\n", "\x08", "\x1A", std::string(1, '\0'), "-", "_mp[",
                                             "]=", ";"};
    const int changes = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < changes; ++i) {
      const unsigned op = random() % 10;
      if (op < 3 && !bytes.empty()) {
        bytes[random() % bytes.size()] = static_cast<char>(random() % 256);
      } else if (op < 5) {
        std::string piece;
        switch (random() % 4) {
          case 0: piece = pieces[random() % pieces.size()]; break;
          case 1: piece = std::string(1 + random() % 30, '9'); break;
          case 2: piece = std::string(random() % 2 ? 5000 : 2000000, 'x'); break;
          default: piece = std::string(10, 'x'); break;
        }
        bytes.insert(random() % (bytes.size() + 1), piece);
      } else if (op < 7 && !bytes.empty()) {
        bytes.erase(random() % bytes.size(), 1 + random() % 50);
      } else {
        bytes += "_mp[" + std::to_string(static_cast<int64_t>(random() % 1000000000000) - 5) + "]=" +
                 std::to_string(static_cast<int64_t>(random() % 1000000000000000) - 5) + ";\r\n";
      }
    }
    return bytes;
  }

  // A copy of the genuine history, its descriptor mutated, sometimes a
  // result file crafted or taken away. Gives the directory.
  std::string CraftedHistory(int round) {
    char name[32];
    std::snprintf(name, sizeof name, "2001%04d_%06d", round % 10000, round);
    const std::string history = work + "/" + name;
    fs::copy(genuine, history);
    // A third of the descriptors keep their header, a third stay whole (their
    // result files are crafted instead), so the lists and pages of the window
    // see crafted histories that restore.
    const unsigned mode = random() % 3;
    size_t header = 0;
    if (mode == 1) {
      for (int line = 0; line < 7; ++line) header = descriptor.find('\n', header) + 1;
    }
    WriteFile(history + "/result.lvn",
              mode == 2 ? descriptor : descriptor.substr(0, header) + Mutated(descriptor.substr(header)));
    const unsigned kind = mode == 2 ? random() % 4 : random() % 10;
    if (kind < 3) {
      const int64_t numbers[] = {0, 1, 2, 5, 999999999};
      const std::string head = ReadFile(genuine + "/000000.txt").substr(0, random() % 2 ? 5000 : 100000);
      WriteFile(history + "/" + lorvane::ResultFileName(numbers[random() % 5]), Mutated(head));
    } else if (kind < 4) {
      fs::remove(history + "/" + lorvane::ResultFileName(static_cast<int64_t>(random() % 3)));
    }
    return history;
  }

 private slots:
  void initTestCase() {
    dir = std::make_unique<suite::testing::TempDir>();
    work = fs::canonical(dir->Path()).string() + "/__Lorvane__";
    fs::create_directories(work);
    random.seed(static_cast<unsigned>(Setting("LORVANE_FUZZ_SEED", 7)));
    MakeGenuineHistory();
  }

  void craftedHistoriesAreReportedOrRestored() {
    lorvane::testing::RecordingShell shell;
    lorvane::CLorvaneDlg window(lorvane::CommandLineRequest{}, shell);
    window.Context().workDirectory = work;
    window.show();
    // The browser says with a message box that a descriptor can't be read: closed as it comes.
    int messages = 0;
    QTimer closer;
    connect(&closer, &QTimer::timeout, [&messages] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        ++messages;
        box->close();
      }
    });
    closer.start(5);
    const int rounds = Setting("LORVANE_FUZZ_ROUNDS", 120);
    int restored = 0;
    for (int round = 0; round < rounds; ++round) {
      const std::string history = CraftedHistory(round);
      window.OpenFile(history + "/result.lvn");  // as a dropped descriptor
      QVERIFY2(lorvane::testing::WaitForWorkers(window), history.c_str());
      if (window.Context().historyDirectory == fs::canonical(history).string()) {
        ++restored;
        // Another result file, and the page of one of its lines.
        using lorvane::ListControl;
        if (const int files = window.ListCount(ListControl::ResultFiles); files > 0) {
          window.ListSelectText(ListControl::ResultFiles, window.ListText(ListControl::ResultFiles, random() % files));
          window.OnSelectResultFile();
          if (const int lines = window.ListCount(ListControl::Results); lines > 0) {
            window.ListSelectText(ListControl::Results, window.ListText(ListControl::Results, random() % lines));
            window.OnSelectResultLine();
            QVERIFY2(lorvane::testing::WaitForWorkers(window), history.c_str());
          }
        }
      }
      if (round % 10 == 0) {  // the browser lists it beside the others
        lorvane::CHistoryDlg browser(work, shell);
        browser.show();
        QVERIFY(suite::testing::WaitUntil([&] { return !browser.Listing(); }));
        browser.reject();
      }
      fs::remove_all(history);
    }
    qInfo("%d crafted histories, %d restored, %d message boxes", rounds, restored, messages);
  }

 private:
  std::unique_ptr<suite::testing::TempDir> dir;
  std::mt19937_64 random;
  std::string work, target, genuine, descriptor;
};

}  // namespace

QTEST_MAIN(HistoryFuzzWindowTest)
#include "history_fuzz_window_test.moc"
