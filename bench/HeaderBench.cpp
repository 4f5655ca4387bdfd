// Headers: `trellane dialog` on a script that includes <windows.h> and a
// 2 MB header of 40,000 #define lines and holds one DIALOGEX of 1,000
// controls named from that header with symbolic styles, beside llvm-rc-19
// and windres compiling the same files (wall time, best of several runs).
//
//   HeaderBench [--trellane PATH] [--runs N]
//
// The compilers read the MinGW-w64 <windows.h>; trellane its built-in one. A
// compiler that is not installed is skipped.
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

constexpr std::size_t Defines = 40000;
constexpr std::size_t Controls = 1000;
const std::string MingwHeaders = "/usr/share/mingw-w64/include";

struct Best {
  double seconds = 1e9;
  double cpuSeconds = 1e9;
  std::size_t peakBytes = 0;
  int exitCode = 0;  // of the first run that failed, 0 when none did
};

Best TimeProgram(const std::vector<std::string>& arguments, const std::string& errors, int runs) {
  Best best;
  for (int run = 0; run < runs && best.exitCode == 0; ++run) {
    const ChildRun child = RunChild(arguments, "/dev/null", errors);
    if (!child.exited || child.exitCode != 0) {
      best.exitCode = child.exited ? child.exitCode : -1;
      break;
    }
    best.seconds = std::min(best.seconds, child.wallSeconds);
    best.cpuSeconds = std::min(best.cpuSeconds, child.cpuSeconds);
    best.peakBytes = std::max(best.peakBytes, child.peakResidentBytes);
  }
  return best;
}

void PrintRun(const char* name, const Best& best, int runs, double baseline, const std::string& errors,
              const std::string& note = {}) {
  if (best.exitCode != 0) {
    std::ifstream in(errors);
    std::string first;
    std::getline(in, first);
    std::printf("  %-28s failed (exit %d): %s\n", name, best.exitCode, first.c_str());
    return;
  }
  std::printf("  %-28s %7.1f ms best of %d (wall), CPU %6.1f ms, peak %5.1f MB", name, best.seconds * 1e3, runs,
              best.cpuSeconds * 1e3, Megabytes(static_cast<double>(best.peakBytes)));
  if (baseline > 0)
    std::printf("; %.1f times trellane's time", best.seconds / baseline);
  std::printf("%s\n", note.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const std::string trellane = TrellanePath(argc, argv);
  int runs = 7;
  for (int i = 1; i < argc; i += 2) {
    const std::string name = argv[i];
    if (i + 1 >= argc || (name != "--trellane" && name != "--runs")) {
      std::fprintf(stderr, "usage: HeaderBench [--trellane PATH] [--runs N]\n");
      return 2;
    }
    if (name == "--runs")
      runs = std::max(1, std::atoi(argv[i + 1]));
  }
  if (!std::filesystem::exists(trellane)) {
    std::fprintf(stderr, "HeaderBench: %s not found; build it or give --trellane PATH\n", trellane.c_str());
    return 2;
  }

  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "trellane-header-bench";
  std::filesystem::create_directories(folder);
  const std::string header = (folder / "resource.h").string();
  const std::string script = (folder / "settings.rc").string();
  {
    std::ofstream out(header, std::ios::binary);
    WriteHeaderDefines(out, Defines);
  }
  {
    std::ofstream out(script, std::ios::binary);
    WriteHeaderDialogScript(out, "resource.h", Defines, Controls);
  }
  std::printf("header  %s: %.2f MB, %zu #define lines\n", header.c_str(),
              Megabytes(static_cast<double>(std::filesystem::file_size(header))), Defines);
  std::printf("script  %s: %.2f MB, #include <windows.h>, one DIALOGEX of %zu controls\n", script.c_str(),
              Megabytes(static_cast<double>(std::filesystem::file_size(script))), Controls);

  const std::string errors = (folder / "errors.txt").string();
  const std::string output = (folder / "settings.dlg").string();
  const std::vector<std::string> fixedUnits{trellane, "dialog", script, "-o", output, "--base-units", "8,16"};
  const Best fixed = TimeProgram(fixedUnits, errors, runs);
  std::string note;
  if (fixed.exitCode == 0) {
    char text[96];
    std::snprintf(text, sizeof text, "; %zu warnings, %.2f MB written", CountLinesWith(errors, ": warning: "),
                  Megabytes(static_cast<double>(std::filesystem::file_size(output))));
    note = text;
  }
  PrintRun("trellane --base-units 8,16", fixed, runs, 0, errors, note);
  const double baseline = fixed.exitCode == 0 ? fixed.seconds : 0;
  // Without fixed base units the dialog's font is measured, as people run it.
  PrintRun("trellane (measures the font)", TimeProgram({trellane, "dialog", script, "-o", output}, errors, runs), runs,
           baseline, errors);

  const std::string res = (folder / "settings.res").string();
  if (OnPath("llvm-rc-19"))
    PrintRun("llvm-rc-19", TimeProgram({"llvm-rc-19", "-I", MingwHeaders, "-fo", res, script}, errors, runs), runs,
             baseline, errors);
  else
    std::printf("  %-28s not installed\n", "llvm-rc-19");
  if (OnPath(Windres))
    PrintRun("windres", TimeProgram({Windres, "-I", MingwHeaders, "-i", script, "-o", res, "-O", "res"}, errors, runs),
             runs, baseline, errors);
  else
    std::printf("  %-28s not installed\n", "windres");
  std::filesystem::remove_all(folder);
  return fixed.exitCode == 0 ? 0 : 1;
}
