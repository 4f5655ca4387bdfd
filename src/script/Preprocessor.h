// The C preprocessor as resource compilers run it: #include with the
// compilers' search order, #define (object-like and function-like, # and ##),
// #undef, #if/#ifdef/#ifndef/#elif/#else/#endif, #pragma code_page, #error,
// #line. Hands the script's tokens on one at a time.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "script/SourceFiles.h"
#include "script/Token.h"
#include "text/Diagnostics.h"

namespace trellane {

struct MacroDefinition {
  std::string name;
  std::string value;  // "1" for -D NAME without a value
};

struct PreprocessorOptions {
  std::vector<std::string> includeFolders;      // -I, searched in order after the including file's folder
  std::vector<std::string> environmentFolders;  // the folders of INCLUDE, searched last
  std::vector<MacroDefinition> defines;         // -D, defined before the script's first line
  std::optional<int> codePage;                  // --code-page; 1252 when not given
};

enum class IncludeStatus { Read, NotFound, Failed };

struct IncludeFile {
  IncludeStatus status = IncludeStatus::NotFound;
  std::string bytes;    // the file's raw bytes, when Read
  std::string problem;  // why it cannot be read, when Failed (a folder, a FIFO, no permission)
};

// Where an include name leads, before anything is read.
struct FoundFile {
  bool found = false;
  std::string path;      // the file found, spelled as on the disk
  std::string identity;  // the same for every name of the file; empty: the path
  std::string warning;   // how the name was found, when it matched more than one spelling
};

// Finds and reads the files that #include names. Paths use '/' between
// folders.
class IncludeFileReader {
 public:
  virtual ~IncludeFileReader() = default;
  // The file path names, not yet read, so that a file a guard empties is
  // never read again; by default the path itself.
  virtual FoundFile Find(const std::string& path) { return {true, path, {}, {}}; }
  // The file Find found.
  virtual IncludeFile Read(const std::string& path) = 0;
};

class Preprocessor {
 public:
  Preprocessor(SourceFiles& files, const PreprocessorOptions& options, IncludeFileReader& includes,
               Diagnostics& diagnostics);
  ~Preprocessor();
  Preprocessor(const Preprocessor&) = delete;
  Preprocessor& operator=(const Preprocessor&) = delete;

  // Begins the reading with the script itself: its path and raw bytes.
  void Start(const std::string& path, std::string bytes);

  // Stores the next token of the preprocessed script in token, every field
  // set, and returns whether it is one (not End). Gives End at the end of the
  // script and, from then on, again; after an error that stops the reading
  // (Failed() is then true) it gives End too. The caller's token is filled in
  // place, so a reader's own slot takes it without a copy.
  bool Next(Token& token);

  bool Failed() const;

 private:
  class Impl;
  std::unique_ptr<Impl> impl;
};

}  // namespace trellane
