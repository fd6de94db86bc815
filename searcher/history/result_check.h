// Whether a history descriptor may be relied on.
#pragma once

#include <cstdint>
#include <string>

#include "common/line_quantities.h"
#include "searcher/history/result_descriptor.h"

namespace lorvane {

// Lives for one restore.
class CLVNResultCheck {
 public:
  CLVNResultCheck(CLVNResultHeader header, suite::BlockKey highestKey)
      : header_(std::move(header)), highestKey_(highestKey) {}
  virtual ~CLVNResultCheck() = default;

  // True when the header may be relied on; otherwise the error text says why.
  bool CheckHeader();
  // True when the target's size text now equals the stored one; otherwise the warning text says so.
  bool CheckTargetSize();

  const std::string& ErrorText() const { return errorText_; }
  const std::string& WarningText() const { return warningText_; }

 private:
  CLVNResultHeader header_;
  suite::BlockKey highestKey_;
  std::string warningText_;
  std::string errorText_;
};

}  // namespace lorvane
