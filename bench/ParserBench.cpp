// Times the parser on the generated menu and dialog scripts (200,000 items
// and 100,000 controls, with as many #define lines): the best of 7 runs of
// preprocessing alone, and of preprocessing with the parser building the
// model; the parser's share is the difference.
//
//   ParserBench [ITEMS]
#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>

#include "BenchSupport.h"
#include "ScriptGenerators.h"
#include "app/Converters.h"
#include "script/Parser.h"
#include "script/Preprocessor.h"

namespace trellane::bench {
namespace {

struct Run {
  double wall = 1e9;
  double thread = 1e9;
  std::size_t records = 0;  // tokens, or menu items and controls
  bool ok = false;
};

// Preprocesses script, and parses it when parse is set; best of 7.
Run Measure(const std::string& script, bool parse) {
  Run best;
  for (int run = 0; run < 7; ++run) {
    std::string copy = script;  // the front end takes its script's bytes over
    const double wall = WallSeconds();
    const double thread = ThreadSeconds();
    SourceFiles files;
    Diagnostics diagnostics;
    NoIncludeFiles includes;
    Preprocessor preprocessor(files, PreprocessorOptions(), includes, diagnostics);
    preprocessor.Start("bench.rc", std::move(copy));
    std::size_t records = 0;
    bool ok = false;
    if (parse) {
      ResourceScript resources;
      ok = ParseResourceScript(preprocessor, files, resources, diagnostics);
      for (const Menu& menu : resources.menus)
        records += menu.items.size();
      for (const Dialog& dialog : resources.dialogs)
        records += dialog.controls.size();
    } else {
      for (Token token; preprocessor.Next(token);)
        ++records;
      ok = !preprocessor.Failed();
    }
    best.wall = std::min(best.wall, WallSeconds() - wall);
    best.thread = std::min(best.thread, ThreadSeconds() - thread);
    best.records = records;
    best.ok = ok;
  }
  return best;
}

int Report(const char* what, const ScriptWriter& write, std::size_t count) {
  std::ostringstream out;
  write(out, count);
  const std::string script = out.str();
  const Run tokens = Measure(script, false);
  const Run parsed = Measure(script, true);
  const double megabytes = Megabytes(static_cast<double>(script.size()));
  const double parserWall = parsed.wall - tokens.wall;
  const double parserThread = parsed.thread - tokens.thread;
  std::printf("%-6s %6.2f MB  preprocess: %9zu tokens, wall %6.1f ms, cpu %6.1f ms\n", what, megabytes, tokens.records,
              tokens.wall * 1000, tokens.thread * 1000);
  std::printf("%-6s %6s     and parse:  %9zu records, wall %6.1f ms, cpu %6.1f ms\n", what, "", parsed.records,
              parsed.wall * 1000, parsed.thread * 1000);
  std::printf("%-6s %6s     parser:     wall %6.1f ms, cpu %6.1f ms, %6.0f MB/s of script (cpu)%s\n", what, "",
              parserWall * 1000, parserThread * 1000, parserThread > 0 ? megabytes / parserThread : 0.0,
              tokens.ok && parsed.ok ? "" : "  FAILED");
  return tokens.ok && parsed.ok ? 0 : 1;
}

}  // namespace
}  // namespace trellane::bench

int main(int argc, char** argv) {
  using namespace trellane::bench;
  const std::size_t items = CountArgument(argc, argv, 200000);
  return Report("menu", WriteMenuScript, items) | Report("dialog", WriteDialogScript, items / 2);
}
