#include "script/HeaderSearch.h"

#include <algorithm>
#include <iterator>

#include "script/WindowsHeaders.h"
#include "text/AsciiCase.h"

namespace trellane {
namespace {

// Where the built-in headers are, as the messages name them.
constexpr std::string_view BuiltinFolder = "<built-in>/";

bool IsSeparator(char c) {
  return c == '/' || c == '\\';
}

// An include name with '/' between its folders: resource scripts write
// "res\\app.h" (one backslash or two) as often as "res/app.h".
std::string FolderSeparated(std::string_view name) {
  std::string path;
  for (const char c : name) {
    if (!IsSeparator(c))
      path.push_back(c);
    else if (path.empty() || path.back() != '/')
      path.push_back('/');
  }
  return path;
}

bool IsAbsolute(std::string_view path) {
  const bool drive = path.size() >= 3 && path[1] == ':' && IsSeparator(path[2]) &&
                     ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  return drive || (!path.empty() && IsSeparator(path[0]));
}

std::string FolderOf(std::string_view path) {
  const std::size_t separator = path.find_last_of("/\\");
  if (separator == std::string_view::npos)
    return {};
  return std::string(path.substr(0, separator == 0 ? 1 : separator));
}

std::string Joined(const std::string& folder, const std::string& name) {
  if (folder.empty())
    return name;
  return IsSeparator(folder.back()) ? folder + name : folder + "/" + name;
}

// The path without "." and "folder/.." steps, to know a file included again
// under another spelling.
std::string NormalisedPath(std::string_view path) {
  std::string root;
  if (IsAbsolute(path)) {
    const std::size_t rootLength = IsSeparator(path[0]) ? 1 : 3;
    root = FolderSeparated(path.substr(0, rootLength));
    path.remove_prefix(rootLength);
  }
  std::vector<std::string_view> steps;
  while (!path.empty()) {
    const std::size_t separator = std::min(path.find_first_of("/\\"), path.size());
    const std::string_view step = path.substr(0, separator);
    path.remove_prefix(std::min(separator + 1, path.size()));
    if (step.empty() || step == ".")
      continue;
    if (step == ".." && !steps.empty() && steps.back() != "..")
      steps.pop_back();
    else if (step != ".." || root.empty())
      steps.push_back(step);
  }
  std::string normalised = root;
  for (std::size_t at = 0; at < steps.size(); ++at) {
    if (at > 0)
      normalised.push_back('/');
    normalised.append(steps[at]);
  }
#ifdef _WIN32
  for (char& c : normalised)
    c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
#endif
  return normalised;
}

// The resource scripts of MFC and ATL and the version includes of the SDK:
// a script that includes them draws the framework's own resources, none of
// its own, so a system without them reads them as empty.
constexpr std::string_view FrameworkFiles[] = {
    "afxctl.rc", "afxdb.rc",     "afxisapi.rc", "afxolecl.rc", "afxolesv.rc", "afxprint.rc",
    "afxres.rc", "afxribbon.rc", "atlres.h",    "atlresce.h",  "common.ver",
};

std::string_view FileName(std::string_view path) {
  const std::size_t separator = path.find_last_of("/\\");
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

bool IsFrameworkFile(std::string_view path) {
  const std::string name = AsciiLowered(FileName(path));
  return std::find(std::begin(FrameworkFiles), std::end(FrameworkFiles), name) != std::end(FrameworkFiles);
}

}  // namespace

bool IsResourceScriptName(std::string_view path) {
  const std::size_t dot = path.find_last_of("./\\");
  if (dot == std::string_view::npos || path[dot] != '.')
    return false;
  const std::string extension = AsciiLowered(path.substr(dot + 1));
  return extension == "rc" || extension == "rc2" || extension == "dlg";
}

HeaderLookup HeaderSearch::Find(std::string_view name, bool angled, std::span<const std::string_view> includers,
                                const ReadBeforeTest& readBefore) const {
  const std::string relative = FolderSeparated(name);
  std::vector<std::string> candidates;
  if (IsAbsolute(relative)) {
    candidates.push_back(relative);
  } else {
    std::vector<std::string> folders;
    // A quoted name is looked for beside each file being read, the
    // including one first, as the Windows compiler does.
    if (!angled) {
      for (const std::string_view includer : includers) {
        if (includer.starts_with(BuiltinFolder))
          continue;
        std::string folder = FolderOf(includer);
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
          folders.push_back(std::move(folder));
      }
    }
    folders.insert(folders.end(), options.includeFolders.begin(), options.includeFolders.end());
    folders.insert(folders.end(), options.environmentFolders.begin(), options.environmentFolders.end());
    for (const std::string& folder : folders)
      candidates.push_back(Joined(folder, relative));
  }
  HeaderLookup lookup;
  for (const std::string& candidate : candidates) {
    FoundFile found = reader.Find(candidate);
    if (!found.found)
      continue;
    lookup.key = NormalisedPath(found.identity.empty() ? found.path : found.identity);
    if (readBefore(lookup.key)) {
      lookup.kind = HeaderKind::ReadBefore;
      return lookup;
    }
    IncludeFile file = reader.Read(found.path);
    if (file.status == IncludeStatus::NotFound)
      continue;
    lookup.kind = file.status == IncludeStatus::Read ? HeaderKind::File : HeaderKind::Unreadable;
    lookup.path = std::move(found.path);
    lookup.bytes = std::move(file.bytes);
    lookup.problem = std::move(file.problem);
    lookup.warning = std::move(found.warning);
    if (const std::optional<std::string_view> header = FindBuiltinHeader(relative);
        header && AddsToRealHeader(*header)) {
      lookup.additions = BuiltinHeaderAdditions(*header);
      lookup.additionsPath = std::string(BuiltinFolder) + std::string(*header) + " (additions)";
    }
    return lookup;
  }
  if (const std::optional<std::string_view> header = FindBuiltinHeader(relative)) {
    lookup.path = std::string(BuiltinFolder) + std::string(*header);
    lookup.key = lookup.path;
    lookup.kind = readBefore(lookup.key) ? HeaderKind::ReadBefore : HeaderKind::Builtin;
    if (lookup.kind == HeaderKind::Builtin)
      lookup.bytes = BuiltinHeaderText(*header);
    return lookup;
  }
  if (IsFrameworkFile(relative)) {
    lookup.kind = HeaderKind::Framework;
    lookup.key = AsciiLowered(FileName(relative));
    return lookup;
  }
  for (const std::string& candidate : candidates)
    lookup.looked.push_back(FolderOf(candidate).empty() ? std::string(".") : FolderOf(candidate));
  return lookup;
}

std::string HeaderSearch::ScriptKey(const std::string& path) const {
  const FoundFile found = reader.Find(path);
  return NormalisedPath(found.identity.empty() ? path : found.identity);
}

}  // namespace trellane
