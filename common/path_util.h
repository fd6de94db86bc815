// Paths: the separator, existence, the program's own directory.
#pragma once

#include <optional>
#include <string>

namespace suite {

// The separator inside every path the suite builds. Windows takes it too, so
// the suite writes it there as well; paths that come from outside may hold
// a backslash there, and every function that takes a path apart knows both.
inline constexpr char kPathSeparator = '/';
inline constexpr const char* kPathSeparatorText = "/";

#ifdef _WIN32
inline constexpr bool IsPathSeparator(char c) { return c == '/' || c == '\\'; }
#else
inline constexpr bool IsPathSeparator(char c) { return c == '/'; }
#endif

// An absolute path: from the root on POSIX systems; on Windows with a drive
// letter and a separator ("C:/", "C:\\") or a UNC one ("\\\\server\\share").
bool IsAbsolutePath(const std::string& path);

// Where the last separator of the path is; npos without one.
size_t LastSeparator(const std::string& path);

// True when the file system reports a status for the path (file or directory).
// Never creates or opens anything; any failure reads as "missing".
bool PathExists(const std::string& path);

// The directory of the running executable, ending in the separator; nothing
// when it can't be read (/proc not mounted, a path the kernel won't give).
std::optional<std::string> FindModuleDirectory();

// FindModuleDirectory, or the root when it can't be read: only for finding
// files beside the program; where the programs write is suite::FilePlace's.
std::string GetModuleDirectory();

// The directory with a separator at its end, added when missing (the empty
// text gives the separator alone).
std::string WithSeparator(std::string directory);

// The directory part of a path including its last separator ("/a/b/c" -> "/a/b/").
// A path without a separator gives the empty text.
std::string DirectoryOfPath(const std::string& path);

// The full path of an existing entry given by a relative path: its directory
// resolved from the current one (links, "." and ".."), its own name kept as it
// is, so a link to a log stays the link. An absolute path, or one whose
// directory can't be resolved, is given back unchanged.
std::string FullPath(const std::string& path);

// True for an existing directory (links followed).
bool IsDirectory(const std::string& path);

// True when this process may create files in the directory (a read-only
// file system says no, also to root).
bool IsWritableDirectory(const std::string& path);

// The path with every link, "." and ".." resolved; empty when it can't be.
std::string ResolvedPath(const std::string& path);

// The current directory; empty when it can't be read.
std::string CurrentDirectory();

// Who may enter a directory the suite makes.
enum class DirectoryAccess {
  kOwnerOnly,  // 0700: what holds copies of the user's lines
  kAsUmask,    // as the user's umask allows: a folder for files the user moves
};

// Creates one directory; true when it was made by this call.
// A directory that already exists gives false with `existed` set.
bool MakeDirectory(const std::string& path, bool* existed = nullptr,
                   DirectoryAccess access = DirectoryAccess::kOwnerOnly);

// Removes an empty directory (never a link to one); 0, or the errno value of
// the failure: ENOTEMPTY or EEXIST while it holds entries, ENOTDIR for a link.
int RemoveEmptyDirectory(const std::string& path);

// Creates an empty file, readable and writable by the user alone; 0, or the
// errno value of the failure. Never truncates a file that exists, even one
// that appeared since it was looked for (EEXIST).
int CreateEmptyFile(const std::string& path);

}  // namespace suite
