// bench-measure: runs a command and writes what it cost to a file.
//
//   bench-measure OUTFILE COMMAND [ARGUMENT]...
//
// OUTFILE gets one line, "WALL_SECONDS PEAK_KB CPU_SECONDS": the wall time
// from just before the spawn to the command's end, its peak resident set, and
// its user + system CPU time, the last two from wait4's rusage of the command
// alone, to the microsecond. /usr/bin/time -f '%M' and bash's `time` give the
// same peak but the CPU only to the millisecond, their own start included: too
// coarse for a command that takes a few milliseconds, like an update of a search.
//
// The command's standard streams are this program's. Exit status: the
// command's; 128 + N when a signal N ended it; 127 when it couldn't be run.

#include <spawn.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

extern char** environ;

namespace {

double SecondsOf(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; }

double Now() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: bench-measure OUTFILE COMMAND [ARGUMENT]...\n");
    return 2;
  }
  // posix_spawn, not fork: the child shares this process's memory until its
  // exec, so no copy of page tables is charged to the command.
  const double start = Now();
  pid_t child = 0;
  if (const int error = posix_spawnp(&child, argv[2], nullptr, nullptr, argv + 2, environ); error != 0) {
    std::fprintf(stderr, "bench-measure: can't run %s: %s\n", argv[2], std::strerror(error));
    return 127;
  }
  int status = 0;
  rusage usage{};
  while (wait4(child, &status, 0, &usage) < 0) {
    if (errno != EINTR) {
      std::perror("bench-measure: wait4");
      return 127;
    }
  }
  const double wall = Now() - start;
  std::FILE* out = std::fopen(argv[1], "w");
  if (!out || std::fprintf(out, "%.6f %ld %.6f\n", wall, usage.ru_maxrss,
                           SecondsOf(usage.ru_utime) + SecondsOf(usage.ru_stime)) < 0 ||
      std::fclose(out) != 0) {
    std::fprintf(stderr, "bench-measure: can't write %s\n", argv[1]);
    return 127;
  }
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WEXITSTATUS(status);
}
