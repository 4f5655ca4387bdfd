// Preprocesses the generated menu and dialog scripts (200,000 and 100,000
// #define lines with as many uses) and reports the tokens, the best time of
// lexing and preprocessing, MB/s and the memory the reading takes beyond the
// script.
//
//   PreprocessBench [ITEMS]
#include <cstdio>
#include <sstream>
#include <string>

#include "BenchSupport.h"
#include "ScriptGenerators.h"
#include "script/Preprocessor.h"

namespace trellane::bench {
namespace {

class NoIncludes final : public IncludeFileReader {
 public:
  IncludeFile Read(const std::string&) override { return {}; }
};

std::size_t CountTokens(std::string script, bool& ok) {
  SourceFiles files;
  Diagnostics diagnostics;
  NoIncludes includes;
  Preprocessor preprocessor(files, PreprocessorOptions(), includes, diagnostics);
  preprocessor.Start("bench.rc", std::move(script));
  std::size_t tokens = 0;
  for (Token token; preprocessor.Next(token);)
    ++tokens;
  ok = !preprocessor.Failed();
  return tokens;
}

int Measure(const char* what, const ScriptWriter& write, std::size_t count) {
  std::ostringstream out;
  write(out, count);
  const std::string script = out.str();
  const std::size_t before = PeakResidentBytes();
  bool ok = false;
  std::size_t tokens = 0;
  double bestWall = 1e9;
  double bestThread = 1e9;
  for (int run = 0; run < 7; ++run) {
    std::string copy = script;  // the front end takes its script's bytes over
    const double wall = WallSeconds();
    const double thread = ThreadSeconds();
    tokens = CountTokens(std::move(copy), ok);
    bestWall = std::min(bestWall, WallSeconds() - wall);
    bestThread = std::min(bestThread, ThreadSeconds() - thread);
  }
  const double megabytes = Megabytes(static_cast<double>(script.size()));
  std::printf(
      "%-6s %8.2f MB  %9zu tokens  wall %7.1f ms  cpu %7.1f ms  %6.0f MB/s  memory beyond the script %6.1f MB%s\n",
      what, megabytes, tokens, bestWall * 1000, bestThread * 1000, megabytes / bestThread,
      Megabytes(static_cast<double>(PeakResidentBytes() - before)), ok ? "" : "  FAILED");
  return ok ? 0 : 1;
}

}  // namespace
}  // namespace trellane::bench

int main(int argc, char** argv) {
  using namespace trellane::bench;
  const std::size_t items = CountArgument(argc, argv, 200000);
  return Measure("menu", WriteMenuScript, items) | Measure("dialog", WriteDialogScript, items / 2);
}
