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

// Reads from the page cache run fastest with blocks that stay in the L2 cache;
// 1 MiB measured best here against 128 KiB and 4 MiB.
inline constexpr size_t kReadBlockSize = 1 << 20;

// Files the programs write go out in blocks of this size: few write calls,
// and memory stays flat. Bigger is not better: splitting 1 GiB with writes of
// 512 KiB or 1 MiB took 2 to 4 times the kernel time of 128 KiB writes, and
// varied widely from run to run (the kernel fills big writes with large
// page-cache folios; see OutputFile for why those cost more here).
inline constexpr size_t kWriteBlockSize = 128 << 10;

}  // namespace suite
