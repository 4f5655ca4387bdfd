// The resource compilers the oracle tests compare with: llvm-rc-19, the
// reference, and MinGW-w64's windres. Each compiles one script into a .res
// file in a work folder.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace trellane {

enum class ResourceCompiler { LlvmRc, Windres };

struct CompileRequest {
  std::filesystem::path script;
  std::vector<std::filesystem::path> includeFolders;
  std::filesystem::path workFolder;  // receives the .res file and the compiler's messages
  std::string outputName;            // the .res file's name without extension, unique within workFolder
  bool utf8 = false;                 // a UTF-8 script that starts with #pragma code_page(65001)
};

struct CompileResult {
  bool ok = false;
  std::string res;       // the .res file's bytes, when ok
  std::string messages;  // what the compiler printed
};

const char* CompilerName(ResourceCompiler compiler);
bool IsInstalled(ResourceCompiler compiler);
CompileResult Compile(ResourceCompiler compiler, const CompileRequest& request);

// The Windows headers the compilers read: MinGW-w64's.
std::filesystem::path WindowsHeadersFolder();

}  // namespace trellane
