// Every kind of bad input gives a clear message, a non-zero exit code where
// nothing was written, the window's reason, and never a lost or half-written
// file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <system_error>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "app/ConversionJob.h"
#include "app/Converters.h"
#include "cli/CommandLine.h"
#include "metrics/FixedMetrics.h"
#include "tests/TempFolder.h"

namespace trellane {
namespace {

namespace fs = std::filesystem;

enum class Expect { Written, Untouched };

struct Row {
  const char* name;
  std::function<void(const fs::path& script)> makeScript;
  ConversionOutcome outcome;
  const char* message;  // on stderr: an error for failures, a warning otherwise
  std::string output = "menu.mnu";
  ConversionMode mode = ConversionMode::Menu;
};

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::function<void(const fs::path&)> Bytes(std::string bytes) {
  return [bytes](const fs::path& script) { WriteBytes(script, bytes); };
}

std::string Garbage() {
  std::mt19937 random(7);
  std::string bytes(4096, '\0');
  for (char& c : bytes)
    c = static_cast<char>(random());
  return bytes;
}

const std::string MenuHead = "#define IDR_MENU 600\r\nIDR_MENU MENUEX\r\nBEGIN\r\n";

class BadInputMatrix : public TempFolderTest {
 protected:
  void Check(const Row& row) {
    SCOPED_TRACE(row.name);
    const fs::path script = folder / "script.rc";
    std::error_code ignored;
    fs::remove_all(script, ignored);
    row.makeScript(script);
    const fs::path output = folder / row.output;
    const bool outputFolderExists = fs::is_directory(output.parent_path());
    if (outputFolderExists && output != script)
      WriteBytes(output, "old output");
    const std::string scriptBefore =
        fs::is_regular_file(script) && fs::file_size(script) < (1u << 20) ? ReadBytes(script) : std::string();

    FixedMetrics metrics({8, 16}, 96, {13, 316});
    ConversionContext context;
    context.metrics = &metrics;
    context.requestMenuName = [](MenuNameSlot&) {};
    const std::unique_ptr<FileService> files = MakePlatformFileService();
    const ConversionReport report =
        RunConversion({script.string(), output.string(), row.mode}, context, ProgramConverters(), *files);
    EXPECT_EQ(report.outcome, row.outcome);
    const bool written = row.outcome == ConversionOutcome::Written;
    EXPECT_EQ(StatusText(report.outcome, row.mode) == "Surgery is over!", written);

    if (outputFolderExists && output != script)
      WriteBytes(output, "old output");
    ConvertOptions options;
    options.mode = row.mode;
    options.script.scriptPath = script.string();
    options.outputPath = output.string();
    options.menuName = "";
    options.baseUnits = std::make_pair(6, 13);
    std::ostringstream out;
    std::ostringstream err;
    const int exitCode = RunConvertCommand(options, out, err);
    EXPECT_EQ(exitCode == 0, written);
    EXPECT_NE(err.str().find(row.message), std::string::npos) << err.str();
    if (written) {
      EXPECT_NE(out.str().find("wrote "), std::string::npos);
      EXPECT_NE(ReadBytes(output), "old output");
    } else {
      EXPECT_NE(err.str().find("trellane: error: "), std::string::npos) << err.str();
      EXPECT_TRUE(out.str().empty());
      if (outputFolderExists && output != script) {
        EXPECT_EQ(ReadBytes(output), "old output");
      }
      if (!outputFolderExists) {
        EXPECT_FALSE(fs::exists(output));
      }
    }
    if (!scriptBefore.empty()) {
      EXPECT_EQ(ReadBytes(script), scriptBefore);
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
      EXPECT_EQ(entry.path().filename().string().rfind(".trellane", 0), std::string::npos) << "temporary file left";
  }
};

TEST_F(BadInputMatrix, BrokenScriptsAreConvertedOrRefusedClearly) {
  const Row rows[] = {
      {"empty file", Bytes(""), ConversionOutcome::KeywordMissing, "no MENU or MENUEX resource found"},
      {"one byte", Bytes("M"), ConversionOutcome::ScriptInvalid, "expected the type of resource 'M'"},
      {"binary garbage", Bytes(Garbage()), ConversionOutcome::ScriptInvalid, "error:"},
      {"dialog asked of a menu script", Bytes(MenuHead + "END\r\n"), ConversionOutcome::KeywordMissing,
       "no DIALOG or DIALOGEX resource found", "dialog.dlg", ConversionMode::Dialog},
      {"zero byte inside a caption", Bytes(MenuHead + std::string(" MENUITEM \"a\0b\",1\r\nEND\r\n", 22)),
       ConversionOutcome::Written, ""},
      {"no line ends at all", Bytes("IDR MENUEX BEGIN MENUITEM \"a\",1 END"), ConversionOutcome::Written,
       "IDR is no number"},
      {"CR-only line ends", Bytes("#define IDR 1\rIDR MENUEX\rBEGIN\r MENUITEM \"a\",1\rEND\r"),
       ConversionOutcome::Written, ""},
      {"unterminated quote", Bytes(MenuHead + " MENUITEM \"abc,1\r\nEND\r\n"), ConversionOutcome::ScriptInvalid,
       "script.rc:4:11: error: unclosed string"},
      {"BEGIN without END", Bytes(MenuHead + " POPUP \"a\"\r\n BEGIN\r\n  MENUITEM \"b\",1\r\n"),
       ConversionOutcome::Written, "warning"},
      {"keyword at the very end", Bytes("IDR MENUEX"), ConversionOutcome::Written, "has no BEGIN"},
      {"10,000-character line", Bytes(MenuHead + " MENUITEM \"" + std::string(10000, 'x') + "\",1\r\nEND\r\n"),
       ConversionOutcome::Written, "cut"},
      {"name far over its slot",
       Bytes("#define " + std::string(300, 'N') + " 5\r\n" + MenuHead + " MENUITEM \"a\"," + std::string(300, 'N') +
             "\r\nEND\r\n"),
       ConversionOutcome::Written, "cut"},
      {"define loop",
       Bytes("#define IDM_A IDM_B\r\n#define IDM_B IDM_A\r\n" + MenuHead + " MENUITEM \"a\",IDM_A\r\nEND\r\n"),
       ConversionOutcome::Written, "IDM_A has no #define"},
      {"self-referencing macro", Bytes("#define X (X + 1)\r\n" + MenuHead + " MENUITEM \"a\",X\r\nEND\r\n"),
       ConversionOutcome::Written, "X has no #define"},
      {"dialog with every field broken",
       Bytes("IDD DIALOGEX 1,2\r\nSTYLE WS_CHILD\r\nFONT\r\nBEGIN\r\n CONTROL \"x\r\n CONTROL\r\nEND\r\n"),
       ConversionOutcome::ScriptInvalid, "error: expected ','", "dialog.dlg", ConversionMode::Dialog},
      {"UTF-16 with an odd byte count",
       Bytes(std::string("\xFF\xFE"
                         "1\0 \0M\0E\0N\0U\0E\0X\0\n",
                         19)),
       ConversionOutcome::ScriptInvalid, "odd number of bytes"},
      {"invalid UTF-8", Bytes("#pragma code_page(65001)\r\n" + MenuHead + " MENUITEM \"\xC3\x28\xFF\",1\r\nEND\r\n"),
       ConversionOutcome::Written, "U+FFFD"},
      {"a byte-order mark and nothing after it", Bytes("\xEF\xBB\xBF"), ConversionOutcome::KeywordMissing,
       "no MENU or MENUEX resource found"},
      {"a UTF-16 mark and nothing after it", Bytes("\xFF\xFE"), ConversionOutcome::KeywordMissing,
       "no MENU or MENUEX resource found"},
      {"include of a missing file", Bytes("#include \"absent.h\"\r\n" + MenuHead + "END\r\n"),
       ConversionOutcome::ScriptInvalid, "script.rc:1:1: error: cannot find include file 'absent.h'"},
      {"include of a folder",
       [](const fs::path& script) {
         fs::create_directory(script.parent_path() / "folder.h");
         WriteBytes(script, "#include \"folder.h\"\r\n" + MenuHead + "END\r\n");
       },
       ConversionOutcome::ScriptInvalid, "is a folder"},
      {"include cycle",
       [](const fs::path& script) {
         WriteBytes(script.parent_path() / "a.rc", "#include \"b.rc\"\r\n");
         WriteBytes(script.parent_path() / "b.rc", "#include \"a.rc\"\r\n");
         WriteBytes(script, "#include \"a.rc\"\r\n" + MenuHead + "END\r\n");
       },
       ConversionOutcome::ScriptInvalid, "#include cycle"},
      {"10,000 nested parentheses",
       Bytes(MenuHead + " MENUITEM \"a\"," + std::string(10000, '(') + "1" + std::string(10000, ')') + "\r\nEND\r\n"),
       ConversionOutcome::ScriptInvalid, "nested too deeply"},
      {"10,000 nested parentheses in #if",
       Bytes("#if " + std::string(10000, '(') + "1" + std::string(10000, ')') + "\r\n#endif\r\n" + MenuHead +
             "END\r\n"),
       ConversionOutcome::ScriptInvalid, "error:"},
#ifndef _WIN32
      {"include of a FIFO",
       [](const fs::path& script) {
         mkfifo((script.parent_path() / "pipe.h").c_str(), 0600);
         WriteBytes(script, "#include \"pipe.h\"\r\n" + MenuHead + "END\r\n");
       },
       ConversionOutcome::ScriptInvalid, "not a regular file"},
#endif
  };
  for (const Row& row : rows)
    Check(row);
}

TEST_F(BadInputMatrix, UnusableScriptsAndOutputsAreRefused) {
  const auto makeFolder = [](const fs::path& script) { fs::create_directory(script); };
  const auto makeScript = Bytes(MenuHead + "END\r\n");
  const Row rows[] = {
      {"folder as the script", makeFolder, ConversionOutcome::SourceUnreadable, "cannot read the script"},
      {"missing script", [](const fs::path&) {}, ConversionOutcome::SourceUnreadable, "cannot read the script"},
      {"missing output folder", makeScript, ConversionOutcome::OutputNotWritable, "cannot create the output",
       "absent/menu.mnu"},
      {"output inside a file", makeScript, ConversionOutcome::OutputNotWritable, "cannot create the output",
       "script.rc/menu.mnu"},
      {"output is the script", makeScript, ConversionOutcome::OutputIsSource, "would replace the script", "script.rc"},
  };
  for (const Row& row : rows)
    Check(row);
}

#ifndef _WIN32
bool RunningAsRoot() {
  return geteuid() == 0;
}

TEST_F(BadInputMatrix, SpecialFilesAndPermissionsAreRefused) {
  const auto makeScript = Bytes(MenuHead + "END\r\n");
  Check({"FIFO as the script", [](const fs::path& script) { mkfifo(script.c_str(), 0600); },
         ConversionOutcome::SourceUnreadable, "not a regular file"});
  Check({"script over 1 GiB",
         [](const fs::path& script) {
           WriteBytes(script, "");
           fs::resize_file(script, (std::uintmax_t{1} << 30) + 1);
         },
         ConversionOutcome::SourceTooLarge, "larger than 1 GiB"});
  fs::create_symlink("script.rc", folder / "link.mnu");
  Check({"output is a link to the script", makeScript, ConversionOutcome::OutputIsSource, "would replace the script",
         "link.mnu"});
  if (RunningAsRoot())
    GTEST_SKIP() << "permissions do not bind root";
  Check({"script without read permission",
         [&](const fs::path& script) {
           makeScript(script);
           fs::permissions(script, fs::perms::none);
         },
         ConversionOutcome::SourceUnreadable, "cannot read the script"});
  fs::create_directory(folder / "locked");
  WriteBytes(folder / "locked" / "menu.mnu", "old output");  // an existing output stays writable
  fs::permissions(folder / "locked", fs::perms::owner_read | fs::perms::owner_exec);
  Check({"output folder not writable", makeScript, ConversionOutcome::OutputNotWritable, "cannot create the output",
         "locked/menu.mnu"});
}
#endif

}  // namespace
}  // namespace trellane
