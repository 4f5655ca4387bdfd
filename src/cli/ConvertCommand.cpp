#include <ostream>

#include "app/Converters.h"
#include "cli/CommandLine.h"

namespace trellane {
namespace {

void PrintWarnings(const std::string& scriptPath, const Diagnostics& diagnostics, std::ostream& err) {
  for (const Diagnostic& diagnostic : diagnostics) {
    err << scriptPath;
    if (diagnostic.line > 0)
      err << ':' << diagnostic.line;
    err << ": warning: " << diagnostic.message << '\n';
  }
}

}  // namespace

int RunConvertCommand(const ConvertOptions& options, std::ostream& out, std::ostream& err) {
  ConversionRequest request;
  request.mode = options.mode;
  request.sourcePath = options.scriptPath;
  request.outputPath =
      options.outputPath.empty() ? ProposedOutputPath(options.scriptPath, options.mode) : options.outputPath;

  Diagnostics promptWarnings;
  std::unique_ptr<DisplayMetrics> metrics;
  ConversionContext context;
  if (options.mode == ConversionMode::Dialog) {
    metrics = MakeCommandLineMetrics(options);
    context.metrics = metrics.get();
    context.requestMenuName = MakeCommandLineMenuNameRequest(options, promptWarnings);
  }

  const std::unique_ptr<FileService> files = MakePlatformFileService();
  ConversionReport report = RunConversion(request, context, ProgramConverters(), *files);
  PrintWarnings(options.scriptPath, report.diagnostics, err);
  PrintWarnings(options.scriptPath, promptWarnings, err);
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
