#include "app/FileService.h"

#include <filesystem>
#include <system_error>

#include "text/LargePages.h"

namespace trellane {

FileResult FileService::CreateFolders(const std::string& path) {
  std::error_code error;
  std::filesystem::create_directories(path, error);
  if (error)
    return FileResult::Failure(error.message());
  if (!std::filesystem::is_directory(path, error))
    return FileResult::Failure("it is a file, not a folder");
  return FileResult::Success();
}

FileResult ReadOpenFile(FileService& files, FileHandle handle, std::uint64_t size, std::string& bytes) {
  bytes.reserve(static_cast<std::size_t>(size));
  PreferLargePages(bytes.data(), bytes.capacity());
  bytes.resize(static_cast<std::size_t>(size));
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    std::size_t got = 0;
    FileResult read = files.Read(handle, bytes.data() + filled, bytes.size() - filled, got);
    if (!read.ok)
      return read;
    if (got == 0)
      break;
    filled += got;
  }
  bytes.resize(filled);
  return FileResult::Success();
}

}  // namespace trellane
