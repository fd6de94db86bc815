#include "common/standard_output.h"

#include <cerrno>
#include <cstring>

namespace suite {
namespace {

int lostReason = 0;  // why a flush in the middle of the run failed

}  // namespace

void FlushStdout(std::FILE* out) {
  errno = 0;
  if (std::fflush(out) != 0 && lostReason == 0) lostReason = errno;
}

int FinishStdout(std::FILE* out, std::FILE* err, const char* program, int status) {
  const bool failedBefore = std::ferror(out) != 0;
  errno = 0;
  const bool flushFailed = std::fflush(out) != 0;
  if (!failedBefore && !flushFailed) return status;
  // A failure while filling the buffer leaves no reason behind; a later flush
  // of what came after it fails again with one.
  const int reason = flushFailed ? errno : lostReason;
  if (reason == EPIPE) return status;
  if (reason != 0) {
    std::fprintf(err, "%s: can't write to stdout: %s\n", program, std::strerror(reason));
  } else {
    std::fprintf(err, "%s: can't write to stdout\n", program);
  }
  std::fflush(err);
  return 1;
}

}  // namespace suite
