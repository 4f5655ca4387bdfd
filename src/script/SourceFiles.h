// The files a script reading has opened: the script itself and each file it
// includes, decoded, with where each was included. Tokens view these texts,
// so the files stay in place while the reading lasts; after it, only their
// names and places are needed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

#include "script/SourceText.h"
#include "text/Diagnostics.h"

namespace trellane {

struct SourceLocation {
  std::uint32_t file = 0;    // index into SourceFiles; 0 is the script itself
  std::uint32_t line = 1;    // 1-based, as #line may have set it
  std::uint32_t column = 1;  // 1-based, in bytes of the decoded text
  std::size_t offset = 0;    // byte offset into the file's decoded text
};

struct SourceFile {
  std::string path;  // as the reading names it: the script's path, or the include's resolved path
  std::string text;  // decoded (SourceText.h)
  SourceEncoding encoding = SourceEncoding::CodePage;
  bool resourceScript = true;  // .rc, .rc2, .dlg: all of it is read; other files only for directives
  bool included = false;
  SourceLocation includedAt;  // the #include line, when included
};

class SourceFiles {
 public:
  std::uint32_t Add(SourceFile file) {
    textBytes += file.text.size();
    files.push_back(std::move(file));
    return static_cast<std::uint32_t>(files.size() - 1);
  }
  const SourceFile& operator[](std::uint32_t index) const { return files[index]; }
  std::size_t Size() const { return files.size(); }
  std::size_t TextBytes() const { return textBytes; }  // of every file added, released or not

  // Gives back the memory of the texts once nothing views them.
  void ReleaseTexts() {
    for (SourceFile& file : files)
      std::string().swap(file.text);
  }

 private:
  std::deque<SourceFile> files;  // a deque keeps each text in place as files are added
  std::size_t textBytes = 0;
};

// A diagnostic at location: its file, line and column, and the chain of
// #include lines that led there.
Diagnostic DiagnosticAt(const SourceFiles& files, const SourceLocation& location, Severity severity,
                        std::string message);

}  // namespace trellane
