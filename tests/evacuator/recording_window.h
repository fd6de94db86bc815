// The evacuator's dialog as its tests see it: the in-memory model, with every
// call kept in order.
#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "evacuator/tuckaway_window_model.h"

namespace tuckaway::testing {

class RecordingWindow : public TuckawayWindowModel {
 public:
  std::vector<std::string> calls;

  long IndexOf(const std::string& call) const {
    const auto at = std::find(calls.begin(), calls.end(), call);
    return at == calls.end() ? -1 : static_cast<long>(at - calls.begin());
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : Entries()) names.push_back(entry.name);
    return names;
  }
  std::vector<std::optional<Rgb>> Colours() const {
    std::vector<std::optional<Rgb>> colours;
    for (const auto& entry : Entries()) colours.push_back(entry.colour);
    return colours;
  }

 protected:
  void Record(const std::string& call) override { calls.push_back(call); }
};

}  // namespace tuckaway::testing
