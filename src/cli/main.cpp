// trellane: converts the MENUEX menu or the DIALOGEX dialog of a resource
// script into a RadASM menu or dialog record file.
#include <CLI/CLI.hpp>
#include <exception>
#include <iostream>
#include <string>

#include "cli/CommandLine.h"

namespace {

constexpr const char* Examples =
    "Examples:\n"
    "  trellane menu app.rc                 writes menu.mnu beside app.rc\n"
    "  trellane dialog app.rc -o main.dlg   writes main.dlg\n"
    "  trellane dump menu.mnu               prints the records of a file\n";

void AddConvertCommand(CLI::App& app, const char* name, const char* description, trellane::ConvertOptions& options) {
  CLI::App* command = app.add_subcommand(name, description);
  command->add_option("SCRIPT", options.scriptPath, "the resource script (.rc)")->required();
  command->add_option("-o,--output", options.outputPath, "the file to write (default: beside the script)");
}

int Run(int argc, char** argv) {
  CLI::App app{"Converts a resource script's MENUEX menu or DIALOGEX dialog into a RadASM record file.", "trellane"};
  app.footer(Examples);
  app.require_subcommand(1);

  trellane::ConvertOptions menu;
  menu.mode = trellane::ConversionMode::Menu;
  AddConvertCommand(app, "menu", "convert the MENUEX menu into a .mnu file", menu);

  trellane::ConvertOptions dialog;
  dialog.mode = trellane::ConversionMode::Dialog;
  AddConvertCommand(app, "dialog", "convert the DIALOGEX dialog into a .dlg file", dialog);
  CLI::App* dialogCommand = app.get_subcommand("dialog");
  dialogCommand->add_option("--menu-name", dialog.menuName,
                            "the RadASM menu file the dialog names (at most 31 characters)");
  dialogCommand->add_option("--dpi", dialog.dotsPerInch, "pixels per inch of the display (default 96)")
      ->check(CLI::Range(1, 10000));
  dialogCommand->add_option("--base-units", dialog.baseUnits, "force the dialog base units X,Y; measure nothing")
      ->delimiter(',')
      ->check(CLI::PositiveNumber);

  std::string dumpPath;
  CLI::App* dump = app.add_subcommand("dump", "print the records of a .mnu or .dlg file");
  dump->add_option("FILE", dumpPath, "the record file")->required();

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::cout << app.help();
    return 0;
  } catch (const CLI::ParseError& error) {
    std::cerr << "trellane: error: " << error.what() << "\n"
              << "usage: trellane {menu|dialog} SCRIPT [-o OUT] | trellane dump FILE  (see --help)\n";
    return 2;
  }

  if (app.got_subcommand("menu"))
    return trellane::RunConvertCommand(menu, std::cout, std::cerr);
  if (app.got_subcommand("dialog"))
    return trellane::RunConvertCommand(dialog, std::cout, std::cerr);
  return trellane::RunDumpCommand(dumpPath, std::cout, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& error) {
    std::cerr << "trellane: error: " << error.what() << '\n';
    return 1;
  }
}
