// Per-run directories and files named by a time stamp, never shared between two runs.
#pragma once

#include <string>

namespace suite {

// Creates `parent` + separator + `namePrefix` + time stamp and returns its path.
// An existing directory is never taken over: while the name is taken, it waits
// for the clock to move on to the next second. When the directory can't be
// created for another reason the path is returned all the same, and the first
// file made in it reports the failure.
std::string MakeFreshStampedDirectory(const std::string& parent, const std::string& namePrefix = "");

class OutputFile;

// Creates the new file `directory` + separator + `prefix` + time stamp +
// `suffix` into `file` and returns its path, never replacing an existing file:
// while the name is taken, it waits for the next second. When the file can't
// be created for another reason, `file` stays closed and the path is returned.
std::string CreateFreshStampedFile(OutputFile& file, const std::string& directory, const std::string& prefix,
                                   const std::string& suffix);

}  // namespace suite
