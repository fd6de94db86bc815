// The main window as the engine's tests see it: the in-memory model, with every
// call kept in order and messages readable in UTF-8.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "searcher/engine/lorvane_window_model.h"

namespace lorvane::testing {

class RecordingWindow : public LorvaneWindowModel {
 public:
  std::vector<std::string> calls;     // every operation, in order
  std::vector<std::string> messages;  // PostStatus messages, converted to UTF-8

  void PostStatus(const std::string& message) override {
    messages.push_back(suite::ToUtf8(message));
    LorvaneWindowModel::PostStatus(message);
  }

  bool Called(const std::string& call) const { return std::find(calls.begin(), calls.end(), call) != calls.end(); }
  // Position of a call in the order, or -1.
  long IndexOf(const std::string& call) const {
    const auto at = std::find(calls.begin(), calls.end(), call);
    return at == calls.end() ? -1 : static_cast<long>(at - calls.begin());
  }
  long Count(const std::string& call) const {
    return static_cast<long>(std::count(calls.begin(), calls.end(), call));
  }

 protected:
  void Record(const std::string& call) override { calls.push_back(call); }
};

}  // namespace lorvane::testing
