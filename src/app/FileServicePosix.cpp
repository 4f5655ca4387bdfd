// File service on POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/FileService.h"

namespace trellane {
namespace {

FileResult SystemFailure() {
  return FileResult::Failure(std::strerror(errno));
}

int Descriptor(FileHandle handle) {
  return static_cast<int>(handle);
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos)
    return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

class PosixFileService final : public FileService {
 public:
  FileResult OpenForReading(const std::string& path, FileHandle& handle) override {
    // Non-blocking so that a FIFO cannot stall the open; it is refused below.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
      return SystemFailure();
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      const bool directory = S_ISDIR(info.st_mode);
      close(fd);
      return FileResult::Failure(directory ? "is a folder, not a file" : "not a regular file");
    }
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0)
      fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    handle = fd;
    return FileResult::Success();
  }

  FileResult SizeOf(FileHandle handle, std::uint64_t& size) override {
    struct stat info {};
    if (fstat(Descriptor(handle), &info) != 0)
      return SystemFailure();
    size = static_cast<std::uint64_t>(info.st_size);
    return FileResult::Success();
  }

  FileResult Read(FileHandle handle, char* buffer, std::size_t count, std::size_t& got) override {
    for (;;) {
      const ssize_t n = read(Descriptor(handle), buffer, count);
      if (n >= 0) {
        got = static_cast<std::size_t>(n);
        return FileResult::Success();
      }
      if (errno != EINTR)
        return SystemFailure();
    }
  }

  FileResult IdentityOf(FileHandle handle, FileIdentity& identity) override {
    struct stat info {};
    if (fstat(Descriptor(handle), &info) != 0)
      return SystemFailure();
    identity = {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
    return FileResult::Success();
  }

  bool IdentityOfPath(const std::string& path, FileIdentity& identity) override {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
      return false;
    identity = {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
    return true;
  }

  std::string ResolveOutputPath(const std::string& path) override {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
      return path;
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) == nullptr)
      return path;
    return resolved;
  }

  FileResult CreateTemporaryBeside(const std::string& target, FileHandle& handle, std::string& temporaryPath) override {
    std::string pattern = FolderOf(target) + "/.trellane-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0)
      return SystemFailure();
    struct stat existing {};
    const mode_t mode = stat(target.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : NewFileMode();
    fchmod(fd, mode);
    handle = fd;
    temporaryPath = pattern;
    return FileResult::Success();
  }

  FileResult Write(FileHandle handle, const std::uint8_t* bytes, std::size_t count, std::size_t& written) override {
    for (;;) {
      const ssize_t n = write(Descriptor(handle), bytes, count);
      if (n >= 0) {
        written = static_cast<std::size_t>(n);
        return FileResult::Success();
      }
      if (errno != EINTR)
        return SystemFailure();
    }
  }

  FileResult Flush(FileHandle handle) override {
    if (fsync(Descriptor(handle)) != 0)
      return SystemFailure();
    return FileResult::Success();
  }

  FileResult Close(FileHandle handle) override {
    if (close(Descriptor(handle)) != 0)
      return SystemFailure();
    return FileResult::Success();
  }

  FileResult Rename(const std::string& from, const std::string& to) override {
    if (rename(from.c_str(), to.c_str()) != 0)
      return SystemFailure();
    return FileResult::Success();
  }

  void Remove(const std::string& path) override { unlink(path.c_str()); }
};

}  // namespace

std::unique_ptr<FileService> MakePlatformFileService() {
  return std::make_unique<PosixFileService>();
}

}  // namespace trellane
