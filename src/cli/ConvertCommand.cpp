#include <ostream>

#include "app/Converters.h"
#include "app/IncludeFiles.h"
#include "cli/CommandLine.h"

namespace trellane {

int RunConvertCommand(const ConvertOptions& options, std::ostream& out, std::ostream& err) {
  const ScriptOptions& script = options.script;
  ConversionRequest request;
  request.mode = options.mode;
  request.sourcePath = script.scriptPath;
  request.outputPath =
      options.outputPath.empty() ? ProposedOutputPath(script.scriptPath, options.mode) : options.outputPath;

  Diagnostics promptWarnings;
  std::unique_ptr<DisplayMetrics> metrics;
  FileIncludeReader includes;
  ConversionContext context;
  context.preprocessor = MakePreprocessorOptions(script);
  context.includes = &includes;
  context.resourceName = script.resource;
  context.outputCodePage = script.outputCodePage;
  if (options.mode == ConversionMode::Dialog) {
    metrics = MakeCommandLineMetrics(options);
    context.metrics = metrics.get();
    context.requestMenuName = MakeCommandLineMenuNameRequest(options, promptWarnings);
  }

  const std::unique_ptr<FileService> files = MakePlatformFileService();
  ConversionReport report = RunConversion(request, context, ProgramConverters(), *files);
  PrintDiagnostics(script.scriptPath, report.diagnostics, err);
  PrintDiagnostics(script.scriptPath, promptWarnings, err);
  if (report.outcome != ConversionOutcome::Written) {
    err << "trellane: error: " << DescribeFailure(report, request) << '\n';
    return 1;
  }
  const char* noun = options.mode == ConversionMode::Menu ? " item" : " control";
  out << "wrote " << request.outputPath << ": " << report.recordCount << noun << (report.recordCount == 1 ? "" : "s")
      << '\n';
  return 0;
}

}  // namespace trellane
