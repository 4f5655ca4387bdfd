// The whole program as people run it against the I/O floor: `trellane menu`
// and `trellane dialog` on generated scripts of about 30 MB each, as child
// processes (wall time, best of several runs), beside the least any program
// must do for the same job: read the script and write and sync a file of the
// image's size (`cat`, `head -c N /dev/zero`, `sync FILE`).
//
//   ProgramBench [--trellane PATH] [--megabytes N] [--runs N]
//
// Without --trellane it runs the trellane the build tree puts beside it.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "ScriptGenerators.h"

namespace {

using namespace trellane::bench;

struct Options {
  std::string trellane;
  double megabytes = 30;
  int runs = 5;
};

std::optional<Options> ParseOptions(int argc, char** argv) {
  Options options;
  options.trellane = TrellanePath(argc, argv);
  for (int i = 1; i < argc; i += 2) {
    const std::string name = argv[i];
    if (i + 1 >= argc || (name != "--trellane" && name != "--megabytes" && name != "--runs"))
      return std::nullopt;
    if (name == "--megabytes")
      options.megabytes = std::atof(argv[i + 1]);
    else if (name == "--runs")
      options.runs = std::atoi(argv[i + 1]);
  }
  if (options.megabytes <= 0 || options.runs < 1)
    return std::nullopt;
  return options;
}

// Converts one generated script with the command and with the floor, run
// after run in turn so that both see the same load, and prints both.
bool Measure(const Options& options, bool menu, const std::filesystem::path& folder) {
  const char* command = menu ? "menu" : "dialog";
  const std::string script = (folder / (std::string(command) + ".rc")).string();
  const std::string output = (folder / (menu ? "out.mnu" : "out.dlg")).string();
  const std::string floorOutput = (folder / "floor.bin").string();
  const std::string errors = (folder / "errors.txt").string();
  const auto bytes = static_cast<std::size_t>(options.megabytes * 1024 * 1024);
  const std::size_t count = menu ? MenuItemsForBytes(bytes) : DialogControlsForBytes(bytes);
  {
    std::ofstream out(script, std::ios::binary);
    if (menu)
      WriteMenuScript(out, count);
    else
      WriteDialogScript(out, count);
  }
  const double scriptMegabytes = Megabytes(static_cast<double>(std::filesystem::file_size(script)));
  std::printf("%s script  %s: %.1f MB, %zu %s\n", command, script.c_str(), scriptMegabytes, count,
              menu ? "items" : "controls");

  std::vector<std::string> arguments{options.trellane, command, script, "-o", output};
  if (!menu)
    arguments.insert(arguments.end(), {"--base-units", "8,16"});
  double best = 1e9;
  double bestCpu = 1e9;
  double bestFloor = 1e9;
  double bestFloorCpu = 1e9;
  std::size_t peak = 0;
  std::uintmax_t imageBytes = 0;
  for (int run = 0; run < options.runs; ++run) {
    const ChildRun child = RunChild(arguments, "/dev/null", errors);
    if (!child.exited || child.exitCode != 0) {
      std::printf("  trellane %s failed (exit %d); see %s\n", command, child.exitCode, errors.c_str());
      return false;
    }
    best = std::min(best, child.wallSeconds);
    bestCpu = std::min(bestCpu, child.cpuSeconds);
    peak = std::max(peak, child.peakResidentBytes);
    imageBytes = std::filesystem::file_size(output);
    // The shell's times include those of the commands it waited for.
    const ChildRun floor = RunChild({"sh", "-c",
                                     "cat " + Quoted(script) + " >/dev/null; head -c " + std::to_string(imageBytes) +
                                         " /dev/zero >" + Quoted(floorOutput) + "; sync " + Quoted(floorOutput)},
                                    "/dev/null", "/dev/null");
    if (floor.exited && floor.exitCode == 0) {
      bestFloor = std::min(bestFloor, floor.wallSeconds);
      bestFloorCpu = std::min(bestFloorCpu, floor.cpuSeconds);
    }
  }
  const std::size_t warnings = CountLinesWith(errors, ": warning: ");
  std::string writeCalls;
  if (const std::optional<std::size_t> calls = CountWriteCalls(arguments, folder.string()))
    writeCalls = ", " + std::to_string(*calls) + " write() calls";
  std::printf(
      "  trellane %-6s  %8.1f ms best of %d (wall), CPU %.1f ms; peak %.1f MB; %.1f MB written, %zu warnings%s\n",
      command, best * 1e3, options.runs, bestCpu * 1e3, Megabytes(static_cast<double>(peak)),
      Megabytes(static_cast<double>(imageBytes)), warnings, writeCalls.c_str());
  std::printf(
      "  I/O floor        %8.1f ms best of %d (wall), CPU %.1f ms: cat the script, head -c %llu /dev/zero, sync\n",
      bestFloor * 1e3, options.runs, bestFloorCpu * 1e3, static_cast<unsigned long long>(imageBytes));
  std::printf("  ratio            %8.2f (the goal is within 2)\n\n", best / bestFloor);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Options> options = ParseOptions(argc, argv);
  if (!options) {
    std::fprintf(stderr, "usage: ProgramBench [--trellane PATH] [--megabytes N] [--runs N]\n");
    return 2;
  }
  if (!std::filesystem::exists(options->trellane)) {
    std::fprintf(stderr, "ProgramBench: %s not found; build it or give --trellane PATH\n", options->trellane.c_str());
    return 2;
  }
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "trellane-program-bench";
  std::filesystem::create_directories(folder);
  std::printf("trellane: %s\n\n", options->trellane.c_str());
  bool ok = true;
  for (const bool menu : {true, false})
    ok = Measure(*options, menu, folder) && ok;
  std::filesystem::remove_all(folder);
  return ok ? 0 : 1;
}
