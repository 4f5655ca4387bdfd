// Converts a generated menu script of 200,000 items and 200,000 #define lines
// and reports time, throughput and peak memory, beside `wc -l` and windres on
// the same file.
//
//   MenuBench [ITEMS]
#include <cstdlib>

#include "BenchSupport.h"
#include "ScriptGenerators.h"
#include "menu/MenuConverter.h"

int main(int argc, char** argv) {
  using namespace trellane::bench;
  const long requested = argc > 1 ? std::atol(argv[1]) : 200000;
  const auto items = static_cast<std::size_t>(requested > 0 ? requested : 1);
  return RunConversionBench(
      "menu", items, WriteMenuScript,
      [](std::string_view script) {
        const trellane::ConverterResult result = trellane::ConvertMenuScript(script);
        return Conversion{result.recordCount, result.image.size(), result.diagnostics.size()};
      },
      7);
}
