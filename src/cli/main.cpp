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
    "  trellane dump menu.mnu               prints the records of a file\n"
    "  trellane list app.rc -I include      lists the menus and dialogs of a script\n"
    "  trellane convert app.rc -o out       writes every menu and dialog into out/\n"
    "  trellane dialog app.rc --resource IDD_ABOUT -D _DEBUG\n";

// The options of every command that reads a script.
void AddScriptOptions(CLI::App& command, trellane::ScriptOptions& options) {
  command.add_option("SCRIPT", options.scriptPath, "the resource script (.rc)")->required();
  command.add_option("-I,--include", options.includeFolders, "a folder #include searches, after the script's own");
  command.add_option("-D,--define", options.defines, "define a macro: NAME or NAME=VALUE");
  command.add_option("--code-page", options.codePage, "the code page of a script without a byte-order mark (1252)")
      ->check(CLI::IsMember(
          {437, 850, 874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 65001}));
}

// The options of the commands that write dialogs.
void AddDialogOptions(CLI::App& command, trellane::ConvertOptions& options) {
  command.add_option("--menu-name", options.menuName, "the RadASM menu file the dialog names (at most 31 characters)");
  command.add_option("--dpi", options.dotsPerInch, "pixels per inch of the display (default 96)")
      ->check(CLI::Range(1, 10000));
  command.add_option("--base-units", options.baseUnits, "force the dialog base units X,Y; measure nothing")
      ->delimiter(',')
      ->check(CLI::PositiveNumber);
}

void AddConvertCommand(CLI::App& app, const char* name, const char* description, trellane::ConvertOptions& options) {
  CLI::App* command = app.add_subcommand(name, description);
  AddScriptOptions(*command, options.script);
  command->add_option("-o,--output", options.outputPath, "the file to write (default: beside the script)");
  command->add_option("--resource", options.script.resource, "the name or number of the resource to convert");
  command
      ->add_option("--output-code-page", options.script.outputCodePage,
                   "the code page of the texts in the file written (default: the resource's LANGUAGE's)")
      ->check(CLI::IsMember({437, 850, 874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258}));
}

// trellane preview FILE -o OUT.svg|OUT.png: the picture of a record file or of a script's dialog or menu.
void AddPreviewCommand(CLI::App& app, trellane::PreviewOptions& options) {
  CLI::App* command = app.add_subcommand("preview", "draw a .dlg or .mnu file, or a script's dialog or menu");
  trellane::ConvertOptions& convert = options.convert;
  command->add_option("FILE", convert.script.scriptPath, "a .dlg or .mnu file, or a resource script")->required();
  command->add_option("-o,--output", convert.outputPath, "the picture to write: .svg, or .png")->required();
  command->add_option("--resource", convert.script.resource, "the name or number of the script's dialog or menu");
  CLI::Option* menu = command->add_flag("--menu", options.menu, "draw the script's menu, not its dialog");
  command->add_flag("--dialog", options.dialog, "draw the script's dialog only")->excludes(menu);
  command->add_option("-I,--include", convert.script.includeFolders, "a folder #include searches");
  command->add_option("-D,--define", convert.script.defines, "define a macro: NAME or NAME=VALUE");
  command->add_option("--code-page", convert.script.codePage, "the code page of a script without a byte-order mark")
      ->check(CLI::IsMember(
          {437, 850, 874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 65001}));
  command
      ->add_option("--output-code-page", convert.script.outputCodePage,
                   "the code page of the records' texts (default: the resource's LANGUAGE's)")
      ->check(CLI::IsMember({437, 850, 874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258}));
  command->add_option("--menu-name", convert.menuName, "the RadASM menu file the dialog names");
  command->add_option("--dpi", convert.dotsPerInch, "pixels per inch of the display (default 96)")
      ->check(CLI::Range(1, 10000));
  command->add_option("--base-units", convert.baseUnits, "force the dialog base units X,Y; measure nothing")
      ->delimiter(',')
      ->check(CLI::PositiveNumber);
}

int Run(int argc, char** argv) {
  CLI::App app{"Converts the menus and dialogs of a resource script into RadASM record files.", "trellane"};
  app.footer(Examples);
  app.require_subcommand(1);

  trellane::ConvertOptions menu;
  menu.mode = trellane::ConversionMode::Menu;
  AddConvertCommand(app, "menu", "convert a MENU or MENUEX menu into a .mnu file", menu);

  trellane::ConvertOptions dialog;
  dialog.mode = trellane::ConversionMode::Dialog;
  AddConvertCommand(app, "dialog", "convert a DIALOG or DIALOGEX dialog into a .dlg file", dialog);
  AddDialogOptions(*app.get_subcommand("dialog"), dialog);

  trellane::ConvertOptions all;
  CLI::App* convertAll =
      app.add_subcommand("convert", "convert every menu and dialog into files named after them, one each");
  AddScriptOptions(*convertAll, all.script);
  convertAll->add_option("-o,--output", all.outputPath,
                         "the folder to write into, made if missing (default: the script's)");
  bool everyResource = true;
  convertAll->add_flag("--all", everyResource, "convert every resource (what convert always does)");
  convertAll
      ->add_option("--output-code-page", all.script.outputCodePage,
                   "the code page of the texts in the files written (default: each resource's LANGUAGE's)")
      ->check(CLI::IsMember({437, 850, 874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258}));
  AddDialogOptions(*convertAll, all);

  trellane::ScriptOptions listed;
  CLI::App* list = app.add_subcommand("list", "print every menu and dialog of a script");
  AddScriptOptions(*list, listed);

  std::string dumpPath;
  bool dumpModel = false;
  trellane::ScriptOptions modelScript;
  CLI::App* dump = app.add_subcommand("dump", "print the records of a .mnu or .dlg file, or --model of a script");
  dump->add_option("FILE", dumpPath, "the record file, or with --model the script")->required();
  dump->add_flag("--model", dumpModel, "print the menus and dialogs a script reads into");
  dump->add_option("-I,--include", modelScript.includeFolders, "with --model: a folder #include searches");
  dump->add_option("-D,--define", modelScript.defines, "with --model: define a macro: NAME or NAME=VALUE");
  dump->add_option("--code-page", modelScript.codePage, "with --model: the code page of a script without a mark");

  // JSON output of list and dump (shapes in docs/*.schema.json).
  bool listJson = false;
  list->add_flag("--json", listJson, "print JSON: kind, name, id, symbol, language, file, line, count");
  bool dumpJson = false;
  dump->add_flag("--json", dumpJson, "print every field as JSON; --code-page N: the texts' code page (1252)")
      ->excludes("--model");

  app.set_version_flag("--version", "trellane " TRELLANE_VERSION, "print the version and exit");

  trellane::PreviewOptions preview;
  AddPreviewCommand(app, preview);

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForVersion& version) {
    std::cout << version.what() << '\n';
    return 0;
  } catch (const CLI::CallForHelp&) {
    std::cout << app.help();
    return 0;
  } catch (const CLI::ParseError& error) {
    std::cerr
        << "trellane: error: " << error.what() << "\n"
        << "usage: trellane {menu|dialog} SCRIPT [-o OUT] | trellane convert SCRIPT [-o DIR] | trellane list SCRIPT | "
           "trellane dump FILE  (see --help)\n";
    return 2;
  }

  if (listJson)
    return trellane::RunJsonListCommand(listed, std::cout, std::cerr);
  if (dumpJson)
    return trellane::RunJsonDumpCommand(dumpPath, modelScript.codePage, std::cout, std::cerr);

  if (app.got_subcommand("menu"))
    return trellane::RunConvertCommand(menu, std::cout, std::cerr);
  if (app.got_subcommand("dialog"))
    return trellane::RunConvertCommand(dialog, std::cout, std::cerr);
  if (app.got_subcommand("convert"))
    return trellane::RunConvertAllCommand(all, std::cout, std::cerr);
  if (app.got_subcommand("preview"))
    return trellane::RunPreviewCommand(preview, std::cout, std::cerr);
  if (app.got_subcommand("list"))
    return trellane::RunListCommand(listed, std::cout, std::cerr);
  if (dumpModel) {
    modelScript.scriptPath = dumpPath;
    return trellane::RunModelDumpCommand(modelScript, std::cout, std::cerr);
  }
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
