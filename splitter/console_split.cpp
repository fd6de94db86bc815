#include "splitter/console_split.h"

#include <optional>

#include "common/codepage.h"
#include "common/standard_output.h"
#include "common/suite_version.h"
#include "splitter/cleavora_form.h"
#include "splitter/cleavora_window_model.h"
#include "splitter/piece_size.h"
#include "splitter/split.h"
#include "splitter/split_state.h"

namespace cleavora {
namespace {

// The dialog's state without the dialog: status texts become console lines.
// The newest is held back until another comes, so that a failed split's last
// text, which says why, can go to the failure stream instead.
class ConsoleSplitWindow : public CleavoraWindowModel {
 public:
  explicit ConsoleSplitWindow(std::FILE* out) : out_(out) {}

  void SetStatusText(const std::string& text) override {
    CleavoraWindowModel::SetStatusText(text);
    Hold(text);
  }
  void ShowStatusLine(const std::string& text) override {
    CleavoraWindowModel::ShowStatusLine(text);
    Hold(text);
  }

  // Writes the held text to `stream`.
  void EndRun(std::FILE* stream) {
    if (held_) Print(stream, *held_);
    held_.reset();
  }

 private:
  void Hold(const std::string& text) {
    EndRun(out_);
    held_ = text;
  }
  static void Print(std::FILE* stream, const std::string& text) {
    std::fputs(suite::ToUtf8(text).c_str(), stream);
    std::fputc('\n', stream);
  }

  std::FILE* out_;
  std::optional<std::string> held_;
};

constexpr const char* kUsageLine = "usage: partivo-cli split FILE LINES";

constexpr const char* kHelp =
    "usage: partivo-cli split FILE LINES\n"
    "Split a big text file into pieces of LINES lines each, with the split of the\n"
    "window program Partivo.\n"
    "\n"
    "Commands:\n"
    "  split FILE LINES  split FILE into pieces of LINES lines (10000 to\n"
    "                    1000000000): 000000000.txt, 000000001.txt, ... in a new\n"
    "                    split directory named after the time (YYYYMMDD_hhmmss);\n"
    "                    each line keeps its bytes and ends in CR LF; the split\n"
    "                    directory is printed last\n"
    "\n"
    "Options:\n"
    "  -h, --help        print this help and exit\n"
    "      --version     print the version and exit\n"
    "\n"
    "Split directories are made in __Cleavora__ beside the program when the\n"
    "program's folder is writable and not a system folder (a portable copy);\n"
    "otherwise in Partivo in the user's documents folder (XDG_DOCUMENTS_DIR from\n"
    "~/.config/user-dirs.dirs, else ~/Documents when it exists, else the home\n"
    "folder).\n"
    "\n"
    "Status texts (in Chinese, UTF-8) go to stdout; a failed split's message goes\n"
    "to stderr.\n"
    "\n"
    "Exit status: 0 done, 1 the split failed (after its message) or stdout can't be\n"
    "written, 2 bad arguments.\n";

int Usage(std::FILE* err, const std::string& problem) {
  std::fprintf(err, "partivo-cli: %s\n%s\nTry 'partivo-cli --help' for more information.\n", problem.c_str(),
               kUsageLine);
  return 2;
}

// The split mode's command, before its output is checked.
int RunCommand(const std::vector<std::string>& args, const suite::FilePlace& place, std::FILE* out,
               std::FILE* err) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::fputs(kHelp, out);
    return 0;
  }
  if (args.size() == 1 && args[0] == "--version") {
    std::fprintf(out, "partivo-cli %s\n", suite::kSuiteVersion);
    return 0;
  }
  if (args.empty()) return Usage(err, "no command given");
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "--version") {
    return Usage(err, args[0] + " takes no arguments");
  }
  if (args[0] != "split") {
    return Usage(err, (args[0].rfind('-', 0) == 0 ? "unknown option: " : "unknown command: ") + args[0]);
  }
  if (args.size() != 3) return Usage(err, "split takes exactly FILE and LINES");
  const std::string& path = args[1];
  const std::optional<int64_t> lines = ParsePieceSizeField(args[2]);
  if (!lines || !IsPieceSizeInRange(*lines)) {
    return Usage(err, "LINES must be a whole number from " + std::to_string(kMinLinesPerPiece) + " to " +
                          std::to_string(kMaxLinesPerPiece) + ", not '" + args[2] + "'");
  }

  ConsoleSplitWindow window(out);
  window.SetFilePath(path);
  window.SetLinesPerPiece(*lines);
  SplitState state(place);
  if (place.programFolderUnknown) window.SetStatusText(suite::NoProgramFolderText(place));
  const int result = RunSplit(window, state);
  if (result != 0) suite::FlushStdout(out);  // what came before stays before on a shared terminal
  window.EndRun(result == 0 ? out : err);
  if (result == 0) std::fprintf(out, "%s\n", state.LastSplitDirectory().c_str());
  return result == 0 ? 0 : 1;
}

}  // namespace

int RunConsoleSplit(const std::vector<std::string>& args, const suite::FilePlace& place, std::FILE* out,
                    std::FILE* err) {
  const int status = suite::FinishStdout(out, err, "partivo-cli", RunCommand(args, place, out, err));
  std::fflush(err);
  return status;
}

}  // namespace cleavora
