#include "searcher/cli/console_window.h"

#include <clocale>
#include <cstring>

#include "common/codepage.h"
#include "common/standard_output.h"
#include "common/terminal.h"
#include "searcher/engine/result_paging.h"

namespace lorvane {

ConsoleWindow::ConsoleWindow(std::FILE* out, std::FILE* progress, std::string outputCharset, bool terminal,
                             bool colour)
    : out_(out), progress_(progress), charset_(std::move(outputCharset)), terminal_(terminal), colour_(colour) {}

void ConsoleWindow::EndRun(bool failed) {
  if (!holding_ || !failed || !failures_) return ReleaseHeldLine();
  holding_ = false;
  suite::FlushStdout(out_);  // what came before stays before on a shared terminal
  WriteLine(failures_, heldLine_);
  std::fflush(failures_);
}

void ConsoleWindow::Flush() {
  ReleaseHeldLine();
  std::fflush(out_);
}

void ConsoleWindow::ReleaseHeldLine() {
  if (!holding_) return;
  holding_ = false;
  WriteLine(out_, heldLine_);
}

void ConsoleWindow::WriteLine(std::FILE* stream, const std::string& text) {
  const std::string shown = ForConsole(text) + '\n';
  ClearProgress();
  std::fwrite(shown.data(), 1, shown.size(), stream);
}

void ConsoleWindow::OnSelectResultFile() {
  LorvaneWindowModel::OnSelectResultFile();
  if (context_) SelectResultFile(*this, *context_);
}

void ConsoleWindow::OnSelectResultLine() {
  LorvaneWindowModel::OnSelectResultLine();
  if (context_) SelectResultLine(*this, *context_);
}

void ConsoleWindow::PrintData(const std::string& text, int colour) {
  ReleaseHeldLine();
  if (!terminal_) {
    ClearProgress();
    std::fwrite(text.data(), 1, text.size(), out_);
    std::fputc('\n', out_);
    return;
  }
  // The target's lines, shown on a terminal in its own code page.
  const suite::CodePage codePage = context_ ? context_->codePage.load().codePage : suite::ActiveCodePage();
  ClearProgress();
  if (colour == 0 || !colour_) {
    const std::string shown = ForConsole(text, codePage) + '\n';
    std::fwrite(shown.data(), 1, shown.size(), out_);
    return;
  }
  std::fprintf(out_, "\x1b[%dm%s\x1b[0m\n", colour, ForConsole(text, codePage).c_str());
}

std::string ConsoleWindow::LocaleCharset() { return suite::ConsoleCharset(); }

std::string ConsoleWindow::ForConsole(const std::string& text) const {
  return ForConsole(text, suite::ActiveCodePage());
}

std::string ConsoleWindow::ForConsole(const std::string& text, suite::CodePage codePage) const {
  std::string shown = suite::CodePageToUtf8(codePage, text);
  if (charset_ != "UTF-8") shown = suite::ConvertFromUtf8(charset_.c_str(), shown);
  return shown;
}

void ConsoleWindow::PrintLine(const std::string& text) {
  ReleaseHeldLine();
  WriteLine(out_, text);
}

void ConsoleWindow::PostStatus(const std::string& message) {
  LorvaneWindowModel::PostStatus(message);
  const std::string& line = Status().Lines()[2];  // the line just posted, with its time prefix
  if (!failures_) {
    PrintLine(line);
    return;
  }
  ReleaseHeldLine();
  heldLine_ = line;
  holding_ = true;
}

void ConsoleWindow::EnableControls(bool enable, bool progress) {
  LorvaneWindowModel::EnableControls(enable, progress);
  if (enable) ClearProgress();
}

void ConsoleWindow::ProgressSetRange(int64_t low, int64_t high) {
  LorvaneWindowModel::ProgressSetRange(low, high);
  DrawProgress();
}

void ConsoleWindow::ProgressStep() {
  LorvaneWindowModel::ProgressStep();
  DrawProgress();
}

void ConsoleWindow::ProgressSetPosition(int64_t position) {
  LorvaneWindowModel::ProgressSetPosition(position);
  DrawProgress();
}

void ConsoleWindow::DrawProgress() {
  if (!progress_ || !Progress().shown) return;
  const Gauge& bar = Progress();
  const int64_t span = bar.high - bar.low;
  int percent = span > 0 ? static_cast<int>((bar.position - bar.low) * 100 / span) : 0;
  if (percent < 0) percent = 0;
  if (percent > 100) percent = 100;
  if (percent == drawnPercent_) return;
  // Work goes on after the held line, so it isn't a failure's: show it now.
  ReleaseHeldLine();
  drawnPercent_ = percent;
  suite::FlushStdout(out_);
  char line[80];
  const int filled = percent * 40 / 100;
  std::snprintf(line, sizeof line, "\r[%-40.*s] %3d%%", filled, "########################################", percent);
  std::fputs(line, progress_);
  std::fflush(progress_);
}

void ConsoleWindow::ClearProgress() {
  if (!progress_ || drawnPercent_ < 0) return;
  suite::FlushStdout(out_);
  std::fprintf(progress_, "\r%*s\r", 48, "");
  std::fflush(progress_);
  drawnPercent_ = -1;
}

}  // namespace lorvane
