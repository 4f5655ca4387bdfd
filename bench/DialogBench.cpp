// Dialog conversion speed and memory on a generated script of 100,000
// controls with as many #define lines, beside `wc -l` and windres reading the
// same file. Counters: bytes_per_second (throughput), extra_heap_MB (peak heap
// during one conversion beyond what was allocated before it) against image_MB,
// and ratio_to_convert (how many times longer than a conversion a tool takes).
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>

#include "dialog/DialogConverter.h"
#include "dialog/FixedMetrics.h"

namespace {

std::atomic<std::size_t> LiveHeapBytes{0};
std::atomic<std::size_t> PeakHeapBytes{0};

void CountAllocation(std::size_t size) {
  const std::size_t live = LiveHeapBytes.fetch_add(size) + size;
  std::size_t peak = PeakHeapBytes.load();
  while (live > peak && !PeakHeapBytes.compare_exchange_weak(peak, live)) {
  }
}

}  // namespace

// Every allocation carries its size in front, so the heap can be measured.
void* operator new(std::size_t size) {
  auto* block = static_cast<std::size_t*>(std::malloc(size + sizeof(std::max_align_t)));
  if (!block)
    throw std::bad_alloc();
  *block = size;
  CountAllocation(size);
  return reinterpret_cast<char*>(block) + sizeof(std::max_align_t);
}

void operator delete(void* pointer) noexcept {
  if (!pointer)
    return;
  char* block = static_cast<char*>(pointer) - sizeof(std::max_align_t);
  LiveHeapBytes.fetch_sub(*reinterpret_cast<std::size_t*>(block));
  std::free(block);
}

void operator delete(void* pointer, std::size_t) noexcept {
  operator delete(pointer);
}

namespace {

constexpr int ControlCount = 100000;

struct GeneratedScript {
  std::string text;
  std::string path;
};

const GeneratedScript& Script() {
  static const GeneratedScript script = [] {
    GeneratedScript generated;
    std::string& text = generated.text;
    text.reserve(static_cast<std::size_t>(ControlCount) * 110);
    text += "#define IDD_MAIN 100\r\n";
    for (int i = 0; i < ControlCount; ++i)
      text += "#define IDC_CTL" + std::to_string(i) + " " + std::to_string(1000 + i) + "\r\n";
    text += "IDD_MAIN DIALOGEX 0, 0, 400, 300\r\nSTYLE 0x10CC0000\r\nCAPTION \"Bench\"\r\n"
            "FONT 8, \"MS Sans Serif\", 400, 0, 0x1\r\nBEGIN\r\n";
    for (int i = 0; i < ControlCount; ++i) {
      text += "  CONTROL \"Item " + std::to_string(i) + "\", IDC_CTL" + std::to_string(i) +
              (i % 2 ? ", \"Button\", 0x50010003, " : ", \"Edit\", 0x50010080, ") + std::to_string(i % 300) + ", " +
              std::to_string(i % 200) + ", 60, 12, 0x00000200\r\n";
    }
    text += "END\r\n";
    generated.path = (std::filesystem::temp_directory_path() / "trellane-dialog-bench.rc").string();
    std::ofstream(generated.path, std::ios::binary) << text;
    return generated;
  }();
  return script;
}

double BestConvertSeconds = 0;

void ConvertDialog(benchmark::State& state) {
  const GeneratedScript& script = Script();
  trellane::FixedMetrics metrics({8, 16}, 96, {13, 316});
  std::size_t imageBytes = 0;
  std::size_t extraHeap = 0;
  for (auto iteration : state) {
    const std::size_t before = LiveHeapBytes.load();
    PeakHeapBytes.store(before);
    const auto start = std::chrono::steady_clock::now();
    trellane::ConverterResult result = trellane::ConvertDialogScript(script.text, metrics, {});
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
    if (BestConvertSeconds == 0 || seconds < BestConvertSeconds)
      BestConvertSeconds = seconds;
    imageBytes = result.image.size();
    extraHeap = PeakHeapBytes.load() - before;
    if (result.recordCount != ControlCount)
      state.SkipWithError("wrong number of controls");
    benchmark::DoNotOptimize(result);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * script.text.size()));
  state.counters["script_MB"] = static_cast<double>(script.text.size()) / 1e6;
  state.counters["image_MB"] = static_cast<double>(imageBytes) / 1e6;
  state.counters["extra_heap_MB"] = static_cast<double>(extraHeap) / 1e6;
}
BENCHMARK(ConvertDialog)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// Runs a shell command on the script file and times it.
void RunTool(benchmark::State& state, const std::string& command) {
  const GeneratedScript& script = Script();
  double best = 0;
  for (auto iteration : state) {
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
    if (best == 0 || seconds < best)
      best = seconds;
    if (status != 0)
      state.SkipWithError(("failed: " + command).c_str());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * script.text.size()));
  if (BestConvertSeconds > 0)
    state.counters["ratio_to_convert"] = best / BestConvertSeconds;
}

void WcLines(benchmark::State& state) {
  RunTool(state, "wc -l < '" + Script().path + "' > /dev/null");
}
BENCHMARK(WcLines)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void Windres(benchmark::State& state) {
  if (std::system("command -v x86_64-w64-mingw32-windres > /dev/null 2>&1") != 0) {
    state.SkipWithError("x86_64-w64-mingw32-windres is not installed");
    for (auto iteration : state) {
    }
    return;
  }
  const std::string output = Script().path + ".res";
  RunTool(state, "x86_64-w64-mingw32-windres -i '" + Script().path + "' -O coff -o '" + output + "'");
  std::remove(output.c_str());
}
BENCHMARK(Windres)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
