// Tuning constants of the suite, each with the reason for its value.
#pragma once

#include <cstddef>
#include <cstdint>

namespace suite {

// The quick index holds the offset of every 10000th line: 100 million lines need 10000 entries.
inline constexpr int64_t kQuickIndexStride = 10000;

// One result file holds at most this many records, so a page always fits the result list.
inline constexpr int64_t kResultFileRecords = 2000;

// Clipboard text taken at most by the clipboard search.
inline constexpr size_t kClipboardTextLimit = 16777216;

// Scans see a file through mapped windows of this size: no copy out of the
// page cache, and memory stays at a window or two. Counting the LFs of 512 MiB
// took 0.051 s through 2, 8 or 32 MiB windows against 0.065 s through 1 MiB
// ones (more mapping calls) and 0.074 to 0.12 s with read() into 1 MiB blocks.
// A file that can't be mapped is read into a buffer of this size instead.
inline constexpr size_t kMapWindowSize = 8 << 20;

// A mapped window's mapping reaches out to these boundaries around it, so
// that the page cache's large folios map whole; only the window is read.
inline constexpr int64_t kMapAlignment = 2 << 20;

// A mapped window that took more than a fault per this many of its bytes lay
// in small page-cache folios (a log written a few KiB at a time, while it is
// fresh): mapped, they fault every 64 KiB and fill the TLB a 4 KiB page at a
// time, and here were scanned four times slower than read into a buffer (the
// index of such a 1 GiB log: 0.36 s against 0.09 s). Large folios, mapped in
// 2 MiB steps, fault a few times a window and beat reading by a quarter.
inline constexpr size_t kMapBytesPerFault = 256 << 10;

// The search reads the line that runs across two windows on its own: this
// much of it first, with one read (a log's line is mostly far shorter), and
// only a longer one through mapped windows.
inline constexpr size_t kLineHeadSize = 16 << 10;

// A window's line count notes the position of every 256th LF, so the start
// of any line of it is found again by reading at most 256 lines: 4 bytes of
// notes per 256 LFs of the window.
inline constexpr uint64_t kLfMarkEvery = 256;

// The search hands the matches of a guarded part of a window out every 256:
// their buffer is made once per window and never grows while the part reads.
inline constexpr size_t kPartMatches = 256;

// A search worker beside others keeps up to 65536 matches of its window (the
// benchmark's common keyword has some 27000 in an 8 MiB window); past that it
// stops, and the caller searches the rest of the window when it takes it.
// The room is reserved, not filled: only the matches made cost memory.
inline constexpr size_t kAheadMatches = size_t{1} << 16;

// The caller copies the lines of a window's matches after a worker searched
// the whole window, when they have left the cache: the line this many matches
// on is fetched ahead of its copy, up to its first 256 bytes (the common
// keyword's search: 20 % less CPU; one cache line of it gave half of that).
inline constexpr size_t kPrefetchAhead = 8;

// A window's thread takes the calls workers queue for it every 5 ms while
// they keep coming: a search posting thousands a second would otherwise wake
// it for nearly each one, on a core the search needs.
inline constexpr int kPostedCallsIntervalMs = 5;

// Files the programs write go out in blocks of this size: few write calls,
// and memory stays flat. Bigger is not better: splitting 1 GiB with writes of
// 512 KiB or 1 MiB took 2 to 4 times the kernel time of 128 KiB writes, and
// varied widely from run to run (the kernel fills big writes with large
// page-cache folios; see OutputFile for why those cost more here).
inline constexpr size_t kWriteBlockSize = 128 << 10;

// The buffer of a small file written whole at once (a history's descriptor,
// its identity): a buffer of kWriteBlockSize is mapped fresh, faulted in and
// unmapped for a few hundred bytes, a good part of an update's cost. Larger
// texts go out from where they are, this much a write.
inline constexpr size_t kSmallFileBlockSize = 16 << 10;

// Scans use the machine's cores up to this many workers unless SUITE_THREADS
// says otherwise. On the 2-core machine here two workers took the pre-read of
// 1 GiB from 0.61 s to 0.41 s (1.46 times, not 2: the CPU time rose from 0.61
// to 0.78 s, the mapping's page faults and the reading of memory are shared).
// Beyond four, counting LFs is bound by the memory at any desktop; that cap is
// not measured (no machine here has more than two cores).
inline constexpr unsigned kMaxScanWorkers = 4;
// The most SUITE_THREADS may ask for.
inline constexpr long kMaxScanThreads = 64;

// A followed file without change events (a file system shared with other
// machines, Windows) is looked at this often: a new line shows within a
// quarter second, at four stats a second.
inline constexpr int kWatchPollIntervalMs = 250;

}  // namespace suite
