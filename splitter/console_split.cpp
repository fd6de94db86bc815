#include "splitter/console_split.h"

#include <optional>

#include "common/codepage.h"
#include "splitter/cleavora_form.h"
#include "splitter/cleavora_window_model.h"
#include "splitter/piece_size.h"
#include "splitter/split.h"
#include "splitter/split_state.h"

namespace cleavora {
namespace {

// The dialog's state without the dialog: status texts become console lines.
class ConsoleSplitWindow : public CleavoraWindowModel {
 public:
  explicit ConsoleSplitWindow(std::FILE* out) : out_(out) {}

  void SetStatusText(const std::string& text) override {
    CleavoraWindowModel::SetStatusText(text);
    Print(text);
  }
  void ShowStatusLine(const std::string& text) override {
    CleavoraWindowModel::ShowStatusLine(text);
    Print(text);
  }

 private:
  void Print(const std::string& text) {
    std::fputs(suite::ToUtf8(text).c_str(), out_);
    std::fputc('\n', out_);
  }

  std::FILE* out_;
};

constexpr const char* kUsage = "usage: partivo-cli split FILE LINES   (LINES from 10000 to 1000000000)\n";

}  // namespace

int RunConsoleSplit(const std::vector<std::string>& args, const suite::FilePlace& place, std::FILE* out,
                    std::FILE* err) {
  if (args.size() != 3 || args[0] != "split") {
    std::fputs(kUsage, err);
    return 2;
  }
  const std::string& path = args[1];
  const std::optional<int64_t> lines = ParsePieceSizeField(args[2]);
  if (!lines || !IsPieceSizeInRange(*lines)) {
    std::fprintf(err, "partivo-cli: LINES must be a whole number from %lld to %lld, not '%s'\n",
                 static_cast<long long>(kMinLinesPerPiece), static_cast<long long>(kMaxLinesPerPiece),
                 args[2].c_str());
    std::fputs(kUsage, err);
    return 2;
  }

  ConsoleSplitWindow window(out);
  window.SetFilePath(path);
  window.SetLinesPerPiece(*lines);
  SplitState state(place);
  const int result = RunSplit(window, state);
  if (result == 0) std::fprintf(out, "%s\n", state.LastSplitDirectory().c_str());
  std::fflush(out);
  return result == 0 ? 0 : 1;
}

}  // namespace cleavora
