// Measuring for the benchmarks: CPU and wall time, peak memory, whole-file
// reads and timing of outside commands, and the report that MenuBench and
// DialogBench share. POSIX only, like the benchmarks.
#pragma once

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>

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
