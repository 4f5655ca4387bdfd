#include "BenchSupport.h"

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace trellane::bench {

double WallSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

std::size_t PeakResidentBytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0)
      return static_cast<std::size_t>(std::atol(line.c_str() + 6)) * 1024;
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<std::size_t>(usage.ru_maxrss) * 1024;
}

double Megabytes(double bytes) {
  return bytes / (1024.0 * 1024.0);
}

std::string ReadWholeFile(const std::string& path) {
  std::string text(std::filesystem::file_size(path), '\0');
  std::ifstream in(path, std::ios::binary);
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  return text;
}

double TimeCommand(const std::string& command, int runs) {
  double best = -1;
  for (int run = 0; run < runs; ++run) {
    const double start = WallSeconds();
    if (std::system(command.c_str()) != 0)
      return -1;
    const double seconds = WallSeconds() - start;
    best = best < 0 ? seconds : std::min(best, seconds);
  }
  return best;
}

bool OnPath(const std::string& program) {
  return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

std::size_t CountArgument(int argc, char** argv, std::size_t fallback) {
  if (argc < 2)
    return fallback;
  const long requested = std::atol(argv[1]);
  return requested > 0 ? static_cast<std::size_t>(requested) : 1;
}

int RunConversionBench(const std::string& what, std::size_t count, const ScriptWriter& write, const Converter& convert,
                       int runs) {
  const std::size_t startPeak = PeakResidentBytes();
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("trellane-" + what + "-bench");
  std::filesystem::create_directories(folder);
  const std::filesystem::path scriptPath = folder / "bench.rc";
  {
    std::ofstream out(scriptPath, std::ios::binary);
    write(out, count);
  }
  const std::string script = ReadWholeFile(scriptPath.string());
  const double scriptBytes = static_cast<double>(script.size());
  const std::size_t loadedPeak = PeakResidentBytes();

  double best = 1e9;
  double bestCpu = 1e9;
  std::size_t records = 0;
  std::size_t imageBytes = 0;
  std::size_t warnings = 0;
  for (int run = 0; run < runs; ++run) {
    const double start = WallSeconds();
    const double startCpu = ThreadSeconds();
    {
      // Freed within the timing, before the next run makes its own.
      const ConverterResult result = convert(script);
      records = result.recordCount;
      imageBytes = result.image.size();
      warnings = result.diagnostics.size();
    }
    bestCpu = std::min(bestCpu, ThreadSeconds() - startCpu);
    best = std::min(best, WallSeconds() - start);
  }
  const std::size_t peak = PeakResidentBytes();
  if (records != count) {
    std::fprintf(stderr, "%s: %zu records instead of %zu\n", what.c_str(), records, count);
    return 1;
  }

  const double megabytes = Megabytes(scriptBytes);
  std::printf("script     %s: %.1f MB, %zu %s records\n", scriptPath.c_str(), megabytes, count, what.c_str());
  std::printf("convert    %.1f ms best of %d, %.0f MB/s; CPU time %.1f ms, %.0f MB/s; %.1f MB image, %zu warnings\n",
              best * 1e3, runs, megabytes / best, bestCpu * 1e3, megabytes / bestCpu,
              Megabytes(static_cast<double>(imageBytes)), warnings);
  const double budget = static_cast<double>(startPeak) + 1.1 * (scriptBytes + static_cast<double>(imageBytes));
  std::printf(
      "memory     peak %.1f MB (%.1f MB at start, %.1f MB with the script loaded); "
      "budget start + 1.1 x (script + image) = %.1f MB: %s\n",
      Megabytes(static_cast<double>(peak)), Megabytes(static_cast<double>(startPeak)),
      Megabytes(static_cast<double>(loadedPeak)), Megabytes(budget),
      static_cast<double>(peak) <= budget ? "within" : "OVER");

  const std::string quoted = "'" + scriptPath.string() + "'";
  const double wc = TimeCommand("wc -l " + quoted + " >/dev/null", runs);
  if (wc > 0)
    std::printf("wc -l      %.1f ms best of %d, %.0f MB/s; the conversion takes %.1f times as long\n", wc * 1e3, runs,
                megabytes / wc, bestCpu / wc);

  if (OnPath(Windres)) {
    const std::string resPath = (folder / "bench.res").string();
    const double seconds = TimeCommand(Windres + " -i " + quoted + " -O res -o '" + resPath + "'", 1);
    if (seconds > 0)
      std::printf("windres    %.1f ms, %.1f MB/s; the conversion is %.0f times faster\n", seconds * 1e3,
                  megabytes / seconds, seconds / best);
    else
      std::printf("windres    failed on the script\n");
  } else {
    std::printf("windres    %s is not on the PATH\n", Windres.c_str());
  }
  std::filesystem::remove_all(folder);
  return 0;
}

}  // namespace trellane::bench
