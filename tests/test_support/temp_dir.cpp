#include "test_support/temp_dir.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace suite::testing {

namespace {

// The path's bytes as the file system's name: on Windows a narrow name would
// be taken in the ANSI code page, not as the UTF-8 it is.
std::filesystem::path FileName(const std::string& path) {
#ifdef _WIN32
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
#else
  return std::filesystem::path(path);
#endif
}

}  // namespace

#ifdef _WIN32
// MinGW's streams take a narrow name in the ANSI code page: _wfopen takes the UTF-16 one.
std::string WriteFile(const std::string& path, std::string_view bytes) {
  if (std::FILE* out = ::_wfopen(FileName(path).c_str(), L"wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
  }
  return path;
}

std::string ReadFile(const std::string& path) {
  std::string content;
  if (std::FILE* in = ::_wfopen(FileName(path).c_str(), L"rb")) {
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) content.append(buffer, got);
    std::fclose(in);
  }
  return content;
}
#else
std::string WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(FileName(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(FileName(path), std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}
#endif

}  // namespace suite::testing
