#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/ConversionJob.h"
#include "app/Converters.h"
#include "metrics/FixedMetrics.h"
#include "radasm/DialogRecordFile.h"
#include "tests/TempFolder.h"

namespace trellane {
namespace {

namespace fs = std::filesystem;

const std::string Script =
    "#include <windows.h>\n"
    "#define IDR_MAIN 100\n"
    "#define IDD_ABOUT 200\n"
    "IDR_MAIN MENU\nBEGIN\n POPUP \"&File\"\n BEGIN\n  MENUITEM \"E&xit\", 1, CHECKED\n END\nEND\n"
    "LANGUAGE LANG_GERMAN, SUBLANG_GERMAN\n"
    "IDR_MAIN MENUEX\nBEGIN\n MENUITEM \"&Datei\", 2, MFT_STRING, MFS_GRAYED\nEND\n"
    "IDD_ABOUT DIALOG 0, 0, 100, 50\nSTYLE WS_POPUP | WS_CAPTION\nCAPTION \"Info\"\nMENU IDR_MAIN\n"
    "FONT 8, \"MS Shell Dlg\"\nBEGIN\n DEFPUSHBUTTON \"OK\", IDOK, 10, 10, 40, 14\nEND\n"
    "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US\n"
    "\"con\" DIALOGEX 0, 0, 100, 50\nMENU 999\nBEGIN\n LTEXT \"a\", -1, 1, 2, 3, 4\nEND\n";

class ScriptConversionTest : public TempFolderTest {
 protected:
  std::string Read(const std::string& name) const {
    std::ifstream file(folder / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  }

  ConversionContext Context() {
    ConversionContext context;
    context.metrics = &metrics;
    context.requestMenuName = [this](MenuNameSlot& slot) {
      ++requests;
      slot[0] = 'x';
    };
    return context;
  }

  FixedMetrics metrics{{8, 16}, 96, {13, 316}};
  int requests = 0;
};

// Each file holds what converting its resource alone writes; a dialog whose
// MENU names a menu of the script gets that menu's file name unasked.
TEST_F(ScriptConversionTest, EveryResourceIsWrittenAsItsOwnConversionWritesIt) {
  WriteFile("app.rc", Script);
  const std::unique_ptr<FileService> files = MakePlatformFileService();
  const ScriptConversionReport report =
      RunScriptConversion(PathOf("app.rc"), folder.string(), Context(), ProgramConverters(), *files);
  ASSERT_TRUE(report.AllWritten());
  std::vector<std::string> written;
  for (const WrittenFile& file : report.files)
    written.push_back(fs::path(file.path).filename().string());
  EXPECT_EQ(written, (std::vector<std::string>{"IDR_MAIN.mnu", "IDR_MAIN-0407.mnu", "IDD_ABOUT.dlg", "con_.dlg"}));
  EXPECT_EQ(requests, 1);  // only for the menu 999, which the script does not hold

  struct Single {
    std::string file;
    std::string resource;
    bool isMenu;
  };
  for (const Single& single : {Single{"IDR_MAIN.mnu", "IDR_MAIN", true}, Single{"IDD_ABOUT.dlg", "200", false},
                               Single{"con_.dlg", "CON", false}}) {
    ConversionContext context = Context();
    context.resourceName = single.resource;
    const ConverterResult alone =
        single.isMenu ? ConvertMenuScript(Script, context) : ConvertDialogScript(Script, context);
    ASSERT_FALSE(alone.image.empty()) << single.file;
    if (single.file == "IDD_ABOUT.dlg") {
      EXPECT_EQ(LoadText(alone.image, DialogHeader::menuName, 32), "x");
      const std::string bytes = Read(single.file);
      // The dialog is German, as is the second IDR_MAIN.
      EXPECT_EQ(LoadText(Image(bytes.begin(), bytes.end()), DialogHeader::menuName, 32), "IDR_MAIN-0407.mnu");
      continue;
    }
    EXPECT_EQ(Read(single.file), std::string(alone.image.begin(), alone.image.end())) << single.file;
  }
}

TEST_F(ScriptConversionTest, FileThatCannotBeWrittenLeavesTheOthersWritten) {
  WriteFile("app.rc", Script);
  fs::create_directory(folder / "IDD_ABOUT.dlg");
  const std::unique_ptr<FileService> files = MakePlatformFileService();
  const ScriptConversionReport report =
      RunScriptConversion(PathOf("app.rc"), folder.string(), Context(), ProgramConverters(), *files);
  EXPECT_FALSE(report.AllWritten());
  ASSERT_EQ(report.files.size(), 4u);
  EXPECT_NE(report.files[2].outcome, ConversionOutcome::Written);
  EXPECT_EQ(report.files[3].outcome, ConversionOutcome::Written);
  EXPECT_TRUE(fs::is_regular_file(folder / "IDR_MAIN.mnu"));
  EXPECT_TRUE(fs::is_directory(folder / "IDD_ABOUT.dlg"));
}

// The output folder is made, with the folders above it, when the first file
// is ready: a script that fails leaves no folder behind, and a file in the
// folder's place fails every resource with the reason.
TEST_F(ScriptConversionTest, MissingOutputFolderIsMadeOnlyForFilesToWrite) {
  WriteFile("app.rc", Script);
  WriteFile("broken.rc", "1 DIALOGEX 0, 0, 10, 10\nBEGIN\n CONTROL \"unclosed\nEND\n");
  WriteFile("plain-file", "");
  const std::unique_ptr<FileService> files = MakePlatformFileService();

  const fs::path made = folder / "out" / "deeper";
  const ScriptConversionReport written =
      RunScriptConversion(PathOf("app.rc"), made.string(), Context(), ProgramConverters(), *files);
  EXPECT_TRUE(written.AllWritten());
  EXPECT_TRUE(fs::is_regular_file(made / "IDD_ABOUT.dlg"));

  const fs::path unmade = folder / "never";
  const ScriptConversionReport failed =
      RunScriptConversion(PathOf("broken.rc"), unmade.string(), Context(), ProgramConverters(), *files);
  EXPECT_EQ(failed.outcome, ConversionOutcome::ScriptInvalid);
  EXPECT_FALSE(fs::exists(unmade));

  const ScriptConversionReport blocked =
      RunScriptConversion(PathOf("app.rc"), PathOf("plain-file"), Context(), ProgramConverters(), *files);
  ASSERT_EQ(blocked.files.size(), 4u);
  for (const WrittenFile& file : blocked.files) {
    EXPECT_EQ(file.outcome, ConversionOutcome::OutputNotWritable) << file.path;
    EXPECT_NE(file.detail.find("cannot make the folder"), std::string::npos) << file.detail;
  }
}

TEST(ResourceFileNames, AreSafeOnEveryFileSystemAndNeverAlike) {
  ResourceScript resources;
  const auto add = [&](NameOrOrdinal name, std::uint16_t language, bool isMenu) {
    if (isMenu) {
      Menu menu;
      menu.name = std::move(name);
      menu.language.primary = language;
      resources.order.push_back({ResourceKind::Menu, resources.menus.size()});
      resources.menus.push_back(std::move(menu));
    } else {
      Dialog dialog;
      dialog.name = std::move(name);
      dialog.language.primary = language;
      resources.order.push_back({ResourceKind::Dialog, resources.dialogs.size()});
      resources.dialogs.push_back(std::move(dialog));
    }
  };
  const auto text = [](std::string_view value) { return NameOrOrdinal::Name(value); };
  add(NameOrOrdinal::Ordinal(101), 9, false);
  add(text("Main Menu/1"), 9, true);
  add(text("main menu:1"), 9, true);
  add(text("main menu?1"), 9, true);
  add(text("LPT1"), 9, false);
  add(text("..hidden."), 9, false);
  add(text("Über"), 9, false);
  add(NameOrOrdinal::Ordinal(101), 7, false);
  EXPECT_EQ(ResourceFileNames(resources),
            (std::vector<std::string>{"101.dlg", "Main_Menu_1.mnu", "main_menu_1-0009.mnu", "main_menu_1-0009-2.mnu",
                                      "LPT1_.dlg", "_..hidden.dlg", "__ber.dlg", "101-0007.dlg"}));
}

}  // namespace
}  // namespace trellane
