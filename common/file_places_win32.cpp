// The facts behind FilePlace on Windows: the user's profile, the local and
// roaming application data folders, the documents folder.
#include <windows.h>

#include <cstdlib>

#include "common/file_places.h"
#include "common/path_util.h"
#include "common/wide_text_win32.h"

namespace suite {
namespace {

std::string Variable(const wchar_t* name) {
  const DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) return std::string();
  std::wstring value(size, L'\0');
  const DWORD length = ::GetEnvironmentVariableW(name, value.data(), size);
  if (length == 0 || length >= size) return std::string();
  value.resize(length);
  return win32::Narrow(value);
}

std::string WithoutTrailingSeparator(std::string folder) {
  while (folder.size() > 3 && IsPathSeparator(folder.back())) folder.pop_back();
  return folder;
}

std::string AbsoluteVariable(const wchar_t* name) {
  const std::string value = WithoutTrailingSeparator(Variable(name));
  return IsAbsolutePath(value) ? value : std::string();
}

// Creates the missing folders of an absolute path, from the drive or share on.
void MakeDirectoryChain(const std::string& directory) {
  for (size_t next = directory.find_first_of("/\\", 3);; next = directory.find_first_of("/\\", next + 1)) {
    const std::string part = directory.substr(0, next);
    if (!part.empty() && !IsDirectory(part)) MakeDirectory(part);
    if (next == std::string::npos) break;
  }
}

}  // namespace

// The XDG variables, when set, still win: the rule is the same everywhere.
// Otherwise state goes to the local application data (it stays on this
// machine), lists the user edits to the roaming one.
PlaceFacts ReadPlaceFacts() {
  PlaceFacts facts;
  facts.programDirectory = FindModuleDirectory().value_or(std::string());
  facts.programDirectoryWritable = IsWritableDirectory(facts.programDirectory);
  facts.home = AbsoluteVariable(L"USERPROFILE");
  if (facts.home.empty()) facts.home = "C:/";
  facts.stateHome = Variable(L"XDG_STATE_HOME");
  if (facts.stateHome.empty()) facts.stateHome = AbsoluteVariable(L"LOCALAPPDATA");
  facts.configHome = Variable(L"XDG_CONFIG_HOME");
  if (facts.configHome.empty()) facts.configHome = AbsoluteVariable(L"APPDATA");
  const std::string documents = facts.home + kPathSeparator + "Documents";
  facts.documentsDirectory = IsDirectory(documents) ? documents : std::string();
  return facts;
}

FilePlace MakeFilePlace(const PlaceFacts& facts, const FilesRequest& request) {
  FilePlace place = DecideFilePlace(facts, request);
  if (!place.besideProgram && request.place != UserPlace::kDocuments) MakeDirectoryChain(place.base);
  return place;
}

FilePlace ProgramFilePlace(const FilesRequest& request) { return MakeFilePlace(ReadPlaceFacts(), request); }

}  // namespace suite
