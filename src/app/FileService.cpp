#include "app/FileService.h"

#include <filesystem>
#include <system_error>

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

}  // namespace trellane
