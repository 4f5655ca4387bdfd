#include "tests/oracle/ResourceCompilers.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace trellane {
namespace {

// One argument for the POSIX shell that std::system runs.
std::string Quoted(const std::string& argument) {
  std::string quoted = "'";
  for (const char c : argument) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted += c;
  }
  return quoted + "'";
}

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string CommandLine(ResourceCompiler compiler, const CompileRequest& request, const std::filesystem::path& res) {
  std::string command = CompilerName(compiler);
  if (compiler == ResourceCompiler::LlvmRc) {
    // llvm-rc-19 ignores #pragma code_page; it takes the code page only here.
    if (request.utf8)
      command += " -c 65001";
    for (const std::filesystem::path& folder : request.includeFolders)
      command += " -I " + Quoted(folder.string());
    // llvm-rc also takes options that begin with '/', so a script path such as
    // /check/a.rc would read as "/c heck/a.rc"; "--" ends the options.
    command += " -fo " + Quoted(res.string()) + " -- " + Quoted(request.script.string());
  } else {
    for (const std::filesystem::path& folder : request.includeFolders)
      command += " -I " + Quoted(folder.string());
    command += " -i " + Quoted(request.script.string()) + " -o " + Quoted(res.string()) + " -O res";
  }
  return command;
}

}  // namespace

const char* CompilerName(ResourceCompiler compiler) {
  return compiler == ResourceCompiler::LlvmRc ? "llvm-rc-19" : "x86_64-w64-mingw32-windres";
}

bool IsInstalled(ResourceCompiler compiler) {
#ifdef _WIN32
  (void)compiler;
  return false;  // the compilers' Debian names; the tests run them on Linux
#else
  const std::string command = std::string("command -v ") + CompilerName(compiler) + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
#endif
}

std::filesystem::path WindowsHeadersFolder() {
  return "/usr/share/mingw-w64/include";
}

CompileResult Compile(ResourceCompiler compiler, const CompileRequest& request) {
  const std::string stem = request.outputName + (compiler == ResourceCompiler::LlvmRc ? ".llvm-rc" : ".windres");
  const std::filesystem::path res = request.workFolder / (stem + ".res");
  const std::filesystem::path messages = request.workFolder / (stem + ".txt");
  std::error_code ignored;
  std::filesystem::remove(res, ignored);
  const std::string command = CommandLine(compiler, request, res) + " >" + Quoted(messages.string()) + " 2>&1";
  CompileResult result;
  result.ok = std::system(command.c_str()) == 0 && std::filesystem::exists(res);
  result.messages = ReadWholeFile(messages);
  if (result.ok)
    result.res = ReadWholeFile(res);
  return result;
}

}  // namespace trellane
