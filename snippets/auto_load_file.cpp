#include "snippets/auto_load_file.h"

#include "common/exclusive_file.h"
#include "common/line_reader.h"
#include "common/output_file.h"

namespace snipkeep {
namespace {

// One path: a page covers it, and more only grows the buffer.
constexpr size_t kAutoLoadBlockSize = 4096;

}  // namespace

std::string ReadAutoLoadFile(const std::string& path) {
  suite::ExclusiveFile file;
  if (!file.Open(path)) return std::string();
  suite::LineReader reader(file, 0, kAutoLoadBlockSize);
  suite::TextLine line;
  if (!reader.Next(line)) return std::string();
  return std::string(line.text);
}

bool WriteAutoLoadFile(const std::string& path, const std::string& listFile) {
  suite::OutputFile file(kAutoLoadBlockSize);
  if (!file.Create(path)) return false;
  file.Append(listFile);
  return file.Close();
}

}  // namespace snipkeep
