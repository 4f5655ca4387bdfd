// The files #include names, read from the disk, and the folders of the
// INCLUDE environment variable.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "script/Preprocessor.h"

namespace trellane {

// NotFound when nothing is at the path; Failed for a folder, a FIFO or any
// other file that is not a regular one, and for a file that cannot be read.
class FileIncludeReader final : public IncludeFileReader {
 public:
  IncludeFile Read(const std::string& path) override;
};

// The folders a value of INCLUDE names, in order, without empty parts: ';'
// separates them, and on POSIX systems ':' as well.
std::vector<std::string> SplitIncludeFolders(std::string_view value);

// The folders of the INCLUDE environment variable; none when it is not set.
std::vector<std::string> EnvironmentIncludeFolders();

}  // namespace trellane
