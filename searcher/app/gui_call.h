// Carries out a call on a window's thread, whole, and waits for it.
#pragma once

#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

#include "common/tuning.h"

namespace lorvane {

// From the window's own thread the call runs at once; from a worker it is
// queued to the window's thread and the worker waits for it, so the worker's
// calls take effect one by one in the order made. Once `closing` is set, calls
// from workers are dropped: the window is going away and the program ends.
template <typename Function>
void RunOnGui(QObject* window, const std::atomic<bool>& closing, Function&& function) {
  if (QThread::currentThread() == window->thread()) {
    function();
    return;
  }
  if (closing.load()) return;
  QMetaObject::invokeMethod(window, std::forward<Function>(function), Qt::BlockingQueuedConnection);
}

// Calls that give nothing back and come in long runs (status lines, list
// entries, progress steps), kept in order for the window's thread. A worker
// adds a call under a lock. The first call after a quiet spell posts an event
// and is carried out at once; while calls keep coming the window takes them
// every few milliseconds, all at once: a search posting thousands a second
// woke the window's thread for nearly each one, on a core the search needs.
// A call that waits (RunQueuedFirst) takes what is queued before it, so the
// window sees every call whole and in the order made.
class PostedCalls {
 public:
  explicit PostedCalls(QObject* window) : window_(window), later_(new QTimer(window)) {
    later_->setSingleShot(true);
    later_->setInterval(kBatchIntervalMs);
    QObject::connect(later_, &QTimer::timeout, window, [this] { RunAll(); });
  }

  void Post(std::function<void()> call) {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      calls_.push_back(std::move(call));
      if (wakePending_) return;
      wakePending_ = true;
    }
    QMetaObject::invokeMethod(window_, [this] { RunAll(); }, Qt::QueuedConnection);
  }

  // On the window's thread: carries out the queued calls. After a run that
  // found calls, the next run is in kBatchIntervalMs; workers don't post
  // meanwhile.
  void RunAll() {
    std::vector<std::function<void()>> calls;
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      calls.swap(calls_);
      wakePending_ = !calls.empty();
    }
    for (const auto& call : calls) call();
    if (!calls.empty()) later_->start();
  }

 private:
  static constexpr int kBatchIntervalMs = suite::kPostedCallsIntervalMs;
  QObject* window_;
  QTimer* later_;
  std::mutex mutex_;
  std::vector<std::function<void()>> calls_;
  bool wakePending_ = false;  // a run is posted or timed: workers only add
};

// RunOnGui for a window with posted calls: what a worker posted before is
// carried out first.
template <typename Function>
void RunQueuedFirst(QObject* window, const std::atomic<bool>& closing, PostedCalls& posted, Function&& function) {
  const bool fromWorker = QThread::currentThread() != window->thread();
  RunOnGui(window, closing, [&] {
    if (fromWorker) posted.RunAll();
    function();
  });
}

// From the window's own thread the call runs at once; from a worker it is
// posted and the worker goes on. Once `closing` is set, workers' calls are dropped.
template <typename Function>
void PostToGui(QObject* window, const std::atomic<bool>& closing, PostedCalls& calls, Function&& function) {
  if (QThread::currentThread() == window->thread()) {
    function();
    return;
  }
  if (closing.load()) return;
  calls.Post(std::forward<Function>(function));
}

}  // namespace lorvane
