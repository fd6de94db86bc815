// The searcher's main window on a console: status lines on stdout, progress on stderr.
#pragma once

#include <cstdio>
#include <string>

#include "searcher/engine/lorvane_window_model.h"

namespace lorvane {

// Status lines go to `out` as text of the console's character set (GBK when the
// locale's character set is a GB one, UTF-8 otherwise); bytes of the code page
// that don't decode show as \xNN. A progress bar is drawn on `progress` when it
// is given (the caller passes stderr only when it is a terminal).
class ConsoleWindow : public LorvaneWindowModel {
 public:
  ConsoleWindow(std::FILE* out, std::FILE* progress, std::string outputCharset);

  void PostStatus(const std::string& message) override;
  void EnableControls(bool enable, bool progress) override;
  void ProgressSetRange(int64_t low, int64_t high) override;
  void ProgressStep() override;
  void ProgressSetPosition(int64_t position) override;

  // Writes one line of code-page text, converted for the console.
  void PrintLine(const std::string& text);

  // The console's character set from the locale: "GBK"/"GB18030" for GB locales, else "UTF-8".
  static std::string LocaleCharset();

 private:
  void DrawProgress();
  void ClearProgress();

  std::FILE* out_;
  std::FILE* progress_;
  std::string charset_;
  int drawnPercent_ = -1;
};

}  // namespace lorvane
