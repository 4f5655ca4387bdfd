// Converts a generated menu script of 200,000 items and 200,000 #define lines
// and reports time, throughput and peak memory, beside `wc -l` on the same
// file and, where it is installed, windres compiling the same script.
//
//   MenuBench [ITEMS]
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "menu/MenuConverter.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Runs = 7;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// CPU time of this thread: on a busy machine it shows the conversion's own cost.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Peak resident memory of this process so far, in bytes.
long PeakResidentBytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0)
      return std::atol(line.c_str() + 6) * 1024;
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss * 1024;
}

double Megabytes(double bytes) {
  return bytes / (1024.0 * 1024.0);
}

// Writes the script in pieces, so that generating it adds little to the peak.
void WriteScript(const std::filesystem::path& path, int items) {
  std::ofstream out(path, std::ios::binary);
  std::string chunk;
  out << "// Generated menu of " << items << " items.\r\n\r\n#define IDR_BENCH 100\r\n";
  for (int i = 0; i < items; ++i) {
    chunk += "#define IDM_" + std::to_string(i) + " " + std::to_string(1000 + i) + "\r\n";
    if (chunk.size() > (1 << 16)) {
      out << chunk;
      chunk.clear();
    }
  }
  chunk += "\r\nIDR_BENCH MENUEX\r\nBEGIN\r\n";
  static const char* const Shortcuts[] = {"Ctrl+O", "Ctrl+Shift+S", "Alt+F4", "F10", "Del", "Ctrl+PgUp"};
  constexpr int PopupSize = 50;
  for (int i = 0; i < items; ++i) {
    const std::string id = std::to_string(i);
    if (i % PopupSize == 0) {
      if (i > 0)
        chunk += "  END\r\n";
      chunk += "  POPUP \"Menu " + id + "\",0,0x4000\r\n  BEGIN\r\n";
    } else if (i % 7 == 0) {
      chunk += "    MENUITEM \"\",0,0x00000800\r\n";
    } else {
      chunk += "    MENUITEM \"Item " + id + "\\t" + Shortcuts[i % 6] + "\",IDM_" + id + ",0x0,0x" +
               std::to_string(i % 9) + "\r\n";
    }
    if (chunk.size() > (1 << 16)) {
      out << chunk;
      chunk.clear();
    }
  }
  chunk += "  END\r\nEND\r\n";
  out << chunk;
}

// Best wall time of a shell command over a few runs; negative when it fails.
double TimeCommand(const std::string& command, int runs) {
  double best = -1;
  for (int run = 0; run < runs; ++run) {
    const auto start = Clock::now();
    if (std::system(command.c_str()) != 0)
      return -1;
    const double seconds = SecondsSince(start);
    best = best < 0 ? seconds : std::min(best, seconds);
  }
  return best;
}

bool OnPath(const std::string& program) {
  return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int items = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200000;
  const long startPeak = PeakResidentBytes();
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "trellane-menu-bench";
  std::filesystem::create_directories(folder);
  const std::filesystem::path scriptPath = folder / "bench.rc";
  WriteScript(scriptPath, items);

  // Read at its exact size, so that the peak holds one copy of the script.
  std::string script(std::filesystem::file_size(scriptPath), '\0');
  {
    std::ifstream in(scriptPath, std::ios::binary);
    in.read(script.data(), static_cast<std::streamsize>(script.size()));
  }
  const double scriptBytes = static_cast<double>(script.size());
  const long loadedPeak = PeakResidentBytes();

  double best = 1e9;
  double bestCpu = 1e9;
  std::size_t imageBytes = 0;
  std::size_t records = 0;
  std::size_t warnings = 0;
  for (int run = 0; run < Runs; ++run) {
    const auto start = Clock::now();
    const double startCpu = ThreadSeconds();
    const trellane::ConverterResult result = trellane::ConvertMenuScript(script);
    bestCpu = std::min(bestCpu, ThreadSeconds() - startCpu);
    best = std::min(best, SecondsSince(start));
    imageBytes = result.image.size();
    records = result.recordCount;
    warnings = result.diagnostics.size();
  }
  const long peak = PeakResidentBytes();

  std::printf("script     %s: %.1f MB, %d items\n", scriptPath.c_str(), Megabytes(scriptBytes), items);
  std::printf("convert    %.1f ms best of %d, %.0f MB/s (CPU time %.1f ms, %.0f MB/s); %zu records, %.1f MB image, "
              "%zu warnings\n",
              best * 1e3, Runs, Megabytes(scriptBytes) / best, bestCpu * 1e3, Megabytes(scriptBytes) / bestCpu, records,
              Megabytes(static_cast<double>(imageBytes)), warnings);
  const double budget = Megabytes(static_cast<double>(startPeak) + 1.1 * (scriptBytes + static_cast<double>(imageBytes)));
  std::printf("memory     peak %.1f MB (%.1f MB before the script, %.1f MB with it loaded); "
              "budget start + 1.1 x (script + image) = %.1f MB: %s\n",
              Megabytes(static_cast<double>(peak)), Megabytes(static_cast<double>(startPeak)),
              Megabytes(static_cast<double>(loadedPeak)), budget,
              Megabytes(static_cast<double>(peak)) <= budget ? "within" : "OVER");

  const std::string quoted = "'" + scriptPath.string() + "'";
  const double wc = TimeCommand("wc -l " + quoted + " >/dev/null", Runs);
  if (wc > 0)
    std::printf("wc -l      %.1f ms best of %d, %.0f MB/s; the conversion runs at %.2f of its speed\n", wc * 1e3, Runs,
                Megabytes(scriptBytes) / wc, wc / best);

  const std::string windres = "x86_64-w64-mingw32-windres";
  if (OnPath(windres)) {
    const std::string resPath = (folder / "bench.res").string();
    const double seconds = TimeCommand(windres + " -i " + quoted + " -O res -o '" + resPath + "'", 1);
    if (seconds > 0)
      std::printf("windres    %.1f ms, %.0f MB/s; the conversion is %.0f times faster\n", seconds * 1e3,
                  Megabytes(scriptBytes) / seconds, seconds / best);
    else
      std::printf("windres    failed on the script\n");
  } else {
    std::printf("windres    %s is not on the PATH\n", windres.c_str());
  }
  std::filesystem::remove_all(folder);
  return 0;
}
