#include "common/scan_pipeline.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace {

TEST(ScanPipelineTest, WorkersComeFromTheSettingOrTheCores) {
  EXPECT_EQ(suite::ScanWorkersFor("1", 8), 1);
  EXPECT_EQ(suite::ScanWorkersFor("3", 1), 3);  // asked for, whatever the machine
  EXPECT_EQ(suite::ScanWorkersFor(nullptr, 1), 1);
  EXPECT_EQ(suite::ScanWorkersFor("", 2), 2);
  EXPECT_EQ(suite::ScanWorkersFor(nullptr, 16), 4);  // capped where more stop paying
  EXPECT_EQ(suite::ScanWorkersFor("0", 2), 2);       // not a worker count: the default
  EXPECT_EQ(suite::ScanWorkersFor("2x", 2), 2);
  EXPECT_EQ(suite::ScanWorkersFor("-3", 2), 2);
  EXPECT_EQ(suite::ScanWorkersFor("100000", 2), 64);
}

// Windows are taken in file order, each after its own scan and before its
// slot scans again; no more than `workers` windows past the stop are scanned,
// and none is taken.
TEST(ScanPipelineTest, WindowsAreTakenInOrderEachAfterItsScan) {
  for (const int workers : {1, 2, 3, 5}) {
    for (const int64_t stopAt : {0, 1, 2, 7, 40}) {
      SCOPED_TRACE(std::to_string(workers) + " workers, stop at " + std::to_string(stopAt));
      std::vector<int64_t> scannedBySlot(static_cast<size_t>(workers), -1);
      std::vector<int64_t> taken;
      std::mutex mutex;
      std::vector<int64_t> scanned;
      std::atomic<int> running{0}, mostRunning{0};
      suite::RunOrderedScan(
          workers, suite::ByteOffset{100}, 10,
          [&](int slot, suite::ByteOffset at) {
            const int64_t offset = at.value;
            const int now = ++running;
            for (int seen = mostRunning.load(); now > seen && !mostRunning.compare_exchange_weak(seen, now);) {
            }
            scannedBySlot[static_cast<size_t>(slot)] = offset;
            {
              std::lock_guard lock(mutex);
              scanned.push_back(offset);
            }
            --running;
          },
          [&](int slot, suite::ByteOffset at) {
            const int64_t offset = at.value;
            EXPECT_EQ(slot, static_cast<int>(taken.size() % static_cast<size_t>(workers)));
            EXPECT_EQ(scannedBySlot[static_cast<size_t>(slot)], offset);  // its own scan, done
            taken.push_back(offset);
            return offset < 100 + 10 * stopAt;
          });
      std::vector<int64_t> expected;
      for (int64_t i = 0; i <= stopAt; ++i) expected.push_back(100 + 10 * i);
      EXPECT_EQ(taken, expected);
      EXPECT_LE(scanned.size(), expected.size() + static_cast<size_t>(workers) - 1);
      EXPECT_LE(mostRunning.load(), workers);
      EXPECT_EQ(running.load(), 0);  // every scan ended before the call returned
    }
  }
}

// Scans borrow their helper threads and give them back: scans one after the
// other, and two at once on two threads, each get whole helpers of their own.
TEST(ScanPipelineTest, ScansAtOnceOnTwoThreadsEachTakeTheirOwnWindows) {
  const auto scanMany = [](int64_t start, std::vector<int64_t>* taken) {
    for (int round = 0; round < 200; ++round) {
      const int workers = 2 + round % 3;
      std::vector<int64_t> scannedBySlot(static_cast<size_t>(workers), -1);
      std::vector<int64_t> order;
      suite::RunOrderedScan(
          workers, suite::ByteOffset{start}, 1,
          [&](int slot, suite::ByteOffset at) { scannedBySlot[static_cast<size_t>(slot)] = at.value; },
          [&](int slot, suite::ByteOffset at) {
            if (scannedBySlot[static_cast<size_t>(slot)] != at.value) order.push_back(-1);
            order.push_back(at.value);
            return at.value < start + 9;
          });
      taken->insert(taken->end(), order.begin(), order.end());
    }
  };
  std::vector<int64_t> first, second;
  std::thread other(scanMany, 1000, &second);
  scanMany(0, &first);
  other.join();
  for (const auto& [start, taken] : {std::pair{int64_t{0}, &first}, std::pair{int64_t{1000}, &second}}) {
    std::vector<int64_t> expected;
    for (int round = 0; round < 200; ++round) {
      for (int64_t i = 0; i < 10; ++i) expected.push_back(start + i);
    }
    EXPECT_EQ(*taken, expected);
  }
}

}  // namespace
