// The lanes that write a split's pieces, and their pieces taken back in order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "splitter/piece_lane.h"

namespace suite {
class ExclusiveFile;
}

namespace cleavora {

// Piece k goes to lane k % lanes: up to `lanes` pieces are written at once,
// and what became of each is taken back in piece order, so that its report
// (or its failure) comes before anything said of a later one. Lane 0 is the
// caller's: its pieces are written as their lines are read (Streamed), the
// others' once their lines are known, on threads of their own. With one lane
// no thread is made.
class PieceWriters {
 public:
  // What became of a piece handed over.
  struct Finished {
    PieceLane::Outcome outcome;
    int64_t number;      // from 0
    int64_t linesAfter;  // source lines up to its end
    std::string path;
  };

  PieceWriters(const suite::ExclusiveFile& source, int lanes, size_t writeBufferSize);

  // Creates the file of the next piece on its lane, which must be free (see
  // Full); false when it can't be created.
  bool Create(const std::string& path);
  // The piece created last is the caller's, to be given its lines by Append
  // as they are read.
  bool Streamed() const { return (created_ - 1) % static_cast<int64_t>(lanes_.size()) == 0; }
  bool Append(const char* data, size_t size, bool loneLf) { return lanes_[0]->Append(data, size, loneLf); }
  // Hands the piece created last over, its lines being source bytes [start,
  // end) (with CR LF after them when `closeLine`): the caller's is finished
  // here, any other is written on its lane.
  void Hand(int64_t start, int64_t end, bool loneLf, bool closeLine, int64_t linesAfter);
  // Every lane holds a piece not taken back: the next piece's lane isn't free.
  bool Full() const { return handed_.size() >= lanes_.size(); }
  // Pieces handed over and not taken back.
  size_t Pending() const { return handed_.size(); }
  // Waits for the oldest piece handed over and not taken back, and takes it back.
  Finished TakeOldest();

 private:
  struct Handed {
    int64_t number;
    int64_t linesAfter;
  };
  PieceLane& LaneOf(int64_t number) { return *lanes_[static_cast<size_t>(number % static_cast<int64_t>(lanes_.size()))]; }

  std::vector<std::unique_ptr<PieceLane>> lanes_;
  std::deque<Handed> handed_;
  int64_t created_ = 0;  // pieces created so far
};

}  // namespace cleavora
