// The conversion job: read a script whole, run the converter of the chosen
// mode, and replace the output file with the image it hands back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/ConverterResult.h"
#include "app/FileService.h"
#include "metrics/DisplayMetrics.h"
#include "script/Preprocessor.h"

namespace trellane {

enum class ConversionMode { Menu = 1, Dialog = 2 };

// What a converter is given beside the script's bytes.
struct ConversionContext {
  DisplayMetrics* metrics = nullptr;
  MenuNameRequest requestMenuName;
  std::string scriptPath;  // where #include "file" starts its search; the job sets it
  PreprocessorOptions preprocessor;
  IncludeFileReader* includes = nullptr;    // none: only the built-in Windows headers are found
  std::optional<std::string> resourceName;  // --resource: the menu or dialog to convert
  std::optional<int> outputCodePage;        // none: each resource in the code page of its language
};

using Converter = std::function<ConverterResult(std::string script, const ConversionContext& context)>;

using ScriptConverter = std::function<ScriptConverterResult(std::string script, const ConversionContext& context,
                                                            const ResourceSink& sink)>;

struct ConverterTable {
  Converter menu;
  Converter dialog;
  ScriptConverter all;
};

// Scripts above this size are refused before they are read.
constexpr std::uint64_t MaxScriptBytes = std::uint64_t{1} << 30;

enum class ConversionOutcome {
  Written,
  SourceUnreadable,
  SourceTooLarge,
  KeywordMissing,
  ScriptInvalid,
  ResourceMissing,
  OutputIsSource,
  OutputNotWritable,
  WriteFailed,
};

struct ConversionRequest {
  std::string sourcePath;
  std::string outputPath;
  ConversionMode mode = ConversionMode::Menu;
};

struct ConversionReport {
  ConversionOutcome outcome = ConversionOutcome::SourceUnreadable;
  std::string detail;       // the system's reason, where there is one
  Diagnostics diagnostics;  // the converter's warnings, with line numbers
  std::size_t recordCount = 0;
  std::size_t bytesWritten = 0;
};

ConversionReport RunConversion(const ConversionRequest& request, const ConversionContext& context,
                               const ConverterTable& converters, FileService& files);

// One file of a whole-script conversion and what became of it.
struct WrittenFile {
  std::string path;
  std::string resourceName;
  bool isMenu = false;
  ConversionOutcome outcome = ConversionOutcome::WriteFailed;
  std::string detail;
  std::size_t recordCount = 0;
};

struct ScriptConversionReport {
  ConversionOutcome outcome = ConversionOutcome::SourceUnreadable;  // Written once the script was read
  std::string detail;
  Diagnostics diagnostics;
  std::vector<WrittenFile> files;
  bool AllWritten() const;
};

// Converts every menu and dialog of a script into its own file in
// outputFolder; each file is written whole or not at all, and a file that
// fails leaves the others written.
ScriptConversionReport RunScriptConversion(const std::string& sourcePath, const std::string& outputFolder,
                                           const ConversionContext& context, const ConverterTable& converters,
                                           FileService& files);

// Replaces the file at outputPath with image once all of it is on the disk;
// a failure (outcome OutputNotWritable or WriteFailed) leaves the file as it was.
ConversionReport ReplaceOutputFile(FileService& files, const std::string& outputPath, const Image& image);

// The resource keywords a mode's converter looks for.
std::string_view ModeKeyword(ConversionMode mode);

// The file name proposed for a mode's output: "menu.mnu" or "dialog.dlg".
std::string_view ProposedOutputName(ConversionMode mode);

// The proposed output path: the proposed name in the script's folder.
std::string ProposedOutputPath(const std::string& sourcePath, ConversionMode mode);

// The main window's status line for a finished job.
std::string_view StatusText(ConversionOutcome outcome, ConversionMode mode);

// One sentence for a job that wrote nothing, for the command line.
std::string DescribeFailure(const ConversionReport& report, const ConversionRequest& request);

}  // namespace trellane
