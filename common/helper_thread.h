// A second thread for scans that split their work in two.
#pragma once

#include <functional>
#include <semaphore>
#include <thread>
#include <utility>

namespace suite {

// Runs one job at a time on a thread of its own while the caller does its
// share; Wait returns once the job is done, and everything the job wrote is
// then seen by the caller (the semaphores order the job's writes before it).
// The thread lives as long as the object. Start and Wait are the caller's,
// from one thread.
class HelperThread {
 public:
  HelperThread() : thread_([this] { Run(); }) {}
  ~HelperThread() {
    Wait();
    quit_ = true;
    start_.release();
    thread_.join();
  }
  HelperThread(const HelperThread&) = delete;
  HelperThread& operator=(const HelperThread&) = delete;

  void Start(std::function<void()> job) {
    Wait();
    job_ = std::move(job);
    busy_ = true;
    start_.release();
  }
  void Wait() {
    if (busy_) done_.acquire();
    busy_ = false;
  }

 private:
  void Run() {
    for (start_.acquire(); !quit_; start_.acquire()) {
      job_();
      done_.release();
    }
  }

  std::function<void()> job_;
  bool busy_ = false;  // a job was started and not waited for
  bool quit_ = false;
  std::binary_semaphore start_{0}, done_{0};
  std::thread thread_;  // last: it runs with the members above made
};

}  // namespace suite
