// How a worker thread yields to the rest of the machine.
#pragma once

namespace suite {

// Lowers the calling thread to the platform's idle priority (SCHED_IDLE): it
// runs only while the processors have nothing else to do, so a long scan
// never slows the desktop down, and waits for as long as something else keeps
// them busy. With SUITE_WORKER_PRIORITY=normal in the environment the thread
// keeps its normal priority: for a search that should go on beside a build,
// and for the test suite, whose waits must not depend on the machine's load.
// False when the thread stays at its priority.
bool RunAtIdlePriority();

}  // namespace suite
