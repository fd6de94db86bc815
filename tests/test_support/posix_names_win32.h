// Windows only, included before every core test: the few POSIX calls the
// tests make to set up a situation, on the CRT and Win32. What has no
// meaning there (FIFOs, symbolic links, flock, rlimits) isn't here: those
// tests are skipped on Windows with the reason.
#pragma once

#include <direct.h>
#include <io.h>
#include <stdlib.h>
#include <windows.h>

#include <string>

#include "common/wide_text_win32.h"

inline int setenv(const char* name, const char* value, int) { return ::_putenv_s(name, value); }
// An empty value removes the variable.
inline int unsetenv(const char* name) { return ::_putenv_s(name, ""); }
// No user reads every file on Windows as root does on POSIX systems.
inline int geteuid() { return 1000; }
// The mode has no meaning there; the name is UTF-8.
inline int mkdir(const char* path, int) { return ::_wmkdir(suite::win32::Wide(path).c_str()); }
inline int rmdir(const std::string& path) { return ::_wrmdir(suite::win32::Wide(path).c_str()); }
