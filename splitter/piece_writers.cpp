#include "splitter/piece_writers.h"

#include <algorithm>

namespace cleavora {

PieceWriters::PieceWriters(const suite::ExclusiveFile& source, int lanes, size_t writeBufferSize) {
  for (int lane = 0; lane < std::max(lanes, 1); ++lane) {
    lanes_.push_back(std::make_unique<PieceLane>(source, writeBufferSize));
  }
}

bool PieceWriters::Create(const std::string& path) { return LaneOf(created_++).Create(path); }

void PieceWriters::Hand(int64_t start, int64_t end, bool loneLf, bool closeLine, int64_t linesAfter) {
  const int64_t number = created_ - 1;
  if (Streamed()) {
    LaneOf(number).Finish(closeLine);
  } else {
    LaneOf(number).Start(start, end, loneLf, closeLine);
  }
  handed_.push_back({number, linesAfter});
}

PieceWriters::Finished PieceWriters::TakeOldest() {
  const Handed oldest = handed_.front();
  handed_.pop_front();
  PieceLane& lane = LaneOf(oldest.number);
  const PieceLane::Outcome outcome = lane.Wait();
  return {outcome, oldest.number, oldest.linesAfter, lane.Path()};
}

}  // namespace cleavora
