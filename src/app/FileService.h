// File operations the conversion job needs, one implementation per platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace trellane {

using FileHandle = std::intptr_t;

struct FileResult {
  bool ok = true;
  std::string error;  // the system's words for what failed

  static FileResult Success() { return {}; }
  static FileResult Failure(std::string error) { return {false, std::move(error)}; }
};

// Which file a handle or path designates, whatever name reached it.
struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;

  bool operator==(const FileIdentity&) const = default;
};

class FileService {
 public:
  virtual ~FileService() = default;

  // Opens an existing regular file for reading; others may go on reading it.
  virtual FileResult OpenForReading(const std::string& path, FileHandle& handle) = 0;
  virtual FileResult SizeOf(FileHandle handle, std::uint64_t& size) = 0;
  // Reads up to count bytes; got is 0 at the end of the file.
  virtual FileResult Read(FileHandle handle, char* buffer, std::size_t count, std::size_t& got) = 0;
  virtual FileResult IdentityOf(FileHandle handle, FileIdentity& identity) = 0;
  // The identity of the file that path names, through links; false when
  // nothing exists there.
  virtual bool IdentityOfPath(const std::string& path, FileIdentity& identity) = 0;

  // The path that writing to path must replace: the file a symbolic link
  // names, or path itself.
  virtual std::string ResolveOutputPath(const std::string& path) = 0;
  // Creates a new empty file in the folder of target, to be renamed over it.
  virtual FileResult CreateTemporaryBeside(const std::string& target, FileHandle& handle,
                                           std::string& temporaryPath) = 0;
  // Writes up to count bytes; written may be short.
  virtual FileResult Write(FileHandle handle, const std::uint8_t* bytes, std::size_t count, std::size_t& written) = 0;
  // Forces written bytes to the disk.
  virtual FileResult Flush(FileHandle handle) = 0;
  virtual FileResult Close(FileHandle handle) = 0;
  // Renames from over to, replacing any file there.
  virtual FileResult Rename(const std::string& from, const std::string& to) = 0;
  virtual void Remove(const std::string& path) = 0;
  // Creates the folder path names and the missing folders above it;
  // succeeds when it is a folder already. std::filesystem does this alike on
  // every platform.
  virtual FileResult CreateFolders(const std::string& path);
};

// Reads an open file to its end, up to size bytes (its size when it was
// opened); a file that delivers fewer is taken as it is.
FileResult ReadOpenFile(FileService& files, FileHandle handle, std::uint64_t size, std::string& bytes);

// The file service of the platform the program was built for.
std::unique_ptr<FileService> MakePlatformFileService();

}  // namespace trellane
