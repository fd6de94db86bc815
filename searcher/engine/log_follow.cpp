#include "searcher/engine/log_follow.h"

#include "common/codepage.h"
#include "searcher/engine/keyword_search.h"
#include "searcher/engine/quick_pre_read.h"
#include "searcher/engine/search_update.h"
#include "searcher/history/result_records.h"

namespace lorvane {

LogFollower::LogFollower(LorvaneWindow& window, SearchContext& context, std::string path, std::string keyword,
                         bool matchCase)
    : window_(window), context_(context), path_(std::move(path)), keyword_(std::move(keyword)), matchCase_(matchCase) {}

bool LogFollower::Start() {
  if (!SearchAgain()) return false;
  handedOut_ = wholeLineResults_;  // the search's own results are its history's, not news
  return true;
}

bool LogFollower::SearchAgain() {
  followed_.Close();
  followedDeleted_ = false;
  window_.SetFormText(FormText::FilePath, path_);
  window_.SetFormText(FormText::Keyword, keyword_);
  window_.SetMatchCase(matchCase_);
  window_.RefreshForm();
  if (QuickPreRead(window_, context_) != 0 || Search(window_, context_) != 0) return false;
  handedOut_ = 0;
  wholeLineResults_ = 0;
  // The file searched is the one followed from now on; should another have
  // taken the name meanwhile, the next look finds it out.
  LogChange change = LogChange::kSame;
  return followed_.OpenShared(path_) && GoOn(&change);
}

bool LogFollower::GoOn(LogChange* change) {
  ContinuedSearch continued;
  quiet_.last.clear();
  const int done = ContinueSearch(quiet_, context_, &continued, suite::kMapWindowSize, &followed_);
  *change = continued.change;
  if (done != 0) {
    problem_ = quiet_.last;
    return false;
  }
  wholeLineResults_ = continued.wholeLineResults;
  return true;
}

FollowChange LogFollower::Look(const std::function<void(std::string_view record)>& take) {
  problem_.clear();
  suite::ExclusiveFile atName;
  LogChange change = LogChange::kSame;
  // What the file followed got, handed out before another file's history starts.
  const auto finishFollowed = [&] {
    if (followed_.IsOpen() && context_.targetIdentity && followed_.Size() > context_.targetIdentity->stop.value &&
        GoOn(&change)) {
      TakeNewRecords(take);
    }
  };
  // A deleted file may still be found at its name (on Windows, while it is open).
  if (!atName.OpenShared(path_) || atName.Deleted()) {
    finishFollowed();  // renamed away and not made again yet: the old file may still get lines
    if (followed_.Deleted()) {
      // Nothing can be read from it later; let it go, so its name can be made again.
      followed_.Close();
      followedDeleted_ = true;
    }
    return FollowChange::kGone;
  }
  if (!followed_.IsOpen() || !context_.targetIdentity) {
    const FollowChange news = followedDeleted_ ? FollowChange::kRotated : FollowChange::kCut;
    return SearchAgain() ? news : FollowChange::kFailed;
  }
  if (atName.FileIdentity() != followed_.FileIdentity()) {
    finishFollowed();
    return SearchAgain() ? FollowChange::kRotated : FollowChange::kFailed;
  }
  // Nothing after the stop: a hash or two tell whether it is still what was searched.
  if (atName.Size() == context_.targetIdentity->stop.value &&
      CompareLog(*context_.targetIdentity, atName) == LogChange::kSame) {
    return FollowChange::kNone;
  }
  if (GoOn(&change)) {
    if (!TakeNewRecords(take)) return FollowChange::kFailed;
    return change == LogChange::kGrown ? FollowChange::kGrown : FollowChange::kNone;
  }
  if (change == LogChange::kCut || change == LogChange::kReplaced) {
    return SearchAgain() ? FollowChange::kCut : FollowChange::kFailed;
  }
  return FollowChange::kFailed;
}

bool LogFollower::TakeNewRecords(const std::function<void(std::string_view record)>& take) {
  if (handedOut_ >= wholeLineResults_) return true;
  const bool read = ForEachResultRecord(context_.historyDirectory, handedOut_ + 1, wholeLineResults_,
                                        [&](std::string_view record) {
                                          take(record);
                                          ++handedOut_;
                                          return true;
                                        });
  if (!read) problem_ = suite::Cp("读取搜索结果文件失败! 目录[") + context_.historyDirectory + "]";
  return read;
}

}  // namespace lorvane
