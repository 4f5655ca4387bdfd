#include "script/ScriptReader.h"

#include "script/Parser.h"

namespace trellane {

ScriptReading ReadResourceScript(const std::string& path, std::string bytes, const PreprocessorOptions& options,
                                 IncludeFileReader& includes) {
  ScriptReading reading;
  {
    Preprocessor preprocessor(reading.files, options, includes, reading.diagnostics);
    preprocessor.Start(path, std::move(bytes));
    const bool parsed = ParseResourceScript(preprocessor, reading.files, reading.resources, reading.diagnostics);
    reading.ok = parsed && !preprocessor.Failed() && !HasErrors(reading.diagnostics);
  }
  // The model keeps its own texts: the script's is not needed while the
  // resources are written, which is when memory is fullest.
  reading.files.ReleaseTexts();
  return reading;
}

}  // namespace trellane
