// List names: the text the title and the chooser show for a list file.
//
// Names are code-page text; file names and paths are the file system's own
// bytes. The conversion happens here and nowhere else.
#pragma once

#include <string>
#include <string_view>

namespace snipkeep {

// True when a file name ends in ".txt" in any case, as a "*.txt" pattern
// matches on a file system that ignores case.
bool IsListFileName(std::string_view fileName);

// A list file's name less its last four characters, as code-page text.
std::string ListNameOfFileName(std::string_view fileName);

// The title's name for a list file path: the part after the last separator,
// with every ".txt" and then every ".TXT" in it removed (other cases stay).
// A path without a separator gives the empty text.
std::string TitleNameOfPath(const std::string& path);

// A list's file name ("name.txt", code-page text) as file-system bytes.
std::string FileSystemName(const std::string& fileNameText);

// The name with blanks, tabs and line ends cut off at both ends.
std::string TrimName(std::string_view name);

// Names compared with the letters A-Z folded (never a trail byte), byte for byte.
bool SameNameIgnoringCase(std::string_view left, std::string_view right);
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);

}  // namespace snipkeep
