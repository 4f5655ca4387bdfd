#include "app/IncludeFiles.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace trellane {
namespace {

// Include files are headers and scripts: anything this large is a mistake.
constexpr std::uint64_t MaxIncludeBytes = std::uint64_t{1} << 30;

IncludeFile Failure(std::string problem) {
  IncludeFile file;
  file.status = IncludeStatus::Failed;
  file.problem = std::move(problem);
  return file;
}

// A letter's capital as Windows' case table has it, for the scripts of
// Europe: Latin, Greek, Cyrillic. Other characters stand for themselves.
char32_t Capital(char32_t c) {
  if ((c >= U'a' && c <= U'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
    return c - 0x20;
  if (c == 0xFF)
    return 0x178;
  const bool oddLower = (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
  const bool evenLower = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
  if ((oddLower && c % 2 == 1) || (evenLower && c % 2 == 0))
    return c - 1;
  if ((c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) || (c >= 0x430 && c <= 0x44F))
    return c - 0x20;
  if (c >= 0x450 && c <= 0x45F)
    return c - 0x50;
  return c;
}

// A file name's characters in capitals; bytes that are not UTF-8 stand for
// themselves.
std::u32string Capitals(std::string_view name) {
  std::u32string folded;
  folded.reserve(name.size());
  for (std::size_t at = 0; at < name.size();) {
    const auto byte = static_cast<unsigned char>(name[at]);
    const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    char32_t c = length == 1 ? byte : byte & (0x7F >> length);
    bool valid = length == 1 || at + length <= name.size();
    for (std::size_t next = 1; valid && next < length; ++next) {
      const auto continuation = static_cast<unsigned char>(name[at + next]);
      valid = (continuation & 0xC0) == 0x80;
      c = (c << 6) | (continuation & 0x3F);
    }
    folded.push_back(valid ? Capital(c) : byte);
    at += valid ? length : 1;
  }
  return folded;
}

bool IsSeparator(char c) {
  return c == '/' || c == '\\';
}

bool Exists(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::symlink_status(path, error).type() != std::filesystem::file_type::not_found && !error;
}

}  // namespace

FoundFile FileIncludeReader::Find(const std::string& path) {
  // A reading asks for the same names again and again (a header's includes,
  // from each file that includes it), and each answer costs a system call
  // for every folder of the path.
  if (const auto known = looked.find(path); known != looked.end())
    return known->second;
  FoundFile found;
  if (WindowsPath windows = FindWindowsPath(path); windows.found) {
    std::error_code error;
    const std::filesystem::path canonical =
        std::filesystem::weakly_canonical(std::filesystem::path(windows.path), error);
    found = {true, std::move(windows.path), error ? std::string() : canonical.generic_string(),
             std::move(windows.warning)};
  }
  return looked.emplace(path, std::move(found)).first->second;
}

WindowsPath FindWindowsPath(const std::string& path) {
  namespace fs = std::filesystem;
  WindowsPath found;
  std::string_view rest(path);
  std::string& joined = found.path;
  if (rest.size() >= 2 && IsSeparator(rest[0]) && IsSeparator(rest[1])) {
    joined = "//";  // a network share
  } else if (!rest.empty() && IsSeparator(rest.front())) {
    joined = "/";
  } else if (rest.size() >= 2 && rest[1] == ':') {
    joined = std::string(rest.substr(0, 2)) + "/";
    rest.remove_prefix(2);
  }
  while (!rest.empty() && IsSeparator(rest.front()))
    rest.remove_prefix(1);
  while (!rest.empty()) {
    std::size_t length = 0;
    while (length < rest.size() && !IsSeparator(rest[length]))
      ++length;
    const std::string part(rest.substr(0, length));
    rest.remove_prefix(length);
    while (!rest.empty() && IsSeparator(rest.front()))
      rest.remove_prefix(1);
    const std::string folder = joined;
    if (!joined.empty() && joined.back() != '/')
      joined.push_back('/');
    if (part == "." || part == ".." || Exists(fs::path(joined + part))) {
      joined += part;
      continue;
    }
    // Only a name that is missing costs a listing of its folder.
    const std::u32string wanted = Capitals(part);
    std::vector<std::string> matches;
    std::error_code error;
    for (fs::directory_iterator entry(fs::path(folder.empty() ? "." : folder), error), end; !error && entry != end;
         entry.increment(error)) {
      const std::u8string spelled = entry->path().filename().u8string();
      std::string name(spelled.begin(), spelled.end());
      if (Capitals(name) == wanted)
        matches.push_back(std::move(name));
    }
    if (matches.empty())
      return found;
    std::sort(matches.begin(), matches.end());
    if (matches.size() > 1 && found.warning.empty()) {
      std::string& warning = found.warning;
      warning.append("'").append(part).append("' matches ");
      for (const std::string& name : matches)
        warning.append(&name == &matches.front() ? "'" : ", '").append(name).append("'");
      warning.append(" in ").append(folder.empty() ? std::string_view(".") : std::string_view(folder));
      warning.append(" in letter case; '").append(matches.front()).append("' is read");
    }
    joined += matches.front();
  }
  found.found = true;
  return found;
}

IncludeFile ReadWhole(FileService& files, const std::string& path) {
  FileHandle handle = 0;
  const FileResult opened = files.OpenForReading(path, handle);
  if (!opened.ok) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(path), error) ? Failure(opened.error) : IncludeFile();
  }
  std::uint64_t size = 0;
  FileResult read = files.SizeOf(handle, size);
  IncludeFile file;
  if (read.ok && size > MaxIncludeBytes)
    read = FileResult::Failure("is larger than 1 GiB");
  if (read.ok)
    read = ReadOpenFile(files, handle, size, file.bytes);
  files.Close(handle);
  if (!read.ok)
    return Failure(read.error);
  file.status = IncludeStatus::Read;
  return file;
}

std::vector<std::string> SplitIncludeFolders(std::string_view value) {
  std::vector<std::string> folders;
  std::string folder;
#ifdef _WIN32
  const bool colons = false;
#else
  const bool colons = true;
#endif
  for (std::size_t at = 0; at < value.size(); ++at) {
    const char c = value[at];
    const bool drive = folder.size() == 1 && at + 1 < value.size() && IsSeparator(value[at + 1]);
    const bool separator = c == ';' || (c == ':' && colons && !drive);
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
