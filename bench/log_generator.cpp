// log-generator: writes large, reproducible log files for benchmarks and tests.
//
//   log-generator [--lf|--crlf|--mixed] [--seed N] [--quiet] SIZE OUTFILE
//
// SIZE is a byte count, optionally with a K, M or G suffix (powers of 1024).
// The output is exactly SIZE bytes long and always ends with a complete line:
// the last line is padded with ASCII filler so that it ends on the last byte.
// SIZE must be 0 (empty file) or at least 128 bytes.  OUTFILE "-" is stdout.
//
// The output depends only on the line-end mode, the seed and SIZE, and does
// not depend on the C++ library: the random numbers come from splitmix64 and
// all formatting is done here.  A smaller file with the same mode and seed is
// a prefix of a larger one, except for its padded last line.
//
// Content: lines of roughly 40 to 200 bytes (about 100 on average), each with a
// timestamp, a level (INFO, DEBUG, WARN, ERROR, sometimes spelled Error or
// error), a thread name in brackets and a message mixing ASCII and GBK-encoded
// Chinese.  Some lines use TABs as field separators, some ERROR lines are
// followed by TAB-indented stack frames, "timeout" appears in about 1 line in
// 20, "OutOfMemoryError" in about 1 line in 10000, "FATAL_7Q" in about 1 line
// in 100000, and about 1 line in 50000 is a long
// payload dump of 2 to 8 KiB.  Several of the GBK characters used have an ASCII
// letter as their second byte, which trips up searches that are not aware of
// double-byte characters.
//
// Line ends: CR LF by default (--crlf), LF with --lf, and with --mixed each
// line independently ends in CR LF or LF with equal odds.
//
// A summary (bytes, lines, keyword lines) goes to stderr unless --quiet.

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Random numbers

class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}

  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // Uniform in [0, n), n < 2^32.
  uint32_t below(uint32_t n) { return static_cast<uint32_t>(((next() >> 32) * n) >> 32); }

  // Uniform in [lo, hi].
  uint32_t between(uint32_t lo, uint32_t hi) { return lo + below(hi - lo + 1); }

  // True with odds 1 in n.
  bool one_in(uint32_t n) { return below(n) == 0; }

 private:
  uint64_t state_;
};

// ---------------------------------------------------------------------------
// Text tables

// Chinese phrases in GBK.  The comment gives the meaning and, where present,
// the ASCII characters that appear as second bytes of double-byte characters.
constexpr const char* kGbkPhrases[] = {
    "\xD3\xC3\xBB\xA7\xB5\xC7\xC2\xBC\xB3\xC9\xB9\xA6",                          // user logged in
    "\xC1\xAC\xBD\xD3\xB3\xAC\xCA\xB1",                                          // connection timed out
    "\xB2\xE9\xD1\xAF\xCA\xA7\xB0\xDC\xA3\xAC\xC7\xEB\xC9\xD4\xE1\xE1\xD6\xD8\xCA\xD4",  // query failed, retry later
    "\xDF\x42\xBE\x80\xE5\x65\xD5\x60",                                          // connection error (B e `)
    "\xD9\x59\xC1\xCF\x8E\xEC\x9F\x6F\xBB\xD8\x91\xAA",                          // database not responding (Y o)
    "\x99\x6E\xB0\xB8\xD7\x78\xC8\xA1\xCD\xEA\xB3\xC9",                          // file read done (n x)
    "\xBE\x57\xC2\xB7\xF2\x9E\xD7\x43\xCD\xA8\xDF\x5E",                          // network check passed (W C ^)
    "\xD4\x4F\xB6\xA8\xD2\xD1\xB8\xFC\xD0\xC2",                                  // settings updated (O)
    "\xD3\x86\x86\xCE\xD2\xD1\xCC\x8E\xC0\xED",                                  // order processed
    "\x99\x43\xC6\xF7\xD8\x93\xDD\x64\xDF\x5E\xB8\xDF",                          // machine load too high (C d ^)
    "\xE9\x5F\x86\xA2\xBF\xEC\xC8\xA1",                                          // cache enabled (_)
    "\xBB\xBA\xB4\xE6\xC3\xFC\xD6\xD0",                                          // cache hit
    "\xC7\xEB\xC7\xF3\xD2\xD1\xB4\xA6\xC0\xED",                                  // request handled
    "\xD6\xA7\xB8\xB6\xBB\xD8\xB5\xF7",                                          // payment callback
    "\xB7\xFE\xCE\xF1\xC6\xF7\xB7\xB1\xC3\xA6",                                  // server busy
    "\xC5\xE4\xD6\xC3\xCE\xC4\xBC\xFE\xD2\xD1\xBC\xD3\xD4\xD8",                  // config file loaded
    "\xD3\x9B\xE4\x9B\xD2\xD1\x8C\x91\xC8\xEB",                                  // record written
    "\x82\xF7\xCB\xCD\xD9\x59\xC1\xCF",                                          // sending data (Y)
    "\xD7\x43\x95\xF8\xBC\xB4\x8C\xA2\xDF\x5E\xC6\xDA",                          // certificate expires soon (C ^)
};

// Thread and module names; expanded like message templates.
constexpr const char* kThreads[] = {
    "main",
    "worker-%s",
    "worker-%s",
    "http-nio-8080-exec-%d",
    "http-nio-8080-exec-%d",
    "db-pool-%s",
    "scheduler",
    "cache",
    "auth",
    "kafka-consumer-%s",
    "\xB6\xA9\xB5\xA5\xB7\xFE\xCE\xF1",  // order service
    "\x94\xB5\x93\xFE\xCD\xAC\xB2\xBD",  // data sync
};

// Message fragments.  Placeholders: %s small number (0-15), %d number (0-999),
// %D large number, %x 8 hex digits, %X 16 hex digits, %i IPv4 address,
// %z a GBK phrase.  None of these may contain the keywords counted below.
constexpr const char* kFragments[] = {
    "user %D logged in from %i",
    "GET /api/v1/orders/%D 200 %dms",
    "POST /api/v2/payments/%x status=201 latency=%dms",
    "cache hit ratio=0.%d",
    "processed %D records in %d ms",
    "pool size=16 active=%s idle=%s",
    "session %X created",
    "retrying request id=%x attempt=%s",
    "flushed %D bytes to /var/lib/app/segment-%d.dat",
    "heartbeat ok",
    "config reloaded from /etc/app/app.conf",
    "slow query took %d ms: SELECT id, name FROM orders WHERE uid=%D",
    "queue depth=%d",
    "GC pause %d ms",
    "peer %i:%d disconnected",
    "token refreshed for client %x",
    "uploaded chunk %d of %d",
    "rejected: invalid signature",
    "trace=%X span=%x",
    "%z uid=%D",
    "%z, trace=%X",
    "%z: %i",
    "%z (%d ms)",
    "order=%D %z",
    "%z%z",
    "%zuid=%D",
    "%z id=%x",
    "%z",
    "%z",
    "host=%i %z",
};

constexpr const char* kTimeoutFragments[] = {
    "read timeout after %d ms",
    "upstream %i timeout, retrying",
    "%z (timeout=%ss)",
    "socket timeout on channel %x",
    "timeout waiting for lock %x",
};

constexpr const char* kFatalFragment = "FATAL_7Q checksum mismatch in block %D";
// The benchmark's rare keyword: about 1 line in 10000.
constexpr const char* kRareFragment = "OutOfMemoryError in worker pool %D";

constexpr const char* kSeparators[] = {" ", " ", " ", " ", ", ", ", ", "; ", " | ", "\t"};

constexpr const char* kFrameClasses[] = {
    "com.acme.db.Pool.acquire",        "com.acme.db.Query.execute",
    "com.acme.http.Client.send",       "com.acme.order.OrderService.submit",
    "com.acme.pay.Gateway.charge",     "java.base/java.lang.Thread.run",
    "com.acme.cache.Store.load",       "com.acme.sync.Replicator.push",
};

template <typename T, size_t N>
constexpr uint32_t count_of(const T (&)[N]) {
  return static_cast<uint32_t>(N);
}

// ---------------------------------------------------------------------------
// Clock: a timestamp "2026-12-08 13:45:07.123" that moves forward a few
// milliseconds per line.

class Clock {
 public:
  void advance(uint32_t ms) {
    ms_ += ms;
    while (ms_ >= 1000) {
      ms_ -= 1000;
      if (++sec_ < 60) continue;
      sec_ = 0;
      if (++min_ < 60) continue;
      min_ = 0;
      if (++hour_ < 24) continue;
      hour_ = 0;
      if (++day_ <= days_in_month()) continue;
      day_ = 1;
      if (++month_ <= 12) continue;
      month_ = 1;
      ++year_;
    }
  }

  void append_to(std::string& out) const {
    char t[23];
    put(t + 0, year_, 4);
    t[4] = '-';
    put(t + 5, month_, 2);
    t[7] = '-';
    put(t + 8, day_, 2);
    t[10] = ' ';
    put(t + 11, hour_, 2);
    t[13] = ':';
    put(t + 14, min_, 2);
    t[16] = ':';
    put(t + 17, sec_, 2);
    t[19] = '.';
    put(t + 20, ms_, 3);
    out.append(t, sizeof t);
  }

 private:
  static void put(char* p, uint32_t v, int width) {
    for (int i = width - 1; i >= 0; --i) {
      p[i] = static_cast<char>('0' + v % 10);
      v /= 10;
    }
  }

  uint32_t days_in_month() const {
    static constexpr uint32_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year_ % 4 == 0 && year_ % 100 != 0) || year_ % 400 == 0;
    return month_ == 2 && leap ? 29 : kDays[month_ - 1];
  }

  uint32_t year_ = 2026, month_ = 12, day_ = 8, hour_ = 0, min_ = 0, sec_ = 0, ms_ = 0;
};

// ---------------------------------------------------------------------------
// Line builder

enum class LineEnds { kCrlf, kLf, kMixed };

struct Counts {
  uint64_t lines = 0;
  uint64_t crlf_lines = 0;
  uint64_t timeout_lines = 0;
  uint64_t fatal_lines = 0;
  uint64_t long_lines = 0;
};

class LineMaker {
 public:
  LineMaker(uint64_t seed, LineEnds ends) : rng_(seed), ends_(ends) {}

  // Builds the next line, line end included, into `out` (replacing it).
  // `counts` receives what the line holds; it is committed by the caller only
  // if the line is used.
  void next_line(std::string& out, Counts& counts) {
    out.clear();
    counts = Counts{};
    if (pending_frames_ > 0) {
      --pending_frames_;
      stack_frame(out);
    } else {
      log_line(out, counts);
    }
    end_line(out, counts);
  }

  // Builds a final line of exactly `length` bytes (line end included) from
  // ASCII text only.  `length` must be at least kMinFinalLine.
  void final_line(std::string& out, size_t length, Counts& counts) {
    out.clear();
    counts = Counts{};
    header(out, "INFO ", ' ');
    out += "log segment closed, padding ";
    std::string end;
    end_line(end, counts);
    size_t body = length - end.size();
    static constexpr std::string_view kFill = "0123456789abcdefghijklmnopqrstuvwxyz";
    while (out.size() < body) out.append(kFill.substr(0, std::min(kFill.size(), body - out.size())));
    out.resize(body);
    out += end;
  }

  static constexpr size_t kMinFinalLine = 128;

 private:
  void log_line(std::string& out, Counts& counts) {
    const char* level;
    uint32_t r = rng_.below(100);
    if (r < 58) {
      level = "INFO ";
    } else if (r < 83) {
      level = "DEBUG";
    } else if (r < 93) {
      level = "WARN ";
    } else {
      static constexpr const char* kErrors[] = {"ERROR", "ERROR", "Error", "error"};
      level = kErrors[rng_.below(count_of(kErrors))];
      if (rng_.one_in(3)) pending_frames_ = rng_.between(2, 5);
    }
    char sep = rng_.one_in(10) ? '\t' : ' ';
    header(out, level, sep);

    bool is_long = rng_.one_in(50000);
    size_t target;
    if (is_long) {
      target = rng_.between(2048, 8191);
      out += "payload dump: ";
      counts.long_lines = 1;
    } else {
      // 40 to 160 bytes, now and then up to 200; the last fragment overshoots.
      target = 25 + rng_.below(56) + rng_.below(56);
      if (rng_.one_in(10)) target += rng_.below(45);
    }

    bool timeout = rng_.one_in(20);
    bool fatal = rng_.one_in(100000);
    const bool rare = rng_.one_in(10000);
    counts.timeout_lines = timeout;
    counts.fatal_lines = fatal;

    if (fatal) {
      expand(out, kFatalFragment);
    } else if (rare) {
      expand(out, kRareFragment);
    } else if (timeout && rng_.one_in(2)) {
      expand(out, kTimeoutFragments[rng_.below(count_of(kTimeoutFragments))]);
      timeout = false;
    } else {
      expand(out, kFragments[rng_.below(count_of(kFragments))]);
    }
    while (out.size() < target || timeout) {
      out += is_long ? ", " : kSeparators[rng_.below(count_of(kSeparators))];
      if (timeout && (out.size() >= target || rng_.one_in(2))) {
        expand(out, kTimeoutFragments[rng_.below(count_of(kTimeoutFragments))]);
        timeout = false;
      } else {
        expand(out, kFragments[rng_.below(count_of(kFragments))]);
      }
    }
  }

  void stack_frame(std::string& out) {
    out += "\tat ";
    const char* cls = kFrameClasses[rng_.below(count_of(kFrameClasses))];
    out += cls;
    // "com.acme.db.Pool.acquire" -> "(Pool.java:NNN)"
    std::string_view name(cls);
    name = name.substr(0, name.rfind('.'));
    name = name.substr(name.rfind('.') + 1);
    out += '(';
    out += name;
    out += ".java:";
    append_number(out, rng_.between(12, 980));
    out += ')';
  }

  void header(std::string& out, const char* level, char sep) {
    clock_.advance(rng_.one_in(4) ? 0 : rng_.between(1, 60));
    clock_.append_to(out);
    out += sep;
    out += sep == '\t' ? std::string_view(level, std::strcspn(level, " ")) : std::string_view(level);
    out += sep;
    out += '[';
    expand(out, kThreads[rng_.below(count_of(kThreads))]);
    out += ']';
    out += sep;
  }

  void end_line(std::string& out, Counts& counts) {
    bool crlf = ends_ == LineEnds::kCrlf || (ends_ == LineEnds::kMixed && rng_.one_in(2));
    out += crlf ? "\r\n" : "\n";
    counts.lines = 1;
    counts.crlf_lines = crlf;
  }

  void expand(std::string& out, const char* tmpl) {
    for (const char* p = tmpl; *p; ++p) {
      const char* run = p;
      while (*p && *p != '%') ++p;
      out.append(run, static_cast<size_t>(p - run));
      if (!*p) break;
      switch (*++p) {
        case 's': append_number(out, rng_.below(16)); break;
        case 'd': append_number(out, rng_.below(1000)); break;
        case 'D': append_number(out, rng_.below(10000000)); break;
        case 'x': append_hex(out, rng_.next(), 8); break;
        case 'X': append_hex(out, rng_.next(), 16); break;
        case 'i':
          out += "10.";
          append_number(out, rng_.below(256));
          out += '.';
          append_number(out, rng_.below(256));
          out += '.';
          append_number(out, rng_.between(1, 254));
          break;
        case 'z': out += kGbkPhrases[rng_.below(count_of(kGbkPhrases))]; break;
        default: out += '%'; --p; break;
      }
    }
  }

  static void append_number(std::string& out, uint64_t v) {
    char buf[24];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, res.ptr);
  }

  static void append_hex(std::string& out, uint64_t v, int digits) {
    static constexpr char kHex[] = "0123456789abcdef";
    char buf[16];
    for (int i = digits - 1; i >= 0; --i) {
      buf[i] = kHex[v & 15];
      v >>= 4;
    }
    out.append(buf, static_cast<size_t>(digits));
  }

  Rng rng_;
  LineEnds ends_;
  Clock clock_;
  uint32_t pending_frames_ = 0;
};

// ---------------------------------------------------------------------------
// Command line

struct Options {
  LineEnds ends = LineEnds::kCrlf;
  uint64_t seed = 1;
  uint64_t size = 0;
  const char* out = nullptr;
  bool quiet = false;
};

void usage(FILE* f) {
  std::fputs(
      "usage: log-generator [--lf|--crlf|--mixed] [--seed N] [--quiet] SIZE OUTFILE\n"
      "  SIZE     bytes, or with a K, M or G suffix (1024-based); 0 or at least 128\n"
      "  OUTFILE  file to write, or - for stdout\n"
      "Writes exactly SIZE bytes of synthetic GBK log lines; the last line is\n"
      "padded so that the file ends with a complete line.  Line ends are CR LF\n"
      "by default.  The same arguments always give the same bytes.\n",
      f);
}

bool parse_u64(std::string_view s, uint64_t& v) {
  if (s.empty()) return false;
  auto res = std::from_chars(s.data(), s.data() + s.size(), v);
  return res.ec == std::errc() && res.ptr == s.data() + s.size();
}

bool parse_size(std::string_view s, uint64_t& v) {
  int shift = 0;
  for (std::string_view suffix : {"iB", "B"}) {
    if (s.size() > suffix.size() && s.ends_with(suffix) &&
        std::strchr("KkMmGg", s[s.size() - suffix.size() - 1])) {
      s.remove_suffix(suffix.size());
      break;
    }
  }
  if (!s.empty()) {
    switch (s.back()) {
      case 'K': case 'k': shift = 10; break;
      case 'M': case 'm': shift = 20; break;
      case 'G': case 'g': shift = 30; break;
      default: break;
    }
    if (shift) s.remove_suffix(1);
  }
  if (!parse_u64(s, v)) return false;
  if (shift && v > (UINT64_MAX >> shift)) return false;
  v <<= shift;
  return true;
}

bool parse_args(int argc, char** argv, Options& o) {
  std::vector<const char*> positional;
  for (int i = 1; i < argc; ++i) {
    std::string_view a = argv[i];
    if (a == "--lf") {
      o.ends = LineEnds::kLf;
    } else if (a == "--crlf") {
      o.ends = LineEnds::kCrlf;
    } else if (a == "--mixed") {
      o.ends = LineEnds::kMixed;
    } else if (a == "--quiet" || a == "-q") {
      o.quiet = true;
    } else if (a == "--seed") {
      if (++i >= argc || !parse_u64(argv[i], o.seed)) {
        std::fputs("log-generator: --seed needs a non-negative integer\n", stderr);
        return false;
      }
    } else if (a == "--help" || a == "-h") {
      usage(stdout);
      std::exit(0);
    } else if (a.size() > 1 && a[0] == '-') {
      std::fprintf(stderr, "log-generator: unknown option %s\n", argv[i]);
      return false;
    } else {
      positional.push_back(argv[i]);
    }
  }
  if (positional.size() != 2) {
    usage(stderr);
    return false;
  }
  if (!parse_size(positional[0], o.size)) {
    std::fprintf(stderr, "log-generator: bad SIZE '%s'\n", positional[0]);
    return false;
  }
  if (o.size != 0 && o.size < LineMaker::kMinFinalLine) {
    std::fprintf(stderr, "log-generator: SIZE must be 0 or at least %zu bytes\n",
                 LineMaker::kMinFinalLine);
    return false;
  }
  o.out = positional[1];
  return true;
}

// ---------------------------------------------------------------------------

class Output {
 public:
  explicit Output(FILE* f) : f_(f) { buf_.reserve(kCapacity); }

  bool append(const std::string& s) {
    if (buf_.size() + s.size() > kCapacity && !flush()) return false;
    buf_.insert(buf_.end(), s.begin(), s.end());
    return true;
  }

  bool flush() {
    if (!buf_.empty() && std::fwrite(buf_.data(), 1, buf_.size(), f_) != buf_.size()) return false;
    buf_.clear();
    return true;
  }

 private:
  static constexpr size_t kCapacity = 16u << 20;
  FILE* f_;
  std::vector<char> buf_;
};

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!parse_args(argc, argv, o)) return 2;

  bool to_stdout = std::strcmp(o.out, "-") == 0;
  FILE* f = to_stdout ? stdout : std::fopen(o.out, "wb");
  if (!f) {
    std::fprintf(stderr, "log-generator: cannot create %s: %s\n", o.out, std::strerror(errno));
    return 1;
  }
  std::setvbuf(f, nullptr, _IONBF, 0);  // Output does its own buffering

  LineMaker maker(o.seed, o.ends);
  Output out(f);
  Counts total, c;
  std::string line;
  line.reserve(16384);
  uint64_t remaining = o.size;
  bool ok = true;
  while (remaining > 0 && ok) {
    maker.next_line(line, c);
    // Take the line if it ends the file exactly or leaves room for a final
    // line; otherwise close the file with a padded line of the exact size.
    if (line.size() != remaining &&
        (line.size() > remaining || remaining - line.size() < LineMaker::kMinFinalLine)) {
      maker.final_line(line, remaining, c);
    }
    ok = out.append(line);
    remaining -= line.size();
    total.lines += c.lines;
    total.crlf_lines += c.crlf_lines;
    total.timeout_lines += c.timeout_lines;
    total.fatal_lines += c.fatal_lines;
    total.long_lines += c.long_lines;
  }
  ok = ok && out.flush();
  if (!to_stdout) ok = (std::fclose(f) == 0) && ok;
  else ok = (std::fflush(f) == 0) && ok;
  if (!ok) {
    std::fprintf(stderr, "log-generator: write to %s failed: %s\n", o.out, std::strerror(errno));
    return 1;
  }
  if (!o.quiet) {
    std::fprintf(stderr,
                 "log-generator: %llu bytes, %llu lines (%llu CR LF, %llu LF), "
                 "%llu with \"timeout\", %llu with \"FATAL_7Q\", %llu long\n",
                 static_cast<unsigned long long>(o.size),
                 static_cast<unsigned long long>(total.lines),
                 static_cast<unsigned long long>(total.crlf_lines),
                 static_cast<unsigned long long>(total.lines - total.crlf_lines),
                 static_cast<unsigned long long>(total.timeout_lines),
                 static_cast<unsigned long long>(total.fatal_lines),
                 static_cast<unsigned long long>(total.long_lines));
  }
  return 0;
}
