// Pieces of the trellane command, one file each.
#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "app/ConversionJob.h"
#include "metrics/DisplayMetrics.h"

namespace trellane {

struct ConvertOptions {
  ConversionMode mode = ConversionMode::Menu;
  std::string scriptPath;
  std::string outputPath;  // empty: the proposed path beside the script
  std::optional<std::string> menuName;
  std::optional<int> dotsPerInch;
  std::optional<std::pair<int, int>> baseUnits;
};

// Runs one conversion and reports it; returns the exit code.
int RunConvertCommand(const ConvertOptions& options, std::ostream& out, std::ostream& err);

// Prints a menu or dialog record file as a table; returns the exit code.
int RunDumpCommand(const std::string& path, std::ostream& out, std::ostream& err);

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
