// Measuring for the benchmarks: CPU and wall time, peak memory, whole-file
// reads, running and timing outside programs, and the report that MenuBench
// and DialogBench share. POSIX only, like the benchmarks.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/ConverterResult.h"

namespace trellane::bench {

// Wall-clock seconds from a fixed point.
double WallSeconds();

// CPU time of the calling thread: on a busy machine it shows the work's own cost.
double ThreadSeconds();

// Peak resident memory of this process so far (VmHWM), in bytes.
std::size_t PeakResidentBytes();

double Megabytes(double bytes);

// Reads a file at its exact size, so that memory holds one copy of it.
std::string ReadWholeFile(const std::string& path);

// Best wall time of a shell command over runs; negative when it fails.
double TimeCommand(const std::string& command, int runs);

bool OnPath(const std::string& program);

// One argument for the POSIX shell that std::system runs.
std::string Quoted(const std::string& argument);

// One run of an outside program.
struct ChildRun {
  bool exited = false;  // it started and exited, with any status
  int exitCode = -1;
  double wallSeconds = 0;             // from before the start to after the wait
  double cpuSeconds = 0;              // user and system time
  std::size_t peakResidentBytes = 0;  // the child's own ru_maxrss
};

// Runs arguments (the program first, looked up on the PATH) with its output
// and errors sent to files, and waits for it. The child's peak memory is at
// least this process's resident size when it starts: Linux counts it from
// there. The benchmarks that use it therefore hold no script in memory.
ChildRun RunChild(const std::vector<std::string>& arguments, const std::string& outputPath,
                  const std::string& errorPath);

// The number of write() system calls of a run under `strace -f -c`; nothing
// when strace is missing or cannot trace.
std::optional<std::size_t> CountWriteCalls(const std::vector<std::string>& arguments, const std::string& workFolder);

// The number of lines of a file that hold text.
std::size_t CountLinesWith(const std::string& path, std::string_view text);

// The trellane executable: the value of --trellane if the arguments hold it,
// else the one the build tree puts beside the benchmarks (src/trellane).
std::string TrellanePath(int argc, char** argv);

// The value after option name in the arguments, or nothing.
std::optional<std::string> OptionValue(int argc, char** argv, std::string_view name);

// Slope of log(y) against log(x) by least squares: 1.0 is linear growth.
double GrowthExponent(const std::vector<double>& x, const std::vector<double>& y);

// The cross resource compiler that the benchmarks compare with.
inline const std::string Windres = "x86_64-w64-mingw32-windres";

using Converter = std::function<ConverterResult(std::string_view script)>;
using ScriptWriter = std::function<void(std::ostream& out, std::size_t count)>;

// The count that a benchmark's first argument asks for, fallback without
// one; at least 1.
std::size_t CountArgument(int argc, char** argv, std::size_t fallback);

// Writes a script of count items with write, converts it runs times and
// prints time (best wall and thread CPU time), MB/s, peak memory against the
// budget start + 1.1 x (script + image), then `wc -l` and windres on the same
// file with their ratios to the conversion. Returns the exit status.
int RunConversionBench(const std::string& what, std::size_t count, const ScriptWriter& write, const Converter& convert,
                       int runs);

}  // namespace trellane::bench
