// File service on Windows.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <string>

#include "app/FileService.h"

namespace trellane {
namespace {

// ReadFile and WriteFile take a DWORD count; larger requests go in pieces.
constexpr std::size_t MaxTransfer = std::size_t{1} << 30;

std::string SystemMessage(DWORD code) {
  char buffer[512] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                      buffer, sizeof buffer, nullptr);
  std::string text(buffer, length);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
    text.pop_back();
  if (text.empty())
    text = "system error " + std::to_string(code);
  return text;
}

FileResult SystemFailure() {
  return FileResult::Failure(SystemMessage(GetLastError()));
}

HANDLE Native(FileHandle handle) {
  return reinterpret_cast<HANDLE>(handle);
}

FileHandle Wrap(HANDLE handle) {
  return reinterpret_cast<FileHandle>(handle);
}

FileIdentity IdentityFrom(const BY_HANDLE_FILE_INFORMATION& info) {
  return {info.dwVolumeSerialNumber, (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

// The folder part of path, keeping a root's separator ("C:\", "\"); "." when
// the path names no folder.
std::string FolderOf(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/:");
  if (separator == std::string::npos)
    return ".";
  const bool keepSeparator = separator == 0 || path[separator] == ':' || path[separator - 1] == ':';
  return path.substr(0, keepSeparator ? separator + 1 : separator);
}

class Win32FileService final : public FileService {
 public:
  FileResult OpenForReading(const std::string& path, FileHandle& handle) override {
    // A folder opens only with FILE_FLAG_BACKUP_SEMANTICS; say what it is instead.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
      return FileResult::Failure("is a folder, not a file");
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
      return SystemFailure();
    if (GetFileType(file) != FILE_TYPE_DISK) {
      CloseHandle(file);
      return FileResult::Failure("not a regular file");
    }
    handle = Wrap(file);
    return FileResult::Success();
  }

  FileResult SizeOf(FileHandle handle, std::uint64_t& size) override {
    LARGE_INTEGER value{};
    if (!GetFileSizeEx(Native(handle), &value))
      return SystemFailure();
    size = static_cast<std::uint64_t>(value.QuadPart);
    return FileResult::Success();
  }

  FileResult Read(FileHandle handle, char* buffer, std::size_t count, std::size_t& got) override {
    DWORD read = 0;
    if (!ReadFile(Native(handle), buffer, static_cast<DWORD>(std::min(count, MaxTransfer)), &read, nullptr))
      return SystemFailure();
    got = read;
    return FileResult::Success();
  }

  FileResult IdentityOf(FileHandle handle, FileIdentity& identity) override {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(Native(handle), &info))
      return SystemFailure();
    identity = IdentityFrom(info);
    return FileResult::Success();
  }

  bool IdentityOfPath(const std::string& path, FileIdentity& identity) override {
    const HANDLE file =
        CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
      return false;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    if (known)
      identity = IdentityFrom(info);
    return known;
  }

  // Symbolic links are rare on Windows; renaming over one replaces the link.
  std::string ResolveOutputPath(const std::string& path) override { return path; }

  FileResult CreateTemporaryBeside(const std::string& target, FileHandle& handle, std::string& temporaryPath) override {
    char name[MAX_PATH] = {};
    if (GetTempFileNameA(FolderOf(target).c_str(), "trl", 0, name) == 0)
      return SystemFailure();
    const HANDLE file = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      FileResult failure = SystemFailure();
      DeleteFileA(name);
      return failure;
    }
    handle = Wrap(file);
    temporaryPath = name;
    return FileResult::Success();
  }

  FileResult Write(FileHandle handle, const std::uint8_t* bytes, std::size_t count, std::size_t& written) override {
    DWORD done = 0;
    if (!WriteFile(Native(handle), bytes, static_cast<DWORD>(std::min(count, MaxTransfer)), &done, nullptr))
      return SystemFailure();
    written = done;
    return FileResult::Success();
  }

  FileResult Flush(FileHandle handle) override {
    if (!FlushFileBuffers(Native(handle)))
      return SystemFailure();
    return FileResult::Success();
  }

  FileResult Close(FileHandle handle) override {
    if (!CloseHandle(Native(handle)))
      return SystemFailure();
    return FileResult::Success();
  }

  FileResult Rename(const std::string& from, const std::string& to) override {
    if (!MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return SystemFailure();
    return FileResult::Success();
  }

  void Remove(const std::string& path) override { DeleteFileA(path.c_str()); }
};

}  // namespace

std::unique_ptr<FileService> MakePlatformFileService() {
  return std::make_unique<Win32FileService>();
}

}  // namespace trellane
