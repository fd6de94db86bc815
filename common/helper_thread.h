// A second thread for scans that split their work in two.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>

namespace suite {

// Runs one job at a time on a thread of its own while the caller does its
// share; Wait returns once the job is done, and everything the job wrote is
// then seen by the caller. The thread lives as long as the object. Start and
// Wait are the caller's, from one thread at a time. (A mutex and a condition
// variable, not C++20 semaphores: MinGW's GCC 12 builds those on an atomic wait that
// can miss a wake-up, and a scan under Wine hung in it.)
class HelperThread {
 public:
  HelperThread() : thread_([this] { Run(); }) {}
  ~HelperThread() {
    Hand(nullptr, true);
    thread_.join();
  }
  HelperThread(const HelperThread&) = delete;
  HelperThread& operator=(const HelperThread&) = delete;

  void Start(std::function<void()> job) { Hand(std::move(job), false); }
  void Wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
  }

 private:
  // Waits for the job before, then sets the thread going with the next, or ends it.
  void Hand(std::function<void()> job, bool quit) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
    job_ = std::move(job);
    busy_ = !quit;
    quit_ = quit;
    changed_.notify_all();
  }
  void Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
      changed_.wait(lock, [this] { return busy_ || quit_; });
      if (quit_) return;
      lock.unlock();
      job_();
      lock.lock();
      busy_ = false;
      changed_.notify_all();
    }
  }

  std::mutex mutex_;
  std::condition_variable changed_;  // busy_ or quit_ changed: each side waits for its own condition
  std::function<void()> job_;
  bool busy_ = false;
  bool quit_ = false;
  std::thread thread_;  // last: it runs with the members above made
};

}  // namespace suite
