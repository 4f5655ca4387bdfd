#include <ostream>

#include "app/Converters.h"
#include "app/IncludeFiles.h"
#include "cli/CommandLine.h"

namespace trellane {

namespace {

// What every conversion command gives the job: the script options, the
// display and the menu-name prompt.
class CommandContext {
 public:
  CommandContext(const ConvertOptions& options, bool forDialogs) {
    context.preprocessor = MakePreprocessorOptions(options.script);
    context.includes = &includes;
    context.resourceName = options.script.resource;
    context.outputCodePage = options.script.outputCodePage;
    if (forDialogs) {
      metrics = MakeCommandLineMetrics(options);
      context.metrics = metrics.get();
      context.requestMenuName = MakeCommandLineMenuNameRequest(options, promptWarnings);
    }
  }
  CommandContext(const CommandContext&) = delete;
  CommandContext& operator=(const CommandContext&) = delete;

  ConversionContext context;
  Diagnostics promptWarnings;

 private:
  FileIncludeReader includes;
  std::unique_ptr<DisplayMetrics> metrics;
};

std::string Count(std::size_t count, bool isMenu) {
  return std::to_string(count) + (isMenu ? " item" : " control") + (count == 1 ? "" : "s");
}

// ", 2 warnings" after a success line, or nothing.
std::string WarningsText(std::size_t count) {
  if (count == 0)
    return {};
  return ", " + std::to_string(count) + (count == 1 ? " warning" : " warnings");
}

}  // namespace

int RunConvertAllCommand(const ConvertOptions& options, std::ostream& out, std::ostream& err) {
  const std::string& scriptPath = options.script.scriptPath;
  std::string folder = options.outputPath;
  if (folder.empty()) {
    const std::size_t separator = scriptPath.find_last_of("/\\");
    folder = separator == std::string::npos ? "." : scriptPath.substr(0, separator);
  }
  CommandContext command(options, true);
  const std::unique_ptr<FileService> files = MakePlatformFileService();
  const ScriptConversionReport report =
      RunScriptConversion(scriptPath, folder, command.context, ProgramConverters(), *files);
  PrintDiagnostics(scriptPath, report.diagnostics, err);
  PrintDiagnostics(scriptPath, command.promptWarnings, err);
  if (report.outcome != ConversionOutcome::Written) {
    ConversionReport failure;
    failure.outcome = report.outcome;
    failure.detail = report.detail;
    ConversionRequest request{scriptPath, folder, ConversionMode::Menu};
    const std::string text = report.outcome == ConversionOutcome::KeywordMissing
                                 ? scriptPath + ": no menu and no dialog found; nothing written"
                                 : DescribeFailure(failure, request);
    err << "trellane: error: " << text << '\n';
    return 1;
  }
  for (const WrittenFile& file : report.files) {
    if (file.outcome == ConversionOutcome::Written) {
      out << "wrote " << file.path << ": " << Count(file.recordCount, file.isMenu) << '\n';
      continue;
    }
    ConversionReport failure;
    failure.outcome = file.outcome;
    failure.detail = file.detail;
    err << "trellane: error: " << DescribeFailure(failure, {scriptPath, file.path, ConversionMode::Menu}) << " ("
        << file.resourceName << ")\n";
  }
  // The warnings are the script's, not one file's: they are counted once.
  const std::size_t warnings = WarningCount(report.diagnostics) + WarningCount(command.promptWarnings);
  if (warnings > 0)
    out << "read " << scriptPath << ":" << WarningsText(warnings).substr(1) << '\n';
  return report.AllWritten() ? 0 : 1;
}

int RunConvertCommand(const ConvertOptions& options, std::ostream& out, std::ostream& err) {
  const ScriptOptions& script = options.script;
  ConversionRequest request;
  request.mode = options.mode;
  request.sourcePath = script.scriptPath;
  request.outputPath =
      options.outputPath.empty() ? ProposedOutputPath(script.scriptPath, options.mode) : options.outputPath;

  CommandContext command(options, options.mode == ConversionMode::Dialog);
  const ConversionContext& context = command.context;
  const Diagnostics& promptWarnings = command.promptWarnings;

  const std::unique_ptr<FileService> files = MakePlatformFileService();
  ConversionReport report = RunConversion(request, context, ProgramConverters(), *files);
  PrintDiagnostics(script.scriptPath, report.diagnostics, err);
  PrintDiagnostics(script.scriptPath, promptWarnings, err);
  if (report.outcome != ConversionOutcome::Written) {
    err << "trellane: error: " << DescribeFailure(report, request) << '\n';
    return 1;
  }
  out << "wrote " << request.outputPath << ": " << Count(report.recordCount, options.mode == ConversionMode::Menu)
      << WarningsText(WarningCount(report.diagnostics) + WarningCount(promptWarnings)) << '\n';
  return 0;
}

}  // namespace trellane
