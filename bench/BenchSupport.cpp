#include "BenchSupport.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

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

std::string Quoted(const std::string& argument) {
  std::string quoted = "'";
  for (const char c : argument) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted += c;
  }
  return quoted + "'";
}

ChildRun RunChild(const std::vector<std::string>& arguments, const std::string& outputPath,
                  const std::string& errorPath) {
  ChildRun run;
  if (arguments.empty())
    return run;
  std::vector<char*> argv;
  argv.reserve(arguments.size() + 1);
  for (const std::string& argument : arguments)
    argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const double start = WallSeconds();
  pid_t child = 0;
  const int failed = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0)
    return run;
  int status = 0;
  rusage usage{};
  // wait4 gives this child's own peak; RUSAGE_CHILDREN would give the largest of all children so far.
  if (wait4(child, &status, 0, &usage) != child)
    return run;
  run.wallSeconds = WallSeconds() - start;
  run.exited = WIFEXITED(status);
  run.exitCode = run.exited ? WEXITSTATUS(status) : -1;
  run.peakResidentBytes = static_cast<std::size_t>(usage.ru_maxrss) * 1024;
  for (const timeval& time : {usage.ru_utime, usage.ru_stime})
    run.cpuSeconds += static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
  return run;
}

std::optional<std::size_t> CountWriteCalls(const std::vector<std::string>& arguments, const std::string& workFolder) {
  if (!OnPath("strace"))
    return std::nullopt;
  const std::string summary = workFolder + "/strace.txt";
  std::vector<std::string> traced{"strace", "-f", "-c", "-o", summary, "--"};
  traced.insert(traced.end(), arguments.begin(), arguments.end());
  const ChildRun run = RunChild(traced, "/dev/null", "/dev/null");
  std::optional<std::size_t> calls;
  if (run.exited && run.exitCode == 0) {
    // "% time  seconds  usecs/call  calls  [errors]  syscall": calls is the fourth column.
    std::ifstream in(summary);
    std::string line;
    while (std::getline(in, line)) {
      std::istringstream columns(line);
      std::vector<std::string> words;
      for (std::string word; columns >> word;)
        words.push_back(word);
      if (words.size() >= 5 && words.back() == "write")
        calls = static_cast<std::size_t>(std::strtoull(words[3].c_str(), nullptr, 10));
    }
    if (!calls)
      calls = 0;  // strace lists no call it did not see
  }
  std::filesystem::remove(summary);
  return calls;
}

std::size_t CountLinesWith(const std::string& path, std::string_view text) {
  std::ifstream in(path);
  std::size_t count = 0;
  std::string line;
  while (std::getline(in, line)) {
    if (line.find(text) != std::string::npos)
      ++count;
  }
  return count;
}

std::string TrellanePath(int argc, char** argv) {
  if (const std::optional<std::string> given = OptionValue(argc, argv, "--trellane"))
    return *given;
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return (self.parent_path().parent_path() / "src" / "trellane").string();
}

std::optional<std::string> OptionValue(int argc, char** argv, std::string_view name) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (argv[i] == name)
      return std::string(argv[i + 1]);
  }
  return std::nullopt;
}

double GrowthExponent(const std::vector<double>& x, const std::vector<double>& y) {
  const double n = static_cast<double>(x.size());
  double sx = 0, sy = 0, sxx = 0, sxy = 0;
  for (std::size_t i = 0; i < x.size() && i < y.size(); ++i) {
    const double lx = std::log(x[i]);
    const double ly = std::log(y[i]);
    sx += lx;
    sy += ly;
    sxx += lx * lx;
    sxy += lx * ly;
  }
  const double denominator = n * sxx - sx * sx;
  return denominator != 0 ? (n * sxy - sx * sy) / denominator : 0;
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
