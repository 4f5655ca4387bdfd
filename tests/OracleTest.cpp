// The resource compilers as the oracle: every script in tests/scripts, and
// generated ones, compiled by llvm-rc-19 (the reference) and by windres, and
// read by Trellane; the dialogs and menus are compared field by field.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/IncludeFiles.h"
#include "script/ModelDump.h"
#include "script/ScriptReader.h"
#include "tests/TempFolder.h"
#include "tests/oracle/ResFile.h"
#include "tests/oracle/ResourceCompilers.h"
#include "tests/oracle/ScriptGenerator.h"
#include "tests/oracle/TemplateComparison.h"

namespace trellane {
namespace {

enum class WindresOutcome { Rejects, ReadsDifferently };

struct WindresException {
  const char* script;
  WindresOutcome outcome;
  const char* reason;
};

// The scripts windres rejects or reads differently from llvm-rc, beyond the
// differences of WindresDifferences() (docs/oracle-differences.md).
constexpr WindresException WindresExceptions[] = {
    {"arithmetic-outside-parentheses.rc", WindresOutcome::Rejects,
     "a style or a dialog's coordinate with + - & ~ or unary minus outside parentheses"},
    {"keywords-any-case.rc", WindresOutcome::Rejects, "keywords in lower or mixed case"},
    {"menuex-empty-fields.rc", WindresOutcome::Rejects, "a MENUEX item with an empty field (MENUITEM \"\",,0x800)"},
    {"radasm-export.rc", WindresOutcome::Rejects, "a MENUEX item with an empty field (MENUITEM \"\",,0x00000800)"},
    {"visual-studio-resources.rc", WindresOutcome::Rejects, "a DLGINIT row with no comma at the end of its line"},
    {"operator-precedence.rc", WindresOutcome::ReadsDifferently, "+ and - bind before & and |, as in C"},
    {"repeated-style.rc", WindresOutcome::ReadsDifferently, "a second STYLE adds to the first instead of replacing it"},
};

const WindresException* WindresExceptionFor(const std::string& script) {
  for (const WindresException& exception : WindresExceptions) {
    if (script == exception.script)
      return &exception;
  }
  return nullptr;
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool IsUtf16Le(const std::string& bytes) {
  return bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
}

// The double-byte code page a script's #pragma code_page names, or 0.
int DoubleBytePage(const std::string& bytes) {
  for (const int page : {932, 936, 949, 950}) {
    if (bytes.find("#pragma code_page(" + std::to_string(page) + ")") != std::string::npos)
      return page;
  }
  return 0;
}

// The test scripts, and the real projects' scripts in tests/scripts/nsis.
std::vector<std::filesystem::path> TestScripts() {
  std::vector<std::filesystem::path> scripts;
  for (const auto& entry : std::filesystem::directory_iterator(TRELLANE_SOURCE_DIR "/tests/scripts")) {
    if (entry.path().extension() == ".rc")
      scripts.push_back(entry.path());
  }
  for (const auto& entry : std::filesystem::recursive_directory_iterator(TRELLANE_SOURCE_DIR "/tests/scripts/nsis")) {
    if (entry.path().extension() == ".rc")
      scripts.push_back(entry.path());
  }
  std::sort(scripts.begin(), scripts.end());
  return scripts;
}

int GeneratedScriptCount() {
  const char* count = std::getenv("TRELLANE_ORACLE_SCRIPTS");
  return count != nullptr ? std::max(0, std::atoi(count)) : 300;
}

class OracleTest : public TempFolderTest {
 protected:
  // The request to compile a script as it stands in tests/scripts. The
  // compilers read a UTF-16 script (Visual Studio's default) as UTF-8 that
  // says so; Trellane reads the UTF-16 file itself.
  CompileRequest RequestFor(const std::filesystem::path& script) const {
    CompileRequest request;
    request.script = script;
    request.includeFolders = {WindowsHeadersFolder(), script.parent_path()};
    request.workFolder = folder;
    request.outputName = script.stem().string();
    const std::string bytes = ReadBytes(script);
    if (IsUtf16Le(bytes)) {
      request.script = folder / script.filename();
      request.utf8 = true;
      WriteFile(script.filename().string(), "#pragma code_page(65001)\n" + Utf16LeToUtf8(bytes.substr(2)));
    } else if (const int page = DoubleBytePage(bytes); page != 0) {
      // The compilers read 65001 only: glibc's iconv, not Trellane's tables, makes their UTF-8 copy.
      request.script = folder / script.filename();
      request.utf8 = true;
      const std::filesystem::path copy = folder / (script.stem().string() + ".utf8");
      const std::string command =
          "iconv -f CP" + std::to_string(page) + " -t UTF-8 '" + script.string() + "' > '" + copy.string() + "'";
      EXPECT_EQ(std::system(command.c_str()), 0) << command;
      std::string text = ReadBytes(copy);
      const std::string pragma = "#pragma code_page(" + std::to_string(page) + ")";
      text.replace(text.find(pragma), pragma.size(), "#pragma code_page(65001)");
      WriteFile(script.filename().string(), text);
    } else if (bytes.find("#pragma code_page(65001)") != std::string::npos) {
      request.utf8 = true;
    }
    return request;
  }

  // llvm-rc's reading of a script, or why there is none.
  static ResDecoding<CompiledScript> CompileWithLlvmRc(const CompileRequest& request) {
    const CompileResult result = Compile(ResourceCompiler::LlvmRc, request);
    if (!result.ok)
      return {{}, "llvm-rc rejects it: " + result.messages};
    return DecodeCompiledScript(result.res, MenuExHelpIdPlacement::AfterText);
  }

  // Trellane's reading of a script compared with llvm-rc's; empty when they agree.
  static std::string CompareTrellane(const std::filesystem::path& script, const CompiledScript& reference) {
    FileIncludeReader includes;
    const ScriptReading reading = ReadResourceScript(script.generic_string(), ReadBytes(script), {}, includes);
    if (!reading.ok) {
      std::string errors = "Trellane cannot read it:";
      for (const Diagnostic& diagnostic : reading.diagnostics) {
        errors += "\n  " + (diagnostic.file.empty() ? script.filename().string() : diagnostic.file) + ":" +
                  std::to_string(diagnostic.line) + ": " + diagnostic.message;
      }
      return errors;
    }
    const std::optional<FieldMismatch> mismatch = CompareWithModel(reading.resources, reference);
    return mismatch ? Describe(*mismatch, "llvm-rc", "Trellane") : std::string();
  }
};

TEST_F(OracleTest, WindresReadsTheScriptsAsLlvmRcDoesBarTheListedDifferences) {
  if (!IsInstalled(ResourceCompiler::LlvmRc) || !IsInstalled(ResourceCompiler::Windres))
    GTEST_SKIP() << "needs llvm-rc-19 and x86_64-w64-mingw32-windres";
  std::set<WindresDifference> seen;
  for (const std::filesystem::path& script : TestScripts()) {
    const std::string name = script.filename().string();
    const CompileRequest request = RequestFor(script);
    const ResDecoding<CompiledScript> llvmRc = CompileWithLlvmRc(request);
    if (!llvmRc.Ok()) {
      ADD_FAILURE() << name << ": " << llvmRc.error;
      continue;
    }
    const CompileResult windres = Compile(ResourceCompiler::Windres, request);
    const WindresException* exception = WindresExceptionFor(name);
    if (exception != nullptr && exception->outcome == WindresOutcome::Rejects) {
      EXPECT_FALSE(windres.ok) << name << ": windres now compiles it; take it off the list (" << exception->reason
                               << ")";
      continue;
    }
    if (!windres.ok) {
      ADD_FAILURE() << name << ": windres rejects it: " << windres.messages;
      continue;
    }
    const ResDecoding<CompiledScript> windresReading =
        DecodeCompiledScript(windres.res, MenuExHelpIdPlacement::Aligned);
    if (!windresReading.Ok()) {
      ADD_FAILURE() << name << ": windres's file: " << windresReading.error;
      continue;
    }
    const WindresComparison comparison = CompareWindresWithLlvmRc(llvmRc.value, windresReading.value);
    if (exception != nullptr) {
      EXPECT_TRUE(comparison.unexplained.has_value())
          << name << ": windres now reads it as llvm-rc does; take it off the list (" << exception->reason << ")";
    } else if (comparison.unexplained) {
      ADD_FAILURE() << name << ": " << Describe(*comparison.unexplained, "llvm-rc", "windres");
    }
    seen.insert(comparison.seen.begin(), comparison.seen.end());
  }
  // Each listed difference still shows somewhere, so the list stays true.
  for (const WindresDifferenceInfo& difference : WindresDifferences())
    EXPECT_TRUE(seen.count(difference.difference) != 0) << "no script shows: " << difference.name;
}

TEST_F(OracleTest, ScriptsReadAsLlvmRcReadsThem) {
  if (!IsInstalled(ResourceCompiler::LlvmRc))
    GTEST_SKIP() << "needs llvm-rc-19";
  for (const std::filesystem::path& script : TestScripts()) {
    const ResDecoding<CompiledScript> reference = CompileWithLlvmRc(RequestFor(script));
    if (!reference.Ok()) {
      ADD_FAILURE() << script.filename().string() << ": " << reference.error;
      continue;
    }
    const std::string difference = CompareTrellane(script, reference.value);
    EXPECT_TRUE(difference.empty()) << script.filename().string() << ": " << difference;
  }
}

TEST_F(OracleTest, ScriptsReadTheSameWithTheRealHeadersAsWithTheBuiltInOnes) {
  if (!std::filesystem::is_regular_file(WindowsHeadersFolder() / "windows.h"))
    GTEST_SKIP() << "needs the MinGW-w64 headers in " << WindowsHeadersFolder().string();
  const auto dump = [](const std::filesystem::path& script, const PreprocessorOptions& options) {
    FileIncludeReader includes;
    const ScriptReading reading = ReadResourceScript(script.generic_string(), ReadBytes(script), options, includes);
    std::ostringstream out;
    for (const Diagnostic& diagnostic : reading.diagnostics) {
      if (diagnostic.severity == Severity::Error)
        out << "error: " << diagnostic.file << ":" << diagnostic.line << ": " << diagnostic.message << "\n";
    }
    DumpResourceModel(reading.resources, out);
    return out.str();
  };
  PreprocessorOptions real;
  real.includeFolders = {WindowsHeadersFolder().generic_string()};
  for (const std::filesystem::path& script : TestScripts())
    EXPECT_EQ(dump(script, real), dump(script, {})) << script.filename().string();
}

TEST_F(OracleTest, OracleGeneratedScripts) {
  if (!IsInstalled(ResourceCompiler::LlvmRc))
    GTEST_SKIP() << "needs llvm-rc-19";
  constexpr int ResourcesPerScript = 6;
  constexpr int FailuresShown = 5;
  const int count = GeneratedScriptCount();
  int failures = 0;
  int compared = 0;
  for (int index = 0; index < count && failures < FailuresShown; ++index, ++compared) {
    const auto seed = static_cast<std::uint32_t>(index);
    const std::string name = "generated-" + std::to_string(index) + ".rc";
    const std::string text = GenerateResourceScript(seed, ResourcesPerScript);
    WriteFile(name, text);
    CompileRequest request;
    request.script = folder / name;
    request.includeFolders = {WindowsHeadersFolder()};
    request.workFolder = folder;
    request.outputName = "generated";
    const ResDecoding<CompiledScript> reference = CompileWithLlvmRc(request);
    std::string difference = reference.Ok() ? CompareTrellane(request.script, reference.value) : reference.error;
    if (!difference.empty()) {
      ++failures;
      ADD_FAILURE() << "script of seed " << seed << ": " << difference << "\n" << text;
    }
  }
  std::printf("%d generated scripts compared with llvm-rc\n", compared);
}

}  // namespace
}  // namespace trellane
