#include "searcher/cli/follow_command.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "common/codepage.h"
#include "common/file_watch.h"
#include "common/path_util.h"
#include "common/stop_signals.h"
#include "searcher/cli/console_window.h"
#include "searcher/engine/log_follow.h"
#include "searcher/engine/search_context.h"

namespace lorvane {
namespace {

// SUITE_FOLLOW_MS, a whole number of milliseconds up to a minute; 250 unset
// or otherwise.
int LeastTimeBetweenLooks() {
  const char* text = std::getenv("SUITE_FOLLOW_MS");
  if (!text || !*text || std::strlen(text) > 5 || std::strspn(text, "0123456789") != std::strlen(text)) return 250;
  const int ms = std::atoi(text);
  return ms <= 60000 ? ms : 250;
}

}  // namespace

int FollowLog(ConsoleWindow& window, const std::string& path, const std::string& keyword, bool matchCase) {
  using suite::Cp;
  suite::CatchStopSignals();  // a stop during the search ends it after the search, whole
  SearchContext context;
  window.AttachContext(&context);
  StartUpEngine(window, context, ProgramFiles());
  LogFollower follower(window, context, path, keyword, matchCase);
  if (!follower.Start()) {
    if (!follower.Problem().empty()) window.PostStatus(follower.Problem());
    return 1;
  }
  window.PrintLine(suite::PathText(follower.HistoryDirectory()));
  suite::FileWatch watch;
  watch.Watch(path);
  window.PostStatus(Cp("跟踪目标文件的新增内容") + (watch.Polling() ? Cp("(每 250 毫秒查看一次)") : "") +
                    Cp("，按 Ctrl-C 停止。"));
  window.Flush();
  const auto print = [&](std::string_view record) { window.PrintData(std::string(record)); };
  const int rest = LeastTimeBetweenLooks();
  bool gone = false;
  std::string problem;   // of the last look, said once
  bool changed = false;  // while the last look rested
  // A look a second at least, whatever the watch says: a wake is only a hint.
  while ((changed || watch.Wait(1000) != suite::WatchWake::kStopped) && !suite::StopRequested()) {
    // A log written line by line wakes the watch for every line: the looks
    // (each an update, written durably) are `rest` apart at least, and the
    // changes meanwhile wait for the next.
    const auto rested = std::chrono::steady_clock::now() + std::chrono::milliseconds(rest);
    const FollowChange change = follower.Look(print);
    if (change != FollowChange::kGone) gone = false;
    switch (change) {
      case FollowChange::kRotated:
        window.PostStatus(Cp("跟踪: 目标文件已被另一个文件替换(轮转)，新的搜索历史: ") +
                          suite::PathText(follower.HistoryDirectory()));
        break;
      case FollowChange::kCut:
        window.PostStatus(Cp("跟踪: 目标文件被截短或改写，新的搜索历史: ") + suite::PathText(follower.HistoryDirectory()));
        break;
      case FollowChange::kGone:
        if (!gone) window.PostStatus(Cp("跟踪: 目标文件已不存在，等它再出现。"));
        gone = true;
        break;
      case FollowChange::kFailed: break;
      case FollowChange::kNone:
      case FollowChange::kGrown: break;
    }
    // A failure (a full disk, the log or the history held by another
    // program) is said once and tried again at the next look: the history
    // stays as it was meanwhile.
    if (change == FollowChange::kFailed || !follower.TakeNewRecords(print)) {
      if (follower.Problem() != problem) {
        window.PostStatus(follower.Problem());
        window.PostStatus(Cp("跟踪: 下次查看时再试。"));
      }
      problem = follower.Problem();
    } else {
      problem.clear();
    }
    window.Flush();
    changed = false;
    for (auto now = std::chrono::steady_clock::now(); now < rested && !suite::StopRequested();
         now = std::chrono::steady_clock::now()) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(rested - now).count() + 1;
      changed = watch.Wait(static_cast<int>(left)) == suite::WatchWake::kChanged || changed;
    }
  }
  window.PostStatus(Cp("停止跟踪。搜索历史: ") + suite::PathText(follower.HistoryDirectory()));
  return 128 + suite::StopSignalNumber();
}

}  // namespace lorvane
