// Where #include leads, as the Windows resource compiler finds it: the
// folders of the files being read, the -I folders, INCLUDE, then the built-in
// headers and the framework files a system may lack.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "script/Preprocessor.h"

namespace trellane {

enum class HeaderKind {
  File,        // a file on the search path
  Builtin,     // a built-in Windows header
  ReadBefore,  // a file whose #pragma once or include guard makes another reading give nothing
  Framework,   // an MFC, ATL or SDK resource file not on the search path, read as empty
  Unreadable,  // found, but not readable
  Missing,
};

struct HeaderLookup {
  HeaderKind kind = HeaderKind::Missing;
  std::string path;     // the file as found, or "<built-in>/name"
  std::string key;      // the same for every name of the file: for #pragma once, guards and cycles
  std::string bytes;    // the file's bytes, or the built-in header's text
  std::string warning;  // how the name was found, when it matched more than one spelling
  std::string problem;  // why the file cannot be read, when Unreadable
  // For a file of the search path that the built-in header of its name adds
  // to (MinGW-w64's afxres.h lacks MFC's identifiers): what is read after the
  // file, and the name it is read under.
  std::string additions;
  std::string additionsPath;
  std::vector<std::string> looked;  // the folders searched, when Missing
};

class HeaderSearch {
 public:
  // Tells whether the file of a key is one that another reading leaves empty.
  using ReadBeforeTest = std::function<bool(const std::string& key)>;

  HeaderSearch(const PreprocessorOptions& settings, IncludeFileReader& files) : options(settings), reader(files) {}

  // What an #include of name leads to, read unless readBefore says that
  // reading it gives nothing. includers are the paths of the files being
  // read, the one with the #include first: a quoted name is looked for in
  // each of their folders in that order, then in the -I and INCLUDE folders;
  // an angled name only in the latter.
  HeaderLookup Find(std::string_view name, bool angled, std::span<const std::string_view> includers,
                    const ReadBeforeTest& readBefore) const;

  // The key of the script itself.
  std::string ScriptKey(const std::string& path) const;

 private:
  const PreprocessorOptions& options;
  IncludeFileReader& reader;
};

// A name of a resource script (.rc, .rc2, .dlg), whose statements count;
// in other files (headers) only the directives do.
bool IsResourceScriptName(std::string_view path);

}  // namespace trellane
