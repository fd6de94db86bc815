// A second thread for scans that split their work in two.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace suite {

// Runs one job at a time on a thread of its own while the caller does its
// share; Wait returns once the job is done, and everything the job wrote is
// then seen by the caller. The thread lives as long as the object.
class HelperThread {
 public:
  HelperThread();
  ~HelperThread();
  HelperThread(const HelperThread&) = delete;
  HelperThread& operator=(const HelperThread&) = delete;

  void Start(std::function<void()> job);
  void Wait();

 private:
  void Run();

  std::mutex mutex_;
  std::condition_variable wake_, done_;
  std::function<void()> job_;
  bool busy_ = false;
  bool quit_ = false;
  std::thread thread_;
};

}  // namespace suite
