// Converts a generated dialog script of 100,000 controls and as many #define
// lines with fixed display metrics and reports time, throughput and peak
// memory, beside `wc -l` and windres on the same file.
//
//   DialogBench [CONTROLS]
#include <cstdlib>

#include "BenchSupport.h"
#include "ScriptGenerators.h"
#include "dialog/DialogConverter.h"
#include "dialog/FixedMetrics.h"

int main(int argc, char** argv) {
  using namespace trellane::bench;
  const long requested = argc > 1 ? std::atol(argv[1]) : 100000;
  const auto controls = static_cast<std::size_t>(requested > 0 ? requested : 1);
  return RunConversionBench(
      "dialog", controls, WriteDialogScript,
      [](std::string_view script) {
        trellane::FixedMetrics metrics({8, 16}, 96, {13, 316});
        const trellane::ConverterResult result = trellane::ConvertDialogScript(script, metrics, {});
        return Conversion{result.recordCount, result.image.size(), result.diagnostics.size()};
      },
      7);
}
