// lorvane-cli: the searcher's engine on a console, beside the window program.
#include <clocale>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "common/codepage_choice.h"
#include "common/path_util.h"
#include "common/standard_output.h"
#include "common/suite_version.h"
#include "common/terminal.h"
#include "searcher/cli/console_window.h"
#include "searcher/cli/follow_command.h"
#include "searcher/cli/terminal_style.h"
#include "searcher/engine/auto_load.h"
#include "searcher/engine/clipboard_search.h"
#include "searcher/engine/command_line.h"
#include "searcher/engine/keyword_search.h"
#include "searcher/engine/quick_index.h"
#include "searcher/engine/quick_pre_read.h"
#include "searcher/engine/search_context.h"
#include "searcher/engine/search_update.h"
#include "searcher/engine/virtual_page.h"
#include "searcher/history/history_browser.h"
#include "searcher/history/history_store.h"
#include "searcher/history/history_window_model.h"
#include "searcher/history/result_descriptor.h"
#include "searcher/history/result_load.h"
#include "searcher/history/result_records.h"

namespace {

using lorvane::ConsoleWindow;

constexpr const char* kHelp =
    "usage: lorvane-cli COMMAND [ARGUMENT]...\n"
    "Search a big text log for a keyword from the console, with the engine of the\n"
    "window program Lorvane, and look through the searches kept.\n"
    "\n"
    "Commands:\n"
    "  index FILE        pre-read FILE: the status lines, the size text, the line\n"
    "                    count and the quick index (the offset of every 10000th\n"
    "                    line)\n"
    "  search KEYWORD 0|1 FILE\n"
    "                    pre-read and search FILE for KEYWORD (1: match case)\n"
    "                    into a new history directory in the work directory, as\n"
    "                    the window's command line does, and print that\n"
    "                    directory; a FILE not found as given is looked for\n"
    "                    beside the program\n"
    "  restore DESCRIPTOR\n"
    "                    restore a search from its result.lvn and print what it\n"
    "                    shows\n"
    "  page DESCRIPTOR LINE [HALF]\n"
    "                    restore, then the virtual page of LINE: HALF lines above\n"
    "                    and below (default 5, at most 1000), each marked *\n"
    "                    (centre line with the keyword), + (another line with the\n"
    "                    keyword) or a blank\n"
    "  view DESCRIPTOR START COUNT\n"
    "                    restore, then write COUNT lines from line START into a\n"
    "                    content-view file in the history directory and print its\n"
    "                    path\n"
    "  update DESCRIPTOR\n"
    "                    go on with the search of a result.lvn over what was\n"
    "                    appended to its log since, and print the new results;\n"
    "                    fails when the log was replaced or cut since\n"
    "  follow KEYWORD 0|1 FILE\n"
    "                    search FILE as search does, print the history\n"
    "                    directory, then keep searching what is appended and\n"
    "                    print each new result (of a whole line) as it is\n"
    "                    found, keeping the history current; a rotation (a new\n"
    "                    file at the name) or a cut (copytruncate) is said and\n"
    "                    followed by a new history of the file; Ctrl-C or\n"
    "                    SIGTERM ends it (exit 130 or 143), the history whole\n"
    "  history           list the searches kept in the work directory, oldest\n"
    "                    first, as the history browser shows them: time, result\n"
    "                    lines, total lines, keyword, match case, size, target\n"
    "                    name, whether the target is gone, and the descriptor to\n"
    "                    restore; fields separated by tabs\n"
    "\n"
    "Options:\n"
    "  -h, --help        print this help and exit\n"
    "      --version     print the version and exit\n"
    "\n"
    "The work directory is __Lorvane__ beside the program when the program's\n"
    "folder is writable and not a system folder (a portable copy); otherwise it\n"
    "is $XDG_STATE_HOME/lorvane (~/.local/state/lorvane when XDG_STATE_HOME is\n"
    "unset).\n"
    "\n"
    "The viewing commands take the quick index from the descriptor and never\n"
    "pre-read. Status lines (in Chinese) and data go to stdout; a failure's\n"
    "message goes to stderr. Lines from files are written as their bytes, or\n"
    "converted (and the page's lines coloured) when stdout is a terminal;\n"
    "NO_COLOR (set, not empty) or TERM=dumb turn the colour off. A progress bar is\n"
    "drawn on stderr when it is a terminal and TERM isn't dumb. Texts of files are\n"
    "read in each file's own code page, GBK or UTF-8, found from its bytes;\n"
    "SUITE_CODEPAGE=gbk or utf-8 forces one for every file.\n"
    "\n"
    "follow looks at the log when inotify says it changed, and at least once a\n"
    "second; SUITE_WATCH=poll makes it look every 250 ms instead, SUITE_FOLLOW_MS\n"
    "sets the least time between two looks (250).\n"
    "\n"
    "Exit status: 0 done, 1 failed (after the failure's message; also when stdout\n"
    "can't be written), 2 bad arguments, 130 or 143 follow ended by Ctrl-C or\n"
    "SIGTERM.\n";

// The usage line of each command; the first is the program's.
std::string UsageLine(const std::string& command) {
  static const char* const kLines[][2] = {
      {"index", "index FILE"},
      {"search", "search KEYWORD 0|1 FILE"},
      {"restore", "restore DESCRIPTOR"},
      {"page", "page DESCRIPTOR LINE [HALF]"},
      {"view", "view DESCRIPTOR START COUNT"},
      {"update", "update DESCRIPTOR"},
      {"follow", "follow KEYWORD 0|1 FILE"},
      {"history", "history"},
  };
  for (const auto& line : kLines) {
    if (command == line[0]) return std::string("usage: lorvane-cli ") + line[1];
  }
  return "usage: lorvane-cli index|search|restore|page|view|update|follow|history [ARGUMENT]...";
}

// Bad arguments: what is wrong, the usage line, and where the whole help is.
int Usage(const std::string& problem, const std::string& command = {}) {
  std::fprintf(stderr, "lorvane-cli: %s\n%s\nTry 'lorvane-cli --help' for more information.\n", problem.c_str(),
               UsageLine(command).c_str());
  return 2;
}

// Prints a text whose lines end in CR LF one console line each.
void PrintLines(ConsoleWindow& window, const std::string& text) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    size_t length = end - start;
    if (length > 0 && text[start + length - 1] == '\r') --length;
    window.PrintLine(text.substr(start, length));
    start = end + 1;
  }
}

// Runs the workers the window was asked to start, one after another, as the
// window's single worker at a time would.
int RunWorkers(ConsoleWindow& window, lorvane::SearchContext& context) {
  int result = 0;
  while (!window.PendingWorkers().empty()) {
    const lorvane::Worker worker = window.PendingWorkers().front();
    window.PendingWorkers().pop_front();
    switch (worker) {
      case lorvane::Worker::QuickPreRead: result = lorvane::QuickPreRead(window, context); break;
      case lorvane::Worker::Search: result = lorvane::Search(window, context); break;
      case lorvane::Worker::CenterVirtualPage: result = lorvane::CenterVirtualPage(window, context); break;
      case lorvane::Worker::LookAtContent: result = lorvane::LookAtContent(window, context); break;
      case lorvane::Worker::LoadClipboard: result = lorvane::LoadClipboard(window, context); break;
      case lorvane::Worker::ContinueSearch: result = lorvane::ContinueSearch(window, context); break;
      default: break;
    }
    if (result != 0) return result;
  }
  return result;
}

int RunIndex(ConsoleWindow& window, const std::string& path) {
  lorvane::SearchContext context;
  lorvane::StartUpEngine(window, context, lorvane::ProgramFiles());
  window.SetFormText(lorvane::FormText::FilePath, path);
  window.RefreshForm();
  if (lorvane::QuickPreRead(window, context) != 0) return 1;
  window.PrintLine(window.Form().sizeText);
  window.PrintLine(window.Form().totalLinesText);
  PrintLines(window, lorvane::QuickIndexText(context.quickIndex));
  return 0;
}

// KEYWORD 0|1 FILE of search and follow: the request, with the keyword in
// the code page; nothing after the usage message (`*code`) when they're bad.
std::optional<lorvane::CommandLineRequest> SearchRequest(const std::vector<std::string>& arguments,
                                                         const std::string& command, int* code) {
  lorvane::CommandLineRequest request = lorvane::ParseCommandLine(arguments, suite::GetModuleDirectory());
  if (!request.autoLoad) {
    if (arguments[0].empty()) {
      *code = Usage("KEYWORD is empty", command);
    } else if (arguments[1] != "0" && arguments[1] != "1") {
      *code = Usage("the match-case flag must be 0 or 1", command);
    } else {
      *code = Usage("FILE not found, neither as given nor beside the program: " + arguments[2], command);
    }
    return std::nullopt;
  }
  // The keyword is the arguments' text: it must decode, and fit the code page.
  const auto utf8 = suite::ConvertExactly("UTF-8", suite::ArgumentCharset().c_str(), request.keyword);
  const auto keyword = utf8 ? suite::Utf8ToCodePageExactly(suite::ActiveCodePage(), *utf8) : std::nullopt;
  if (!keyword) {
    *code = Usage("KEYWORD has characters the code page " + std::string(suite::CodePageName(suite::ActiveCodePage())) +
                      " can't hold (SUITE_CODEPAGE forces it; unset it to read each log in its own)",
                  command);
    return std::nullopt;
  }
  request.keyword = *keyword;
  return request;
}

int RunSearch(ConsoleWindow& window, const std::vector<std::string>& arguments) {
  int code = 0;
  const std::optional<lorvane::CommandLineRequest> request = SearchRequest(arguments, "search", &code);
  if (!request) return code;
  const std::string* const keyword = &request->keyword;
  lorvane::SearchContext context;
  lorvane::StartUpEngine(window, context, lorvane::ProgramFiles());
  window.SetAutoSearch(true);
  lorvane::AutoLoad(window, request->targetPath, *keyword, request->matchCase);
  window.RefreshForm();
  if (RunWorkers(window, context) != 0) return 1;
  window.PrintLine(suite::PathText(context.historyDirectory));
  return 0;
}

// Restores a descriptor into `context`; false (after saying why) when it can't.
bool Restore(ConsoleWindow& window, lorvane::SearchContext& context, const std::string& path) {
  if (!suite::PathExists(path)) {
    std::fprintf(stderr, "lorvane-cli: no such descriptor: %s\n", path.c_str());
    return false;
  }
  window.AttachContext(&context);
  lorvane::StartUpEngine(window, context, lorvane::ProgramFiles());
  return lorvane::ResultLoad(window, context, path);
}

int RunRestore(ConsoleWindow& window, const std::string& path) {
  lorvane::SearchContext context;
  if (!Restore(window, context, path)) return 1;
  const lorvane::LorvaneForm& form = window.Form();
  using suite::Cp;
  window.PrintLine(Cp("文件路径: ") + suite::PathText(form.filePath));
  window.PrintLine(Cp("关键字: ") + form.keyword);
  window.PrintLine(Cp("匹配大小写: ") + (form.matchCase ? "Y" : "N"));
  window.PrintLine(Cp("大小: ") + form.sizeText);
  window.PrintLine(form.totalLinesText);
  window.PrintLine(form.readLinesText);
  window.PrintLine(Cp("结果: ") + form.resultsText);
  window.PrintLine(Cp("结果文件列表:"));
  for (const auto& entry : window.List(lorvane::ListControl::ResultFiles).entries) window.PrintLine(entry.text);
  window.PrintLine(Cp("搜索结果:"));
  for (const auto& entry : window.List(lorvane::ListControl::Results).entries) window.PrintData(entry.text);
  return 0;
}

// A whole decimal number within [low, high], or nothing.
std::optional<int64_t> NumberArgument(const std::string& text, int64_t low, int64_t high) {
  if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  const int64_t value = std::stoll(text);
  if (value < low || value > high) return std::nullopt;
  return value;
}

int RunPage(ConsoleWindow& window, const std::vector<std::string>& arguments) {
  const auto line = NumberArgument(arguments[1], 1, INT64_MAX / 2);
  if (!line) return Usage("LINE must be a line number from 1 on", "page");
  const auto half = arguments.size() > 2 ? NumberArgument(arguments[2], 0, INT64_MAX / 2) : std::optional<int64_t>(5);
  if (!half) return Usage("HALF must be a whole number", "page");
  lorvane::SearchContext context;
  if (!Restore(window, context, arguments[0])) return 1;
  window.PendingWorkers().clear();  // the restore's own page of its first result
  window.SetFormNumber(lorvane::FormNumber::CentreLine, *line);
  window.SetFormNumber(lorvane::FormNumber::HalfPage, *half);
  if (lorvane::CenterVirtualPage(window, context) != 0) return 1;
  for (const auto& entry : window.List(lorvane::ListControl::VirtualPage).entries) {
    const bool centre = entry.colour == lorvane::kCentreKeywordColour;
    const bool keyword = entry.colour == lorvane::kKeywordColour;
    window.PrintData(std::string(centre ? "* " : keyword ? "+ " : "  ") + entry.text, centre ? 34 : keyword ? 32 : 0);
  }
  return 0;
}

int RunView(ConsoleWindow& window, const std::vector<std::string>& arguments) {
  const auto start = NumberArgument(arguments[1], 0, INT64_MAX / 2);
  const auto count = NumberArgument(arguments[2], 0, INT64_MAX / 2);
  if (!start || !count) return Usage("START and COUNT must be whole numbers", "view");
  lorvane::SearchContext context;
  if (!Restore(window, context, arguments[0])) return 1;
  window.PendingWorkers().clear();
  window.Controls().startLine = *start;
  window.Controls().offset = *count;
  lorvane::OnBtnLookAtContent(window, context);
  if (window.PendingWorkers().empty()) return 1;  // the check said why
  if (RunWorkers(window, context) != 0) return 1;
  for (const std::string& path : window.OpenedPaths()) window.PrintLine(suite::PathText(path));
  return 0;
}

// Prints the records `first` to `last` of a history; false (after saying
// why) when they can't be read back.
bool PrintRecords(ConsoleWindow& window, const std::string& directory, int64_t first, int64_t last) {
  if (first < 1 || first > last) return true;
  const bool read = lorvane::ForEachResultRecord(directory, first, last, [&](std::string_view record) {
    window.PrintData(std::string(record));
    return true;
  });
  if (!read) window.PostStatus(suite::Cp("读取搜索结果文件失败! 目录[") + suite::PathText(directory) + "]");
  return read;
}

int RunUpdate(ConsoleWindow& window, const std::string& path) {
  if (!suite::PathExists(path)) {
    std::fprintf(stderr, "lorvane-cli: no such descriptor: %s\n", path.c_str());
    return 1;
  }
  // (the history is all it needs: no work directory is made or looked for)
  lorvane::SearchContext context;
  window.AttachContext(&context);
  context.historyDirectory = lorvane::HistoryDirectoryOf(path);
  lorvane::ContinuedSearch continued;
  if (lorvane::ContinueSearch(window, context, &continued) != 0) return 1;
  return PrintRecords(window, context.historyDirectory, continued.firstNewResult, continued.results) ? 0 : 1;
}

// Searches a log, then follows it until a stop signal: see the help.
int RunFollow(ConsoleWindow& window, const std::vector<std::string>& arguments) {
  int code = 0;
  const std::optional<lorvane::CommandLineRequest> request = SearchRequest(arguments, "follow", &code);
  if (!request) return code;
  return lorvane::FollowLog(window, request->targetPath, request->keyword, request->matchCase);
}

// The history browser's rows, with the descriptor of each row that has one.
int RunHistory(ConsoleWindow& window) {
  lorvane::HistoryBrowser browser(lorvane::ProgramWorkDirectory());
  lorvane::HistoryWindowModel list;
  browser.InitDialog(list);
  browser.FillHistoryList(list);
  std::string header;
  for (const std::string& title : list.ColumnTitles()) header += title + "\t";
  window.PrintLine(header + suite::Cp("描述文件"));
  for (int row = 0; row < list.RowCount(); ++row) {
    const std::vector<std::string> cells = list.Row(row);
    std::string line;
    for (const std::string& cell : cells) line += cell + "\t";
    const std::string directory = browser.RowDirectory(list, row);
    const std::string descriptor = lorvane::DescriptorPath(directory);
    if (!directory.empty() && suite::PathExists(descriptor)) {
      line += suite::PathText(descriptor);
    }
    window.PrintLine(line);
  }
  return 0;
}

// Runs the command in `argv` (the program's name first); main checks that
// its output got out.
int Run(const std::vector<std::string>& argv) {
  if (argv.size() == 2 && (argv[1] == "--help" || argv[1] == "-h")) {
    std::fputs(kHelp, stdout);
    return 0;
  }
  if (argv.size() == 2 && argv[1] == "--version") {
    std::printf("lorvane-cli %s\n", suite::kSuiteVersion);
    return 0;
  }
  if (argv.size() < 2) return Usage("no command given");
  const std::string command = argv[1];
  const std::vector<std::string> arguments(argv.begin() + 2, argv.end());

  const lorvane::TerminalStyle style = lorvane::ChooseTerminalStyle(
      suite::StdoutIsTerminal(), suite::StderrIsTerminal(), std::getenv("NO_COLOR"), std::getenv("TERM"));
  ConsoleWindow window(stdout, style.progress ? stderr : nullptr, ConsoleWindow::LocaleCharset(),
                       suite::StdoutIsTerminal(), style.colour);
  window.ReportFailuresOn(stderr);
  int code = 0;
  if (command == "index") {
    if (arguments.size() != 1) return Usage("index takes exactly one FILE", command);
    if (arguments[0].empty()) return Usage("FILE is empty", command);
    code = RunIndex(window, arguments[0]);
  } else if (command == "search") {
    if (arguments.size() != 3) return Usage("search takes exactly KEYWORD, 0 or 1, and FILE", command);
    code = RunSearch(window, arguments);
  } else if (command == "restore") {
    if (arguments.size() != 1 || arguments[0].empty()) return Usage("restore takes exactly one DESCRIPTOR", command);
    code = RunRestore(window, arguments[0]);
  } else if (command == "page") {
    if (arguments.size() != 2 && arguments.size() != 3) {
      return Usage("page takes DESCRIPTOR, LINE and maybe HALF", command);
    }
    code = RunPage(window, arguments);
  } else if (command == "view") {
    if (arguments.size() != 3) return Usage("view takes DESCRIPTOR, START and COUNT", command);
    code = RunView(window, arguments);
  } else if (command == "update") {
    if (arguments.size() != 1 || arguments[0].empty()) return Usage("update takes exactly one DESCRIPTOR", command);
    code = RunUpdate(window, arguments[0]);
  } else if (command == "follow") {
    if (arguments.size() != 3) return Usage("follow takes exactly KEYWORD, 0 or 1, and FILE", command);
    code = RunFollow(window, arguments);
  } else if (command == "history") {
    if (!arguments.empty()) return Usage("history takes no arguments", command);
    code = RunHistory(window);
  } else if (command == "--help" || command == "-h" || command == "--version") {
    return Usage(command + " takes no arguments");
  } else if (!command.empty() && command[0] == '-') {
    return Usage("unknown option: " + command);
  } else {
    return Usage("unknown command: " + command);
  }
  window.EndRun(code == 1);  // (a follow stopped by a signal ends with 128 + it, no failure)
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  suite::KeepStandardDescriptors();
  // The terminal's character set and the system's error texts are all this
  // program takes from the locale (numbers stay as C writes them); loading
  // every category would cost an update a tenth of its start.
  std::setlocale(LC_CTYPE, "");
#ifdef LC_MESSAGES
  std::setlocale(LC_MESSAGES, "");
#endif
  if (const auto& unknown = suite::CodePageSettingOfProcess().unknown) {
    std::fprintf(stderr, "lorvane-cli: %s\n", suite::UnknownCodePageConsoleText(*unknown).c_str());
    return 2;
  }
  const int code = Run(suite::ProgramArguments(argc, argv));
  return suite::FinishStdout(stdout, stderr, "lorvane-cli", code);
}
