// The files a script names, read from the disk and found as Windows finds
// them, and the folders of the INCLUDE environment variable.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "app/FileService.h"
#include "script/Preprocessor.h"

namespace trellane {

// The whole file at path, spelled exactly, read through files: NotFound when
// nothing is there; Failed for a folder, a FIFO or any other file that is not
// a regular one, and for a file that cannot be read. Without files, the
// platform's file service reads it.
IncludeFile ReadWhole(FileService& files, const std::string& path);
// Inline, so that the platform's file service is named where the program
// links the platform's files, not in the portable ones.
inline IncludeFile ReadWhole(const std::string& path) {
  return ReadWhole(*MakePlatformFileService(), path);
}

struct WindowsPath {
  bool found = false;
  std::string path;     // '/' between its parts, each spelled as on the disk
  std::string warning;  // when a part matched more than one name of its folder
};

// The file or folder path names as Windows finds it on any file system: '\'
// and '/' alike, each part spelled exactly if that name exists and otherwise
// matched in any letter case among the names of its folder.
WindowsPath FindWindowsPath(const std::string& path);

// Finds files as FindWindowsPath does; the file itself, links and "." and
// ".." steps resolved, is what tells one file from another.
class FileIncludeReader final : public IncludeFileReader {
 public:
  explicit FileIncludeReader(std::unique_ptr<FileService> service = MakePlatformFileService())
      : files(std::move(service)) {}

  // Each path is looked for once: the files stay where they are while a
  // script is read, and a reader serves one reading.
  FoundFile Find(const std::string& path) override;
  IncludeFile Read(const std::string& path) override { return ReadWhole(*files, path); }

 private:
  std::unique_ptr<FileService> files;
  std::unordered_map<std::string, FoundFile> looked;
};

// The folders a value of INCLUDE names, in order, without empty parts: ';'
// separates them, and on POSIX systems ':' as well unless it follows a drive
// letter (C:\inc).
std::vector<std::string> SplitIncludeFolders(std::string_view value);

// The folders of the INCLUDE environment variable; none when it is not set.
std::vector<std::string> EnvironmentIncludeFolders();

}  // namespace trellane
