#include "common/helper_thread.h"

#include <utility>

namespace suite {

HelperThread::HelperThread() : thread_([this] { Run(); }) {}

HelperThread::~HelperThread() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void HelperThread::Start(std::function<void()> job) {
  {
    std::lock_guard lock(mutex_);
    job_ = std::move(job);
    busy_ = true;
  }
  wake_.notify_all();
}

void HelperThread::Wait() {
  std::unique_lock lock(mutex_);
  done_.wait(lock, [this] { return !busy_; });
}

void HelperThread::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return quit_ || busy_; });
    if (quit_) return;
    std::function<void()> job = std::move(job_);
    lock.unlock();
    job();
    lock.lock();
    busy_ = false;
    done_.notify_all();
  }
}

}  // namespace suite
