// Converts a generated dialog script of 100,000 controls and as many #define
// lines with fixed display metrics and reports time, throughput and peak
// memory, beside `wc -l` and windres on the same file.
//
//   DialogBench [CONTROLS]
#include "BenchSupport.h"
#include "ScriptGenerators.h"
#include "app/Converters.h"
#include "metrics/FixedMetrics.h"

int main(int argc, char** argv) {
  using namespace trellane::bench;
  return RunConversionBench(
      "dialog", CountArgument(argc, argv, 100000), WriteDialogScript,
      [](std::string_view script) {
        trellane::FixedMetrics metrics({8, 16}, 96, {13, 316});
        return trellane::ConvertDialogScript(script, metrics, {});
      },
      7);
}
