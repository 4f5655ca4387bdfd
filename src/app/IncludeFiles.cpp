#include "app/IncludeFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

namespace trellane {
namespace {

// Include files are headers and scripts: anything this large is a mistake.
constexpr std::uintmax_t MaxIncludeBytes = std::uintmax_t{1} << 30;

IncludeFile Failure(std::string problem) {
  IncludeFile file;
  file.status = IncludeStatus::Failed;
  file.problem = std::move(problem);
  return file;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

IncludeFile FileIncludeReader::Read(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::file_status status = fs::status(fs::path(path), error);
  if (status.type() == fs::file_type::not_found)
    return {};
  if (error)
    return Failure(error.message());
  if (status.type() == fs::file_type::directory)
    return Failure("is a folder");
  if (status.type() != fs::file_type::regular)
    return Failure("is not a regular file");
  const std::uintmax_t size = fs::file_size(fs::path(path), error);
  if (!error && size > MaxIncludeBytes)
    return Failure("is larger than 1 GiB");
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file)
    return Failure(std::strerror(errno));
  IncludeFile read;
  read.status = IncludeStatus::Read;
  if (!error)
    read.bytes.reserve(static_cast<std::size_t>(size));
  char buffer[1 << 16];
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
    read.bytes.append(buffer, got);
    if (got < sizeof buffer)
      break;
    if (read.bytes.size() > MaxIncludeBytes)
      return Failure("is larger than 1 GiB");
  }
  if (std::ferror(file.get()) != 0)
    return Failure("cannot be read to its end");
  return read;
}

std::vector<std::string> SplitIncludeFolders(std::string_view value) {
  std::vector<std::string> folders;
  std::string folder;
  for (const char c : value) {
#ifdef _WIN32
    const bool separator = c == ';';
#else
    const bool separator = c == ';' || c == ':';
#endif
    if (!separator) {
      folder.push_back(c);
    } else if (!folder.empty()) {
      folders.push_back(std::move(folder));
      folder.clear();
    }
  }
  if (!folder.empty())
    folders.push_back(std::move(folder));
  return folders;
}

std::vector<std::string> EnvironmentIncludeFolders() {
  const char* value = std::getenv("INCLUDE");
  return value == nullptr ? std::vector<std::string>() : SplitIncludeFolders(value);
}

}  // namespace trellane
