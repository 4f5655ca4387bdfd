// The MinGW-w64 headers: a typical script that includes <windows.h>,
// <commctrl.h> and <richedit.h> read from the MinGW-w64 include folder. It
// reads the script in this process (the front end alone), then runs
// `trellane convert` on it and the MinGW-w64 gcc's preprocessor,
// `x86_64-w64-mingw32-gcc -E -DRC_INVOKED`, the part of windres that reads
// the headers, and prints each one's median and best wall time.
//
//   MingwHeaderBench [--headers FOLDER] [--runs N] [--trellane PATH]
//   MingwHeaderBench --write-script PATH   writes the script and stops
//
// Without the include folder (default /usr/share/mingw-w64/include) it says so
// and stops with status 0; without the gcc it times trellane alone.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "app/IncludeFiles.h"
#include "script/ScriptReader.h"

namespace {

using namespace trellane;
using namespace trellane::bench;

const std::string MingwGcc = "x86_64-w64-mingw32-gcc";

// What Visual Studio writes for a small application: the SDK's headers, the
// program's own IDs, a menu and two dialogs with common controls.
constexpr const char* Script = R"(// A typical application script.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#define IDR_MAINMENU 100
#define IDD_MAIN 101
#define IDD_ABOUT 102
#define IDC_LIST 1001
#define IDC_EDIT 1002
#define IDC_TREE 1003
#define IDC_PROGRESS 1004
#define IDM_FILE_OPEN 40001
#define IDM_FILE_SAVE 40002
#define IDM_FILE_EXIT 40003
#define IDM_HELP_ABOUT 40004

LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US

IDR_MAINMENU MENU
BEGIN
    POPUP "&File"
    BEGIN
        MENUITEM "&Open...\tCtrl+O", IDM_FILE_OPEN
        MENUITEM "&Save\tCtrl+S", IDM_FILE_SAVE, GRAYED
        MENUITEM SEPARATOR
        MENUITEM "E&xit", IDM_FILE_EXIT
    END
    POPUP "&Help"
    BEGIN
        MENUITEM "&About...", IDM_HELP_ABOUT
    END
END

IDD_MAIN DIALOGEX 0, 0, 320, 200
STYLE DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME
EXSTYLE WS_EX_APPWINDOW
CAPTION "Main"
MENU IDR_MAINMENU
FONT 9, "Segoe UI", 400, 0, 0x1
BEGIN
    CONTROL "", IDC_LIST, WC_LISTVIEW, LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL | WS_BORDER | WS_TABSTOP, 7, 7, 150, 120
    CONTROL "", IDC_TREE, WC_TREEVIEW, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | WS_BORDER | WS_TABSTOP, 163, 7, 150, 120
    CONTROL "", IDC_EDIT, MSFTEDIT_CLASS, ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 7, 133, 306, 40
    CONTROL "", IDC_PROGRESS, PROGRESS_CLASS, PBS_SMOOTH | WS_BORDER, 7, 178, 200, 12
    DEFPUSHBUTTON "OK", IDOK, 209, 178, 50, 14
    PUSHBUTTON "Cancel", IDCANCEL, 263, 178, 50, 14
END

IDD_ABOUT DIALOGEX 0, 0, 200, 80
STYLE DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU
CAPTION "About"
FONT 9, "Segoe UI"
BEGIN
    ICON IDI_APPLICATION, IDC_STATIC, 7, 7, 20, 20
    LTEXT "Application 1.0", IDC_STATIC, 40, 10, 150, 8, SS_NOPREFIX
    DEFPUSHBUTTON "OK", IDOK, 143, 59, 50, 14
END
)";

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct Timing {
  double median = 0;
  double best = 0;
  double medianCpu = 0;
  int exitCode = 0;  // of the first run that failed, 0 when none did
};

Timing TimeProgram(const std::vector<std::string>& arguments, const std::string& errors, int runs) {
  std::vector<double> wall;
  std::vector<double> cpu;
  Timing timing;
  for (int run = 0; run < runs; ++run) {
    const ChildRun child = RunChild(arguments, "/dev/null", errors);
    if (!child.exited || child.exitCode != 0) {
      timing.exitCode = child.exited ? child.exitCode : -1;
      return timing;
    }
    wall.push_back(child.wallSeconds);
    cpu.push_back(child.cpuSeconds);
  }
  timing.median = Median(wall);
  timing.best = *std::min_element(wall.begin(), wall.end());
  timing.medianCpu = Median(cpu);
  return timing;
}

void PrintTiming(const char* name, const Timing& timing, int runs) {
  if (timing.exitCode != 0)
    std::printf("  %-26s failed (exit %d)\n", name, timing.exitCode);
  else
    std::printf("  %-26s median %6.1f ms, best %6.1f ms of %d (wall); median CPU %6.1f ms\n", name, timing.median * 1e3,
                timing.best * 1e3, runs, timing.medianCpu * 1e3);
}

}  // namespace

int main(int argc, char** argv) {
  if (const std::optional<std::string> path = OptionValue(argc, argv, "--write-script")) {
    std::ofstream(*path, std::ios::binary) << Script;
    return 0;
  }
  const std::string headers = OptionValue(argc, argv, "--headers").value_or("/usr/share/mingw-w64/include");
  const int runs = std::max(1, std::atoi(OptionValue(argc, argv, "--runs").value_or("11").c_str()));
  if (!std::filesystem::exists(std::filesystem::path(headers) / "windows.h")) {
    std::printf("skipped: no MinGW-w64 headers in %s (--headers FOLDER names another folder)\n", headers.c_str());
    return 0;
  }
  const std::string trellane = TrellanePath(argc, argv);

  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "trellane-mingw-header-bench";
  std::filesystem::create_directories(folder);
  const std::string script = (folder / "app.rc").string();
  std::ofstream(script, std::ios::binary) << Script;

  // The front end in this process: decoding, preprocessing and parsing.
  PreprocessorOptions options;
  options.includeFolders.push_back(headers);
  std::vector<double> cpu;
  double bestWall = 1e9;
  ScriptReading reading;
  for (int run = 0; run < runs; ++run) {
    FileIncludeReader includes;
    const double wall = WallSeconds();
    const double thread = ThreadSeconds();
    reading = ReadResourceScript(script, Script, options, includes);
    cpu.push_back(ThreadSeconds() - thread);
    bestWall = std::min(bestWall, WallSeconds() - wall);
  }
  const std::size_t bytes = reading.files.TextBytes();
  std::printf("script  %s: %zu files read, %.2f MB of text%s\n", script.c_str(), reading.files.Size(),
              Megabytes(static_cast<double>(bytes)), reading.ok ? "" : "  FAILED");
  std::printf("  %-26s median %6.2f ms, best %6.2f ms of %d (thread CPU); best wall %6.2f ms\n", "front end",
              Median(cpu) * 1e3, *std::min_element(cpu.begin(), cpu.end()) * 1e3, runs, bestWall * 1e3);

  const std::string errors = (folder / "errors.txt").string();
  const std::string output = (folder / "out").string();
  int status = reading.ok ? 0 : 1;
  Timing converted;
  if (std::filesystem::exists(trellane)) {
    converted = TimeProgram({trellane, "convert", script, "-o", output, "-I", headers}, errors, runs);
    PrintTiming("trellane convert", converted, runs);
    if (converted.exitCode != 0)
      status = 1;
  } else {
    std::printf("  %-26s %s not found; build it or give --trellane PATH\n", "trellane convert", trellane.c_str());
  }
  if (OnPath(MingwGcc)) {
    const std::string preprocessed = (folder / "app.i").string();
    const Timing gcc = TimeProgram(
        {MingwGcc, "-E", "-DRC_INVOKED", "-I" + headers, "-x", "c", script, "-o", preprocessed}, errors, runs);
    PrintTiming((MingwGcc + " -E").c_str(), gcc, runs);
    if (gcc.exitCode == 0 && converted.exitCode == 0 && converted.median > 0)
      std::printf("  trellane takes %.2f of the preprocessor's median wall time (the goal: at most 0.5)\n",
                  converted.median / gcc.median);
  } else {
    std::printf("  %-26s not installed\n", MingwGcc.c_str());
  }
  std::filesystem::remove_all(folder);
  return status;
}
