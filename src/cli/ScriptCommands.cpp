#include <cstdio>
#include <ostream>

#include "app/Converters.h"
#include "app/IncludeFiles.h"
#include "cli/CommandLine.h"
#include "cli/JsonDump.h"
#include "script/LanguageCodePage.h"
#include "script/ModelDump.h"
#include "script/ScriptReader.h"
#include "text/TextTable.h"

namespace trellane {
namespace {

std::string LanguageText(const Language& language) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(language.Id()));
  return text;
}

std::string Count(std::size_t count, const char* noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

// Reads the script as the converters do; prints what went wrong.
bool ReadModel(const ScriptOptions& options, ScriptReading& reading, std::ostream& err) {
  std::string bytes;
  if (!ReadInputFile(options.scriptPath, "script", bytes, err))
    return false;
  FileIncludeReader includes;
  reading = ReadResourceScript(options.scriptPath, std::move(bytes), MakePreprocessorOptions(options), includes);
  PrintDiagnostics(options.scriptPath, reading.diagnostics, err);
  if (!reading.ok) {
    err << "trellane: error: " << options.scriptPath << ": the script has errors\n";
    return false;
  }
  return true;
}

}  // namespace

bool ReadInputFile(const std::string& path, const char* what, std::string& bytes, std::ostream& err) {
  IncludeFile file = ReadWhole(path);
  if (file.status != IncludeStatus::Read) {
    err << "trellane: error: " << path << ": cannot read the " << what
        << (file.problem.empty() ? std::string() : ": " + file.problem) << '\n';
    return false;
  }
  bytes = std::move(file.bytes);
  return true;
}

PreprocessorOptions MakePreprocessorOptions(const ScriptOptions& options) {
  PreprocessorOptions preprocessor;
  preprocessor.includeFolders = options.includeFolders;
  preprocessor.environmentFolders = EnvironmentIncludeFolders();
  for (const std::string& define : options.defines) {
    const std::size_t equals = define.find('=');
    if (equals == std::string::npos)
      preprocessor.defines.push_back(MacroDefinition{define, "1"});
    else
      preprocessor.defines.push_back(MacroDefinition{define.substr(0, equals), define.substr(equals + 1)});
  }
  preprocessor.codePage = options.codePage;
  return preprocessor;
}

void PrintDiagnostics(const std::string& scriptPath, const Diagnostics& diagnostics, std::ostream& err) {
  // One write for all: standard error is unbuffered, and a large script may
  // warn thousands of times.
  std::string text;
  for (const Diagnostic& diagnostic : diagnostics) {
    for (auto place = diagnostic.includedFrom.rbegin(); place != diagnostic.includedFrom.rend(); ++place)
      text.append("In file included from ").append(*place).append(":\n");
    text.append(diagnostic.file.empty() ? scriptPath : diagnostic.file);
    if (diagnostic.line > 0) {
      text.append(":").append(std::to_string(diagnostic.line));
      if (diagnostic.column > 0)
        text.append(":").append(std::to_string(diagnostic.column));
    }
    text.append(diagnostic.severity == Severity::Error  ? ": error: "
                : diagnostic.severity == Severity::Note ? ": note: "
                                                        : ": warning: ");
    text.append(diagnostic.message).append("\n");
  }
  err << text << std::flush;
}

int RunListCommand(const ScriptOptions& options, std::ostream& out, std::ostream& err) {
  ScriptReading reading;
  if (!ReadModel(options, reading, err))
    return 1;
  std::vector<std::vector<std::string>> rows{{"kind", "name", "id", "language", "code page", "line", "contents"}};
  const auto idText = [](const NameOrOrdinal& name) {
    return name.IsOrdinal() ? std::to_string(name.Value() & 0xFFFF) : std::string("-");
  };
  for (const ResourceEntry& entry : reading.resources.order) {
    if (entry.kind == ResourceKind::Menu) {
      const Menu& menu = reading.resources.menus[entry.index];
      rows.push_back({menu.extended ? "MENUEX" : "MENU", ResourceDisplayName(menu.name), idText(menu.name),
                      LanguageText(menu.language),
                      std::to_string(options.outputCodePage.value_or(AnsiCodePage(menu.language))),
                      std::to_string(menu.location.line), Count(menu.items.size(), "item")});
    } else {
      const Dialog& dialog = reading.resources.dialogs[entry.index];
      rows.push_back({dialog.extended ? "DIALOGEX" : "DIALOG", ResourceDisplayName(dialog.name), idText(dialog.name),
                      LanguageText(dialog.language),
                      std::to_string(options.outputCodePage.value_or(AnsiCodePage(dialog.language))),
                      std::to_string(dialog.location.line), Count(dialog.controls.size(), "control")});
    }
  }
  if (rows.size() == 1) {
    out << options.scriptPath << ": no menu and no dialog\n";
    return 0;
  }
  PrintTable(rows, {false, false, true, false, true, false}, out);
  return 0;
}

int RunJsonListCommand(const ScriptOptions& options, std::ostream& out, std::ostream& err) {
  ScriptReading reading;
  if (!ReadModel(options, reading, err))
    return 1;
  out << JsonText(ResourceListJson(reading, options.outputCodePage));
  return 0;
}

int RunModelDumpCommand(const ScriptOptions& options, std::ostream& out, std::ostream& err) {
  ScriptReading reading;
  if (!ReadModel(options, reading, err))
    return 1;
  DumpResourceModel(reading.resources, out);
  return 0;
}

}  // namespace trellane
