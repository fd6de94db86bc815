// Where a keyword search's records go: paged result files of a history.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/output_file.h"
#include "searcher/engine/line_search.h"

namespace lorvane {

class LorvaneWindow;

// What a search that goes on in an existing history starts from: the records
// it keeps, and the bytes of the result file they end in that it keeps (the
// file's first records, whole; that file is rewritten with them first).
struct ResultsSoFar {
  int64_t results = 0;
  std::string keptFrom;  // the result file the records go on in; empty when they start a new one
  int64_t keptBytes = 0;
  // The file's last record was taken off: it is rewritten even when no
  // record follows.
  bool lastTakenOff = false;
};

// Writes the records into result files "%06d.txt" of kResultFileRecords each,
// numbered on from file to file; stops the search when a file can't be made or
// written, or the target is cut under a line. Records are counted, listed and
// kept whole only: a search that fails leaves files of whole records, and its
// figures count them.
//
// A new search lists its files, and the first file's records, as it goes. A
// search going on (with ResultsSoFar) lists nothing and writes every file it
// changes aside, at its staged name (staged_files.h), for its caller to put in
// place with the rest of the history.
class ResultSink : public LineSink {
 public:
  ResultSink(LorvaneWindow& window, const std::string& historyDirectory);
  ResultSink(LorvaneWindow& window, const std::string& historyDirectory, ResultsSoFar soFar);

  bool OnMatch(suite::LineNumber number, const FoundLine& line) override;
  void OnCheckpoint(suite::LineNumber line) override;

  // Closes the last file; false after a failure, or when its records didn't
  // all reach the disk.
  bool Finish();

  enum Failure { none, createFailed, writeFailed, memoryFailed };
  Failure failure() const { return failure_; }
  int64_t results() const { return results_; }
  // The failure as a status line says it after its prefix; empty for none.
  std::string FailureText() const;
  // The files the records fill, from the first.
  int64_t files() const;
  // The files this sink wrote, by path, in order.
  const std::vector<std::string>& written() const { return written_; }

 private:
  bool OpenFile();
  bool CopyKeptRecords();
  bool CloseFile();
  void RecordWritten();
  bool Fail(Failure failure);

  LorvaneWindow& window_;
  const std::string historyDirectory_;
  const bool live_;  // a new search: it lists as it goes, and names files as they stay
  ResultsSoFar soFar_;
  suite::OutputFile file_;
  bool fileOpened_ = false;
  int64_t fileNumber_ = 0;
  int64_t results_ = 0;
  std::string record_;
  Failure failure_ = none;
  std::string failedPath_;
  int64_t failedLine_ = 0;
  std::vector<std::string> written_;
};

// "%010d|%010d| %s" and CR LF.
std::string FormatResultRecord(int64_t resultNumber, int64_t lineNumber, std::string_view text);

// A text with every tab replaced by two blanks, as the lists show it.
std::string TabsAsBlanks(std::string_view text);

}  // namespace lorvane
