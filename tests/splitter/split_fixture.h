// A split run in a scratch program directory, and what it left behind.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "recording_window.h"
#include "splitter/split.h"
#include "splitter/split_state.h"
#include "test_support/temp_dir.h"

namespace cleavora::testing {

// Text lines "1\n" .. "<count>\n".
inline std::string NumberedLines(int first, int last, const std::string& end = "\n") {
  std::string text;
  for (int i = first; i <= last; ++i) text += std::to_string(i) + end;
  return text;
}

class SplitFixture : public ::testing::Test {
 protected:
  void SetUp() override { suite::SetActiveCodePage(suite::CodePage::Gbk); }

  std::string ProgramDirectory() const { return dir.Path() + "/"; }

  std::string WriteSource(const std::string& bytes, const std::string& name = "source.txt") {
    return suite::testing::WriteFile(dir / name, bytes);
  }

  // Splits `path` with `linesPerPiece` as the window holds it.
  int SplitFile(const std::string& path, int64_t linesPerPiece, size_t readBlock = suite::kMapWindowSize,
                size_t writeBuffer = suite::kWriteBlockSize) {
    window.SetFilePath(path);
    window.SetLinesPerPiece(linesPerPiece);
    window.calls.clear();
    window.statusTexts.clear();
    window.linesPerPieceReads = 0;
    return RunSplit(window, state, readBlock, writeBuffer);
  }

  // The piece files of the last split, by name, and their contents in order.
  std::vector<std::string> PieceNames() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(state.LastSplitDirectory())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  std::vector<std::string> Pieces() const {
    std::vector<std::string> pieces;
    for (const auto& name : PieceNames()) {
      pieces.push_back(suite::testing::ReadFile(state.LastSplitDirectory() + "/" + name));
    }
    return pieces;
  }

  suite::testing::TempDir dir;
  SplitState state{ProgramDirectory()};
  RecordingWindow window;
};

}  // namespace cleavora::testing
