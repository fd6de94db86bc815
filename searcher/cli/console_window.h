// The searcher's main window on a console: status lines on stdout, progress on stderr.
#pragma once

#include <cstdio>
#include <string>

#include "searcher/engine/lorvane_window_model.h"
#include "searcher/engine/search_context.h"

namespace lorvane {

// Status lines go to `out` as text of the console's character set (GBK when the
// locale's character set is a GB one, UTF-8 otherwise); bytes of the code page
// that don't decode show as \xNN. A progress bar is drawn on `progress` when it
// is given (the caller passes stderr only when it is a terminal).
class ConsoleWindow : public LorvaneWindowModel {
 public:
  // `terminal`: `out` is a terminal, so data from files is converted for it;
  // otherwise data goes out as its bytes. `colour`: data may be coloured.
  ConsoleWindow(std::FILE* out, std::FILE* progress, std::string outputCharset, bool terminal = false,
                bool colour = false);

  // From now on the newest status line is held back until anything else is
  // written, so that EndRun can send a failure's message to `failures`.
  void ReportFailuresOn(std::FILE* failures) { failures_ = failures; }
  // Writes the held line: to `failures` when the run failed (its last status
  // line says why), else to `out`.
  void EndRun(bool failed);
  // Writes the held line and everything buffered: a command that waits
  // between its outputs shows each at once.
  void Flush();

  // The selection actions run the engine's, on this context.
  void AttachContext(SearchContext* context) { context_ = context; }
  void OnSelectResultFile() override;
  void OnSelectResultLine() override;

  void PostStatus(const std::string& message) override;
  void EnableControls(bool enable, bool progress) override;
  void ProgressSetRange(int64_t low, int64_t high) override;
  void ProgressStep() override;
  void ProgressSetPosition(int64_t position) override;

  // Writes one line of code-page text, converted for the console.
  void PrintLine(const std::string& text);
  // Writes one line of data from a file: its bytes, or converted on a terminal.
  // `colour` is an ANSI colour number, used on a terminal only (0: none).
  void PrintData(const std::string& text, int colour = 0);

  // The console's character set from the locale: "GBK"/"GB18030" for GB locales, else "UTF-8".
  static std::string LocaleCharset();

 private:
  std::string ForConsole(const std::string& text) const;
  std::string ForConsole(const std::string& text, suite::CodePage codePage) const;
  void WriteLine(std::FILE* stream, const std::string& text);
  void ReleaseHeldLine();
  void DrawProgress();
  void ClearProgress();

  std::FILE* out_;
  std::FILE* progress_;
  std::FILE* failures_ = nullptr;
  std::string charset_;
  bool terminal_;
  bool colour_;
  bool holding_ = false;
  std::string heldLine_;
  SearchContext* context_ = nullptr;
  int drawnPercent_ = -1;
};

}  // namespace lorvane
