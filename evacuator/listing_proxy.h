// The dialog as the listing worker sees it: every call carried out on the
// window's thread, whole and in the order made.
#pragma once

#include <QMetaObject>
#include <QObject>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/name_order.h"
#include "evacuator/tuckaway_window.h"

namespace tuckaway {

// Lives on the worker thread and forwards to `window`, which lives on the
// thread of `context`. Calls without a result are queued and not waited for.
// A run of ListAddSorted calls is held back until the next other call, sorted
// (which changes nothing on a sorted list: each name goes to its place either
// way) and sent in batches, each waited for: a folder of ten thousand files
// costs some twenty calls, each name lands at the end of the list instead of
// in its middle, and the window's thread turns its event loop between two
// batches. Waiting never outlasts `closing`: once it is set, every call is
// dropped (calls with a result give an empty one), so the window can always
// wait for the worker to end.
class ListingProxy final : public TuckawayWindow {
 public:
  static constexpr size_t kBatchSize = 512;

  ListingProxy(QObject* context, TuckawayWindow& window, const std::atomic<bool>& closing)
      : context_(context), window_(window), closing_(closing) {}
  ~ListingProxy() override { Flush(); }
  ListingProxy(const ListingProxy&) = delete;
  ListingProxy& operator=(const ListingProxy&) = delete;

  void SetTitle(const std::string& title) override {
    Post([title](TuckawayWindow& w) { w.SetTitle(title); });
  }
  void EnableControls(bool enable) override {
    Post([enable](TuckawayWindow& w) { w.EnableControls(enable); });
  }
  void SetSourceText(const std::string& text) override {
    Post([text](TuckawayWindow& w) { w.SetSourceText(text); });
  }
  void SetTargetText(const std::string& text) override {
    Post([text](TuckawayWindow& w) { w.SetTargetText(text); });
  }
  void FocusTarget() override {
    Post([](TuckawayWindow& w) { w.FocusTarget(); });
  }
  void SelectTargetFromEnd(int64_t caret) override {
    Post([caret](TuckawayWindow& w) { w.SelectTargetFromEnd(caret); });
  }
  void ListClear() override {
    Post([](TuckawayWindow& w) { w.ListClear(); });
  }
  void ListAddSorted(const std::string& name) override { held_.push_back(name); }
  void ListAppendColoured(const std::string& name, Rgb colour) override {
    Post([name, colour](TuckawayWindow& w) { w.ListAppendColoured(name, colour); });
  }
  int64_t ListCount() override {
    Flush();
    return Ask<int64_t>([](TuckawayWindow& w) { return w.ListCount(); });
  }
  std::string ListText(int64_t index) override {
    Flush();
    return Ask<std::string>([index](TuckawayWindow& w) { return w.ListText(index); });
  }
  void ListDelete(int64_t index) override {
    Post([index](TuckawayWindow& w) { w.ListDelete(index); });
  }
  void StartListing() override {
    Post([](TuckawayWindow& w) { w.StartListing(); });
  }

  // Sends the names held back.
  void Flush() {
    if (held_.empty()) return;
    std::vector<std::string> names;
    names.swap(held_);
    std::sort(names.begin(), names.end(), [](const std::string& left, const std::string& right) {
      return suite::NameSortsBefore(left, right);
    });
    for (size_t from = 0; from < names.size() && !closing_.load(); from += kBatchSize) {
      std::vector<std::string> batch(names.begin() + static_cast<std::ptrdiff_t>(from),
                                     names.begin() + static_cast<std::ptrdiff_t>(std::min(names.size(), from + kBatchSize)));
      Ask<bool>([batch = std::move(batch)](TuckawayWindow& w) {
        for (const auto& name : batch) w.ListAddSorted(name);
        return true;
      });
    }
  }

 private:
  template <typename Call>
  void Post(Call call) {
    Flush();
    Queue(std::move(call));
  }

  template <typename Call>
  void Queue(Call call) {
    if (closing_.load()) return;
    QMetaObject::invokeMethod(
        context_, [&window = window_, call = std::move(call)] { call(window); }, Qt::QueuedConnection);
  }

  // Waits for the answer, but never past the window's closing: the window may
  // be waiting for this worker to end.
  template <typename Result, typename Call>
  Result Ask(Call call) {
    auto answer = std::make_shared<std::promise<Result>>();
    std::future<Result> future = answer->get_future();
    Queue([answer, call = std::move(call)](TuckawayWindow& w) { answer->set_value(call(w)); });
    while (!closing_.load()) {
      if (future.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) continue;
      try {
        return future.get();
      } catch (const std::future_error&) {
        break;  // the call was dropped with the window
      }
    }
    return Result{};
  }

  QObject* const context_;
  TuckawayWindow& window_;
  const std::atomic<bool>& closing_;
  std::vector<std::string> held_;
};

}  // namespace tuckaway
