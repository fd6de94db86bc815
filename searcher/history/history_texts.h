// The history browser's texts, as code-page text.
#pragma once

#include <string>

namespace lorvane {

// The list's column titles, separated by "|".
std::string HistoryColumnTitles();
std::string TargetGoneText();
// The same column of a row whose descriptor can't be read or is damaged.
std::string DamagedDescriptorText();
// The same column of a row whose search still runs.
std::string SearchRunningRowText();
// Why a running search's directory isn't deleted.
std::string SearchRunningText(const std::string& directory);

std::string DescriptorOpenFailedText(const std::string& path);

std::string DirectoryMissingText(const std::string& path);
std::string EmptyDirectoryRemovedText(const std::string& path);
std::string SubdirectoryLeftText();
std::string FileDeleteFailedText(int errorCode);
std::string DirectoryRemoveFailedText(int errorCode, const std::string& path);
std::string HistoryDeletedText(const std::string& path);

}  // namespace lorvane
