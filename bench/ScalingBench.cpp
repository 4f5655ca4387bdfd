// Linear cost: converts generated menu and dialog scripts of 1, 10 and 100 MB,
// each size in a child process of its own so that its peak memory is its own,
// and fits the growth exponent of time against size (least squares on
// log-log; 1.0 is linear). windres compiles the same scripts, up to a size.
//
//   ScalingBench [--sizes MB,MB,...] [--windres-max-mb N] [--runs N]
//
// windres needs minutes on the largest dialog scripts, so by default it runs
// on scripts up to 20 MB only; --windres-max-mb 0 skips it, a large value
// runs it everywhere.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "ScriptGenerators.h"
#include "app/Converters.h"
#include "metrics/FixedMetrics.h"

namespace {

using namespace trellane::bench;

struct Measurement {
  double cpuSeconds = 0;   // best thread CPU time of a conversion
  double wallSeconds = 0;  // best wall time of a conversion
  double peakBytes = 0;    // peak beyond the child's start, script included
  double imageBytes = 0;
  double records = 0;
};

Measurement Convert(bool menu, const std::string& path, int runs) {
  Measurement measurement;
  const std::size_t startPeak = PeakResidentBytes();
  const std::string script = ReadWholeFile(path);
  measurement.cpuSeconds = 1e9;
  measurement.wallSeconds = 1e9;
  for (int run = 0; run < runs; ++run) {
    const double start = WallSeconds();
    const double startCpu = ThreadSeconds();
    trellane::ConverterResult result;
    if (menu) {
      result = trellane::ConvertMenuScript(script);
    } else {
      trellane::FixedMetrics metrics({8, 16}, 96, {13, 316});
      result = trellane::ConvertDialogScript(script, metrics, {});
    }
    measurement.cpuSeconds = std::min(measurement.cpuSeconds, ThreadSeconds() - startCpu);
    measurement.wallSeconds = std::min(measurement.wallSeconds, WallSeconds() - start);
    measurement.imageBytes = static_cast<double>(result.image.size());
    measurement.records = static_cast<double>(result.recordCount);
  }
  measurement.peakBytes = static_cast<double>(PeakResidentBytes() - startPeak);
  return measurement;
}

// Runs Convert in a fresh child, so that no earlier size's peak hides this one's.
bool ConvertInChild(bool menu, const std::string& path, int runs, Measurement& measurement) {
  int fds[2];
  if (pipe(fds) != 0)
    return false;
  std::fflush(stdout);
  const pid_t child = fork();
  if (child < 0)
    return false;
  if (child == 0) {
    close(fds[0]);
    const Measurement result = Convert(menu, path, runs);
    const bool written = write(fds[1], &result, sizeof result) == static_cast<ssize_t>(sizeof result);
    close(fds[1]);
    _exit(written ? 0 : 1);
  }
  close(fds[1]);
  const bool read = ::read(fds[0], &measurement, sizeof measurement) == static_cast<ssize_t>(sizeof measurement);
  close(fds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return read && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::vector<double> ParseSizes(const char* text) {
  std::vector<double> sizes;
  for (const char* p = text; *p;) {
    char* end = nullptr;
    const double size = std::strtod(p, &end);
    if (end == p)
      break;
    if (size > 0)
      sizes.push_back(size);
    p = *end == ',' ? end + 1 : end;
  }
  return sizes;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<double> sizes{1, 10, 100};
  double windresMaxMegabytes = 20;
  int runs = 3;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--sizes") == 0) {
      sizes = ParseSizes(argv[i + 1]);
    } else if (std::strcmp(argv[i], "--windres-max-mb") == 0) {
      windresMaxMegabytes = std::atof(argv[i + 1]);
    } else if (std::strcmp(argv[i], "--runs") == 0) {
      runs = std::max(1, std::atoi(argv[i + 1]));
    } else {
      std::fprintf(stderr, "usage: ScalingBench [--sizes MB,MB,...] [--windres-max-mb N] [--runs N]\n");
      return 2;
    }
  }
  if (sizes.size() < 2) {
    std::fprintf(stderr, "ScalingBench: give at least two sizes\n");
    return 2;
  }
  const bool haveWindres = OnPath(Windres);
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "trellane-scaling-bench";
  std::filesystem::create_directories(folder);

  int status = 0;
  for (const bool menu : {true, false}) {
    const char* what = menu ? "menu" : "dialog";
    std::printf(
        "%s converter (best of %d runs, thread CPU time; peak memory beyond the child's start, script "
        "included)\n",
        what, runs);
    std::printf("  %8s %10s %10s %10s %12s %12s %10s %12s\n", "script", "records", "time", "MB/s", "peak", "image",
                "peak/in", "windres");
    std::vector<double> megabytes;
    std::vector<double> seconds;
    for (const double size : sizes) {
      const std::string path = (folder / (std::string(what) + ".rc")).string();
      {
        std::ofstream out(path, std::ios::binary);
        const auto bytes = static_cast<std::size_t>(size * 1024 * 1024);
        if (menu)
          WriteMenuScript(out, MenuItemsForBytes(bytes));
        else
          WriteDialogScript(out, DialogControlsForBytes(bytes));
      }
      const double scriptMegabytes = Megabytes(static_cast<double>(std::filesystem::file_size(path)));
      Measurement measurement;
      if (!ConvertInChild(menu, path, runs, measurement)) {
        std::printf("  %7.1fM conversion failed\n", scriptMegabytes);
        status = 1;
        continue;
      }
      std::string windres = "skipped";
      if (!haveWindres) {
        windres = "not found";
      } else if (scriptMegabytes <= windresMaxMegabytes) {
        const double windresSeconds =
            TimeCommand(Windres + " -i " + Quoted(path) + " -O res -o " + Quoted(path + ".res"), 1);
        char text[32];
        std::snprintf(text, sizeof text, "%.2f s", windresSeconds);
        windres = windresSeconds > 0 ? text : "failed";
      }
      const double inputMegabytes = scriptMegabytes + Megabytes(measurement.imageBytes);
      std::printf("  %7.1fM %10.0f %8.1fms %10.0f %10.1fMB %10.1fMB %10.3f %12s\n", scriptMegabytes,
                  measurement.records, measurement.cpuSeconds * 1e3, scriptMegabytes / measurement.cpuSeconds,
                  Megabytes(measurement.peakBytes), Megabytes(measurement.imageBytes),
                  Megabytes(measurement.peakBytes) / inputMegabytes, windres.c_str());
      megabytes.push_back(scriptMegabytes);
      seconds.push_back(measurement.cpuSeconds);
    }
    if (megabytes.size() >= 2)
      std::printf("  growth exponent of time against size: %.3f (1.0 is linear)\n\n",
                  GrowthExponent(megabytes, seconds));
  }
  std::filesystem::remove_all(folder);
  return status;
}
