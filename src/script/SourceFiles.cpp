#include "script/SourceFiles.h"

namespace trellane {

Diagnostic DiagnosticAt(const SourceFiles& files, const SourceLocation& location, Severity severity,
                        std::string message) {
  Diagnostic diagnostic;
  diagnostic.position = location.offset;
  diagnostic.line = location.line;
  diagnostic.column = location.column;
  diagnostic.severity = severity;
  diagnostic.message = std::move(message);
  if (location.file < files.Size()) {
    const SourceFile* file = &files[location.file];
    if (location.file != 0)
      diagnostic.file = file->path;
    while (file->included) {
      const SourceLocation& at = file->includedAt;
      const SourceFile& includer = files[at.file];
      diagnostic.includedFrom.push_back(includer.path + ":" + std::to_string(at.line));
      if (at.file == location.file || &includer == file)
        break;
      file = &includer;
    }
  }
  return diagnostic;
}

}  // namespace trellane
