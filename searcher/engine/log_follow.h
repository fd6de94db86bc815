// Following a live log: a search kept current while the log is written,
// rotated and cut.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "common/exclusive_file.h"
#include "searcher/engine/lorvane_window_model.h"
#include "searcher/engine/search_context.h"

namespace lorvane {

// What one look at the followed log found.
enum class FollowChange {
  kNone,     // nothing new
  kGrown,    // lines appended: the history went on over them
  kRotated,  // another file at the name: a new history of it was started
  kCut,      // the file cut (and maybe written again): a new history of it was started
  kGone,     // no file at the name (for now)
  kFailed,   // the history couldn't go on (it is as it was); Problem() says why
};

// Searches a log into a history, then, at each Look, goes on with it over
// what was appended. When the name gets another file (a rotation), what the
// old file got before it went is read from the file still open here, then a
// new history of the new file is started; a file cut in place (copytruncate)
// starts a new history too. Records are handed out once each, and only for
// lines that have their LF: a last line still being written is handed out
// when it is whole. Holds no more than one history's figures, however long
// it runs. Not thread-safe.
class LogFollower {
 public:
  // `window` shows the searches (their status lines); the updates in
  // between say nothing unless they fail.
  LogFollower(LorvaneWindow& window, SearchContext& context, std::string path, std::string keyword,
              bool matchCase);

  // Searches the log into a new history; false (the window said why) when it failed.
  bool Start();
  // Looks at the log once, and hands the records of what was appended to
  // `take`. When another file's history starts (kRotated, kCut), the old
  // history's last records are handed out first, and the new one's are left
  // for TakeNewRecords, so the caller can say what happened in between.
  FollowChange Look(const std::function<void(std::string_view record)>& take);
  // Hands the records not handed out yet to `take`; false when they can't be read back.
  bool TakeNewRecords(const std::function<void(std::string_view record)>& take);

  const std::string& HistoryDirectory() const { return context_.historyDirectory; }
  // Why the last look failed.
  const std::string& Problem() const { return problem_; }

 private:
  bool SearchAgain();
  // Goes on with the history over the file followed; false when it failed.
  bool GoOn(LogChange* change);

  // The updates' window: it keeps their last word only.
  class QuietWindow : public LorvaneWindowModel {
   public:
    void PostStatus(const std::string& message) override { last = message; }
    std::string last;
  };

  LorvaneWindow& window_;
  SearchContext& context_;
  const std::string path_;
  const std::string keyword_;
  const bool matchCase_;
  QuietWindow quiet_;
  suite::ExclusiveFile followed_;  // the file the history is of, open without a lock
  bool followedDeleted_ = false;   // it was deleted and closed: a file at its name is another
  int64_t handedOut_ = 0;          // records handed out (or passed over at the start)
  int64_t wholeLineResults_ = 0;   // records of whole lines in the history
  std::string problem_;
};

}  // namespace lorvane
