#include "splitter/split.h"

#include <cinttypes>
#include <cstdio>

#include "common/exclusive_file.h"
#include "common/line_reader.h"
#include "common/output_file.h"
#include "common/path_util.h"
#include "common/stamped_directory.h"
#include "splitter/cleavora_texts.h"
#include "splitter/cleavora_window.h"
#include "splitter/split_state.h"

namespace cleavora {
namespace {

// Every end but a stop: the status text, the form, input back on.
int Finish(CleavoraWindow& window, const std::string& statusText, int result) {
  window.SetStatusText(statusText);
  window.ShowForm();
  window.EnableInput(true);
  return result;
}

}  // namespace

std::string PiecePath(const std::string& splitDirectory, int64_t piece) {
  char name[32];
  std::snprintf(name, sizeof name, "%09" PRId64 ".txt", piece);
  return splitDirectory + suite::kPathSeparator + name;
}

int RunSplit(CleavoraWindow& window, SplitState& state, size_t readBlockSize, size_t writeBufferSize) {
  if (state.StopRequested()) return -1;
  const std::string sourcePath = window.FilePath();
  if (!suite::PathExists(sourcePath)) return Finish(window, MissingSourceText(), -1);

  suite::ExclusiveFile source;
  if (!source.Open(sourcePath)) return Finish(window, OpenFailedText(sourcePath), -1);
  window.ShowStatusLine(SplitStartingText());

  // Neither failure is reported here: the first piece then can't be created.
  suite::MakeDirectory(state.WorkDirectory());
  const std::string splitDirectory = suite::MakeFreshStampedDirectory(state.WorkDirectory());
  state.SetLastSplitDirectory(splitDirectory);

  int64_t piece = 0;
  int64_t linesInPiece = 0;
  int64_t totalLines = 0;
  std::string piecePath = PiecePath(splitDirectory, piece);
  suite::OutputFile writer(writeBufferSize);
  if (!writer.Create(piecePath)) return Finish(window, CreateFailedText(piecePath), -1);

  suite::LineReader reader(source, 0, readBlockSize);
  suite::TextLine line;
  while (reader.Next(line)) {
    if (!writer.AppendLine(line.text)) return Finish(window, WriteFailedText(piecePath), -1);
    ++linesInPiece;
    ++totalLines;
    if (state.StopRequested()) return -1;
    if (linesInPiece < window.LinesPerPiece()) continue;

    ++piece;
    window.SetStatusText(ProgressText(totalLines, piece));
    window.ShowForm();
    if (!writer.Close()) return Finish(window, WriteFailedText(piecePath), -1);
    piecePath = PiecePath(splitDirectory, piece);
    if (!writer.Create(piecePath)) return Finish(window, CreateFailedText(piecePath), -1);
    linesInPiece = 0;
  }
  if (reader.Failed()) return Finish(window, ReadFailedText(sourcePath), -1);
  source.Close();
  if (!writer.Close()) return Finish(window, WriteFailedText(piecePath), -1);
  if (state.StopRequested()) return -1;
  // The last piece counts even when it is empty.
  return Finish(window, SuccessText(totalLines, piece + 1), 0);
}

}  // namespace cleavora
