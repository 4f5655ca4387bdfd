// Whole-script conversion: `trellane convert` as a child process on
// generated scripts of 250, 500 and 1,000 DIALOGEX dialogs of 100 controls
// with a tenth as many MENUEX menus: wall and CPU time, time per dialog and
// peak memory (the child's ru_maxrss), against the I/O floor (reading the
// script, then writing and syncing as many files of the same sizes as the
// command wrote) and the memory budget script + largest image + 10%. Below
// the table, the growth exponents of time and memory against the dialog
// count, as ScalingBench fits them.
//
//   WholeScriptBench [--trellane PATH] [--dialogs N,N,...] [--runs N]
#include <fcntl.h>
#include <unistd.h>

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
  std::vector<std::size_t> dialogs{250, 500, 1000};
  int runs = 3;
};

std::vector<std::size_t> ParseCounts(const std::string& text) {
  std::vector<std::size_t> counts;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    const long count = std::atol(text.substr(start, comma - start).c_str());
    if (count > 0)
      counts.push_back(static_cast<std::size_t>(count));
    start = comma + 1;
  }
  return counts;
}

std::optional<Options> ParseOptions(int argc, char** argv) {
  Options options;
  options.trellane = TrellanePath(argc, argv);
  for (int i = 1; i < argc; i += 2) {
    const std::string name = argv[i];
    if (i + 1 >= argc || (name != "--trellane" && name != "--dialogs" && name != "--runs"))
      return std::nullopt;
    if (name == "--dialogs")
      options.dialogs = ParseCounts(argv[i + 1]);
    else if (name == "--runs")
      options.runs = std::atoi(argv[i + 1]);
  }
  if (options.dialogs.size() < 2 || options.runs < 1)
    return std::nullopt;
  return options;
}

// Reads the script as `cat` does, then writes each size as a file of zeros
// and syncs it, as the command writes and syncs each of its files.
double IoFloor(const std::string& script, const std::vector<std::uintmax_t>& sizes,
               const std::filesystem::path& folder) {
  const std::uintmax_t largest = sizes.empty() ? 0 : *std::max_element(sizes.begin(), sizes.end());
  std::vector<char> buffer(std::max<std::uintmax_t>(largest, 1 << 20), '\0');
  const double start = WallSeconds();
  const int in = open(script.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0)
    return -1;
  while (read(in, buffer.data(), buffer.size()) > 0) {
  }
  close(in);
  std::fill(buffer.begin(), buffer.end(), '\0');
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    const std::string path = (folder / ("file" + std::to_string(i))).string();
    const int out = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0)
      return -1;
    for (std::uintmax_t done = 0; done < sizes[i];) {
      const ssize_t n = write(out, buffer.data() + done, static_cast<std::size_t>(sizes[i] - done));
      if (n <= 0) {
        close(out);
        return -1;
      }
      done += static_cast<std::uintmax_t>(n);
    }
    const bool synced = fsync(out) == 0;
    if (close(out) != 0 || !synced)
      return -1;
  }
  return WallSeconds() - start;
}

struct Row {
  std::size_t dialogs = 0;
  std::size_t menus = 0;
  double scriptBytes = 0;
  std::vector<std::uintmax_t> sizes;  // of the files written
  double seconds = 1e9;
  double cpuSeconds = 1e9;
  double floorSeconds = 1e9;
  double peakBytes = 0;
};

std::vector<std::string> ConvertArguments(const Options& options, const std::string& script,
                                          const std::filesystem::path& output) {
  return {options.trellane, "convert", script, "-o", output.string(), "--base-units", "8,16"};
}

// Each run writes into an empty folder, as the floor does.
void EmptyFolder(const std::filesystem::path& folder) {
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
}

std::optional<Row> Measure(const Options& options, std::size_t dialogs, const std::filesystem::path& folder) {
  Row row;
  row.dialogs = dialogs;
  row.menus = dialogs / 10;
  const std::string script = (folder / "whole.rc").string();
  {
    std::ofstream out(script, std::ios::binary);
    WriteWholeScript(out, row.dialogs, row.menus);
  }
  row.scriptBytes = static_cast<double>(std::filesystem::file_size(script));
  const std::filesystem::path output = folder / "out";
  const std::filesystem::path floorOutput = folder / "floor";
  const std::string errors = (folder / "errors.txt").string();
  for (int run = 0; run < options.runs; ++run) {
    EmptyFolder(output);
    const ChildRun child = RunChild(ConvertArguments(options, script, output), "/dev/null", errors);
    if (!child.exited || child.exitCode != 0) {
      std::printf("  %zu dialogs: trellane convert failed (exit %d)\n", dialogs, child.exitCode);
      return std::nullopt;
    }
    row.seconds = std::min(row.seconds, child.wallSeconds);
    row.cpuSeconds = std::min(row.cpuSeconds, child.cpuSeconds);
    row.peakBytes = std::max(row.peakBytes, static_cast<double>(child.peakResidentBytes));
    row.sizes.clear();
    for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(output))
      row.sizes.push_back(entry.file_size());
    if (row.sizes.size() != row.dialogs + row.menus) {
      std::printf("  %zu dialogs: %zu files instead of %zu\n", dialogs, row.sizes.size(), row.dialogs + row.menus);
      return std::nullopt;
    }
    EmptyFolder(floorOutput);
    const double floor = IoFloor(script, row.sizes, floorOutput);
    if (floor < 0) {
      std::printf("  %zu dialogs: the I/O floor could not write its files\n", dialogs);
      return std::nullopt;
    }
    row.floorSeconds = std::min(row.floorSeconds, floor);
  }
  std::filesystem::remove_all(output);
  std::filesystem::remove_all(floorOutput);
  return row;
}

// The program's own peak on a script of one dialog: what the budget comes on top of.
double StartPeak(const Options& options, const std::filesystem::path& folder) {
  const std::string script = (folder / "one.rc").string();
  {
    std::ofstream out(script, std::ios::binary);
    WriteWholeScript(out, 1, 0);
  }
  const std::filesystem::path output = folder / "one";
  EmptyFolder(output);
  const ChildRun child = RunChild(ConvertArguments(options, script, output), "/dev/null", "/dev/null");
  std::filesystem::remove_all(output);
  return static_cast<double>(child.peakResidentBytes);
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Options> options = ParseOptions(argc, argv);
  if (!options) {
    std::fprintf(stderr, "usage: WholeScriptBench [--trellane PATH] [--dialogs N,N,...] [--runs N]\n");
    return 2;
  }
  if (!std::filesystem::exists(options->trellane)) {
    std::fprintf(stderr, "WholeScriptBench: %s not found; build it or give --trellane PATH\n",
                 options->trellane.c_str());
    return 2;
  }
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "trellane-whole-script-bench";
  EmptyFolder(folder);
  const double startPeak = StartPeak(*options, folder);
  std::printf("trellane convert SCRIPT -o FOLDER --base-units 8,16: %s\n", options->trellane.c_str());
  std::printf(
      "best of %d runs; time and /dialog in wall time; peak is the child's ru_maxrss, beyond is the peak less the %.1f "
      "MB of a script of one dialog; budget = 1.1 x (script + largest image), for beyond\n",
      options->runs, Megabytes(startPeak));
  std::printf("  %7s %5s %8s %5s %8s %9s %9s %9s %9s %6s %8s %8s %8s\n", "dialogs", "menus", "script", "files",
              "written", "time", "CPU", "/dialog", "I/O floor", "ratio", "peak", "beyond", "budget");
  std::vector<double> dialogs;
  std::vector<double> seconds;
  std::vector<double> cpuSeconds;
  std::vector<double> peaks;
  int status = 0;
  for (const std::size_t count : options->dialogs) {
    const std::optional<Row> row = Measure(*options, count, folder);
    if (!row) {
      status = 1;
      continue;
    }
    double written = 0;
    for (const std::uintmax_t size : row->sizes)
      written += static_cast<double>(size);
    const double largest = static_cast<double>(*std::max_element(row->sizes.begin(), row->sizes.end()));
    const double budget = 1.1 * (row->scriptBytes + largest);
    const double beyondStart = row->peakBytes - startPeak;
    std::printf("  %7zu %5zu %6.1fMB %5zu %6.1fMB %7.1fms %7.1fms %7.3fms %7.1fms %6.2f %6.1fMB %6.1fMB %6.1fMB %s\n",
                row->dialogs, row->menus, Megabytes(row->scriptBytes), row->sizes.size(), Megabytes(written),
                row->seconds * 1e3, row->cpuSeconds * 1e3, row->seconds * 1e3 / static_cast<double>(row->dialogs),
                row->floorSeconds * 1e3, row->seconds / row->floorSeconds, Megabytes(row->peakBytes),
                Megabytes(beyondStart), Megabytes(budget), beyondStart <= budget ? "within" : "OVER");
    dialogs.push_back(static_cast<double>(row->dialogs));
    seconds.push_back(row->seconds);
    cpuSeconds.push_back(row->cpuSeconds);
    peaks.push_back(std::max(beyondStart, 1.0));
  }
  if (dialogs.size() >= 2)
    std::printf(
        "  growth exponent against the dialog count (1.0 is linear): time %.3f, CPU time %.3f, peak beyond the start "
        "%.3f\n",
        GrowthExponent(dialogs, seconds), GrowthExponent(dialogs, cpuSeconds), GrowthExponent(dialogs, peaks));
  std::filesystem::remove_all(folder);
  return status;
}
