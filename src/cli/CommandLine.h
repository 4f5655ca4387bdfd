// Pieces of the trellane command, one file each.
#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/ConversionJob.h"
#include "metrics/DisplayMetrics.h"

namespace trellane {

// How a script is read: the options every command that reads one takes.
struct ScriptOptions {
  std::string scriptPath;
  std::vector<std::string> includeFolders;  // -I
  std::vector<std::string> defines;         // -D NAME[=VALUE]
  std::optional<int> codePage;              // --code-page
  std::optional<int> outputCodePage;        // --output-code-page; none: the language's
  std::optional<std::string> resource;      // --resource
};

struct ConvertOptions {
  ConversionMode mode = ConversionMode::Menu;
  ScriptOptions script;
  std::string outputPath;  // empty: the proposed path beside the script
  std::optional<std::string> menuName;
  std::optional<int> dotsPerInch;
  std::optional<std::pair<int, int>> baseUnits;
};

// Runs one conversion and reports it; returns the exit code.
int RunConvertCommand(const ConvertOptions& options, std::ostream& out, std::ostream& err);

// Converts every menu and dialog of the script into options.outputPath, a
// folder (the script's own when empty); returns the exit code: 0 when every
// file was written.
int RunConvertAllCommand(const ConvertOptions& options, std::ostream& out, std::ostream& err);

// Prints a menu or dialog record file as a table; returns the exit code.
int RunDumpCommand(const std::string& path, std::ostream& out, std::ostream& err);

// Prints every field of a menu or dialog record file as JSON, its texts
// decoded from codePage (1252 when none); returns the exit code.
int RunJsonDumpCommand(const std::string& path, std::optional<int> codePage, std::ostream& out, std::ostream& err);

// Prints the resource model a script reads into; returns the exit code.
int RunModelDumpCommand(const ScriptOptions& options, std::ostream& out, std::ostream& err);

// Prints every menu and dialog of a script; returns the exit code.
int RunListCommand(const ScriptOptions& options, std::ostream& out, std::ostream& err);

// Prints every menu and dialog of a script as JSON; returns the exit code.
int RunJsonListCommand(const ScriptOptions& options, std::ostream& out, std::ostream& err);

// preview: a picture of a record file, or of a script's dialog or menu.
struct PreviewOptions {
  ConvertOptions convert;  // the input in convert.script.scriptPath, the picture in convert.outputPath
  bool menu = false;       // --menu: the script's menu even when it has a dialog
  bool dialog = false;     // --dialog: the script's dialog, never its menu
};

// Draws the picture and writes it as SVG or PNG; returns the exit code.
int RunPreviewCommand(const PreviewOptions& options, std::ostream& out, std::ostream& err);

// The preprocessor's options for a script: -I, the INCLUDE folders, -D, --code-page.
PreprocessorOptions MakePreprocessorOptions(const ScriptOptions& options);

// Prints diagnostics as FILE:LINE:COLUMN: warning|error: message, each
// with the include lines that led to it.
void PrintDiagnostics(const std::string& scriptPath, const Diagnostics& diagnostics, std::ostream& err);

// Reads a whole regular file the command was given, a script or a record
// file (what names it in the error); false, with an error printed, when it
// cannot be read.
bool ReadInputFile(const std::string& path, const char* what, std::string& bytes, std::ostream& err);

// Prints a menu record file image as a table.
void DumpMenuImage(const Image& image, std::ostream& out);

// Prints a dialog record file image as a table.
void DumpDialogImage(const Image& image, std::ostream& out);

// The display metrics a dialog conversion uses on this machine.
std::unique_ptr<DisplayMetrics> MakeCommandLineMetrics(const ConvertOptions& options);

// The menu-name request of the command line: the --menu-name option, or a
// question on the terminal.
MenuNameRequest MakeCommandLineMenuNameRequest(const ConvertOptions& options, Diagnostics& diagnostics);

}  // namespace trellane
