// The main window's form: one stored value per control.
#pragma once

#include "common/rgb.h"

#include <cstdint>
#include <string>

namespace lorvane {

// "Read the form" copies the controls into these values; "refresh the form"
// copies them back, discarding unread typing. Texts are in the code page, the
// file path in the file system's own bytes.
struct LorvaneForm {
  std::string filePath;
  std::string keyword = "OK";
  // False when the keyword as typed has characters the code page can't hold
  // (`keyword` then holds "?" for them): such a keyword is not searched.
  bool keywordFits = true;
  bool matchCase = false;
  std::string sizeText;
  std::string totalLinesText;
  std::string readLinesText;
  std::string resultsText;
  int64_t startLine = 1;
  int64_t offset = 1000;
  int64_t halfPage = 5;
  int64_t centreLine = 0;  // not set until a result line is chosen
};

enum class FormText { FilePath, Keyword, Size, TotalLines, ReadLines, Results };
enum class FormNumber { StartLine, Offset, HalfPage, CentreLine };

// The stored value of a field.
inline std::string& FieldOf(LorvaneForm& form, FormText field) {
  switch (field) {
    case FormText::FilePath: return form.filePath;
    case FormText::Keyword: return form.keyword;
    case FormText::Size: return form.sizeText;
    case FormText::TotalLines: return form.totalLinesText;
    case FormText::ReadLines: return form.readLinesText;
    case FormText::Results: break;
  }
  return form.resultsText;
}

inline int64_t& FieldOf(LorvaneForm& form, FormNumber field) {
  switch (field) {
    case FormNumber::StartLine: return form.startLine;
    case FormNumber::Offset: return form.offset;
    case FormNumber::HalfPage: return form.halfPage;
    case FormNumber::CentreLine: break;
  }
  return form.centreLine;
}

// Edits that workers select, focus, hide or show.
enum class EditControl { FilePath, Keyword, HalfPage };

// The three lists the workers fill.
enum class ListControl { ResultFiles, Results, VirtualPage };

// The colour of a virtual-page entry.
using Rgb = suite::Rgb;

// The workers a worker or action may start on a thread of its own.
enum class Worker { QuickPreRead, Search, CenterVirtualPage, LookAtContent, LoadClipboard, ContinueSearch };

}  // namespace lorvane
