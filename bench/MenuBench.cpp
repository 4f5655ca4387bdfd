// Converts a generated menu script of 200,000 items and 200,000 #define lines
// and reports time, throughput and peak memory, beside `wc -l` and windres on
// the same file.
//
//   MenuBench [ITEMS]
#include "BenchSupport.h"
#include "ScriptGenerators.h"
#include "app/Converters.h"

int main(int argc, char** argv) {
  using namespace trellane::bench;
  return RunConversionBench(
      "menu", CountArgument(argc, argv, 200000), WriteMenuScript,
      [](std::string_view script) { return trellane::ConvertMenuScript(script); }, 7);
}
