#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "app/IncludeFiles.h"
#include "script/ScriptReader.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace trellane {
namespace {

class IncludeFilesTest : public TempFolderTest {};

TEST_F(IncludeFilesTest, RegularFilesAreReadWholeAndOthersRefused) {
  WriteFile("app.h", std::string("#define A 1\r\n\0tail", 18));
  std::filesystem::create_directory(folder / "sub");
  FileIncludeReader reader;
  const IncludeFile read = reader.Read(PathOf("app.h"));
  EXPECT_EQ(read.status, IncludeStatus::Read);
  EXPECT_EQ(read.bytes, std::string("#define A 1\r\n\0tail", 18));
  EXPECT_EQ(reader.Read(PathOf("missing.h")).status, IncludeStatus::NotFound);
  EXPECT_EQ(reader.Read(PathOf("missing/app.h")).status, IncludeStatus::NotFound);
  const IncludeFile directory = reader.Read(PathOf("sub"));
  EXPECT_EQ(directory.status, IncludeStatus::Failed);
  EXPECT_EQ(directory.problem, "is a folder, not a file");
#ifndef _WIN32
  ASSERT_EQ(mkfifo(PathOf("pipe.h").c_str(), 0600), 0);
  const IncludeFile pipe = reader.Read(PathOf("pipe.h"));
  EXPECT_EQ(pipe.status, IncludeStatus::Failed);
  EXPECT_EQ(pipe.problem, "not a regular file");
  if (geteuid() == 0)
    GTEST_SKIP() << "permissions do not bind root";
  WriteFile("locked.h", "#define L 1");
  std::filesystem::permissions(folder / "locked.h", std::filesystem::perms::none);
  const IncludeFile locked = reader.Read(PathOf("locked.h"));
  EXPECT_EQ(locked.status, IncludeStatus::Failed);
  EXPECT_FALSE(locked.problem.empty());
#endif
}

TEST_F(IncludeFilesTest, FilesOfEverySizeAroundTheReadChunkAreReadByteForByte) {
  const std::size_t sizes[] = {0, 1, 4095, 65535, 65536, 65537, 131072, 300001};
  for (const std::size_t size : sizes) {
    std::string bytes(size, '\0');
    for (std::size_t at = 0; at < size; ++at)
      bytes[at] = static_cast<char>((at * 7 + at / 256) & 0xFF);
    WriteFile("sized.h", bytes);
    const IncludeFile read = ReadWhole(PathOf("sized.h"));
    EXPECT_EQ(read.status, IncludeStatus::Read) << size;
    EXPECT_TRUE(read.bytes == bytes) << size << " bytes written, " << read.bytes.size() << " read";
  }
}

// Reads the script file name of the test's folder with the files it includes.
ScriptReading ReadFromFolder(const std::string& scriptPath, const std::vector<std::string>& includeFolders = {}) {
  FileIncludeReader reader;
  IncludeFile script = ReadWhole(scriptPath);
  PreprocessorOptions options;
  options.includeFolders = includeFolders;
  return ReadResourceScript(scriptPath, std::move(script.bytes), options, reader);
}

std::string AllMessages(const Diagnostics& diagnostics) {
  std::string all;
  for (const Diagnostic& diagnostic : diagnostics)
    all += diagnostic.message + "\n";
  return all;
}

const char* const OneMenu = "1 MENU\nBEGIN\n  MENUITEM \"a\", ID_A\nEND\n";

// Windows finds a file whatever the letter case of its parts and whichever
// separator the script writes; the exact spelling wins over the others.
TEST_F(IncludeFilesTest, NamesAreFoundInAnyLetterCaseWithEitherSeparator) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows' file systems fold letter case themselves";
#endif
  std::filesystem::create_directories(folder / "res" / "Sub");
  std::filesystem::create_directories(folder / "Inc");
  WriteFile("res/mdrive.rc2", "#define ID_A 7\n");
  WriteFile("res/Sub/Deep.H", "#define ID_B 8\n");
  WriteFile("Inc/exact.h", "#define ID_C 1\n");
  WriteFile("Inc/EXACT.h", "#define ID_C 2\n");
  WriteFile("Inc/Caf\xC3\xA9.h", "#define ID_D 9\n");
  struct Case {
    std::string include;
    std::string define;  // the macro whose value tells which file was read
    std::uint32_t value;
  };
  const Case cases[] = {
      {"\"res\\MDrive.rc2\"", "ID_A", 7}, {"\"RES/MDRIVE.RC2\"", "ID_A", 7}, {"\"res\\\\sub\\\\deep.h\"", "ID_B", 8},
      {"<exact.h>", "ID_C", 1},           {"<EXACT.h>", "ID_C", 2},          {"<CAF\xC3\x89.H>", "ID_D", 9},
  };
  for (const Case& c : cases) {
    WriteFile("app.rc", "#include " + c.include + "\n1 MENU\nBEGIN\n  MENUITEM \"a\", " + c.define + "\nEND\n");
    const ScriptReading reading = ReadFromFolder(PathOf("app.rc"), {(folder / "inc").string()});
    ASSERT_TRUE(reading.ok) << c.include << "\n" << AllMessages(reading.diagnostics);
    EXPECT_EQ(reading.resources.menus.at(0).items.at(0).id.value, c.value) << c.include;
    EXPECT_EQ(AllMessages(reading.diagnostics), "") << c.include;
  }
}

TEST_F(IncludeFilesTest, TwoSpellingsOfOneNameWarnAndNameTheFileRead) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows' file systems fold letter case themselves";
#endif
  WriteFile("IDS.h", "#define ID_A 1\n");
  WriteFile("ids.H", "#define ID_A 2\n");
  WriteFile("app.rc", std::string("#include \"Ids.h\"\n") + OneMenu);
  const ScriptReading reading = ReadFromFolder(PathOf("app.rc"));
  ASSERT_TRUE(reading.ok) << AllMessages(reading.diagnostics);
  EXPECT_EQ(reading.resources.menus.at(0).items.at(0).id.value, 1u);
  ASSERT_EQ(reading.diagnostics.size(), 1u);
  EXPECT_EQ(reading.diagnostics[0].severity, Severity::Warning);
  EXPECT_EQ(reading.diagnostics[0].line, 1u);
  EXPECT_NE(reading.diagnostics[0].message.find("'Ids.h' matches 'IDS.h', 'ids.H'"), std::string::npos)
      << reading.diagnostics[0].message;
  EXPECT_NE(reading.diagnostics[0].message.find("'IDS.h' is read"), std::string::npos);
}

// A name looked up again in the same reading is answered from what the first
// look-up found, its warning included.
TEST_F(IncludeFilesTest, ANameLookedUpAgainWarnsAgain) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows' file systems fold letter case themselves";
#endif
  WriteFile("IDS.h", "#define ID_A 1\n");
  WriteFile("ids.H", "#define ID_A 2\n");
  WriteFile("app.rc", std::string("#include \"Ids.h\"\n#undef ID_A\n#include \"Ids.h\"\n") + OneMenu);
  const ScriptReading reading = ReadFromFolder(PathOf("app.rc"));
  ASSERT_TRUE(reading.ok) << AllMessages(reading.diagnostics);
  EXPECT_EQ(reading.resources.menus.at(0).items.at(0).id.value, 1u);
  ASSERT_EQ(reading.diagnostics.size(), 2u) << AllMessages(reading.diagnostics);
  for (std::size_t at = 0; at < 2; ++at) {
    EXPECT_EQ(reading.diagnostics[at].line, 1 + 2 * at);
    EXPECT_NE(reading.diagnostics[at].message.find("'IDS.h' is read"), std::string::npos);
  }
}

// A file reached again under another name or letter case is the same file.
TEST_F(IncludeFilesTest, CyclesAndPragmaOnceGoByTheFileFound) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows' file systems fold letter case themselves";
#endif
  std::filesystem::create_directories(folder / "sub");
  WriteFile("sub/a.h", "#include \"..\\SUB\\B.H\"\n");
  WriteFile("sub/b.h", "#include \"A.h\"\n");
  WriteFile("app.rc", std::string("#include \"sub/a.h\"\n") + OneMenu);
  const ScriptReading cycle = ReadFromFolder(PathOf("app.rc"));
  EXPECT_FALSE(cycle.ok);
  EXPECT_NE(AllMessages(cycle.diagnostics).find("/sub/a.h' is already being read"), std::string::npos)
      << AllMessages(cycle.diagnostics);

  WriteFile("self.rc", std::string("#include \"SELF.RC\"\n") + OneMenu);
  const ScriptReading self = ReadFromFolder(PathOf("self.rc"));
  EXPECT_FALSE(self.ok);
  EXPECT_NE(AllMessages(self.diagnostics).find("#include cycle"), std::string::npos) << AllMessages(self.diagnostics);

  WriteFile("once.h", "#pragma once\n#ifdef ID_A\n#error read twice\n#endif\n#define ID_A 3\n");
  WriteFile("twice.rc",
            std::string("#include \"once.h\"\n#include \"./ONCE.H\"\n#include \"sub\\..\\Once.h\"\n") + OneMenu);
  const ScriptReading once = ReadFromFolder(PathOf("twice.rc"));
  EXPECT_TRUE(once.ok) << AllMessages(once.diagnostics);
}

// MFC's and ATL's resource scripts and the SDK's version includes, when
// missing, are read as empty with one note each; any other missing file is
// an error that names where it was looked for.
TEST_F(IncludeFilesTest, MissingFrameworkFilesAreReadAsEmptyWithANote) {
  const std::string frameworkFiles[] = {"afxres.rc", "afxprint.rc", "afxolecl.rc",     "afxolesv.rc",
                                        "afxdb.rc",  "afxctl.rc",   "afxisapi.rc",     "afxribbon.rc",
                                        "atlres.h",  "common.ver",  "l.deu\\AFXRES.RC"};
  for (const std::string& name : frameworkFiles) {
    WriteFile("app.rc", "#define ID_A 4\n#include \"" + name + "\"\n#include <" + name + ">\n" + OneMenu);
    const ScriptReading reading = ReadFromFolder(PathOf("app.rc"));
    ASSERT_TRUE(reading.ok) << name << "\n" << AllMessages(reading.diagnostics);
    ASSERT_EQ(reading.diagnostics.size(), 1u) << name << "\n" << AllMessages(reading.diagnostics);
    EXPECT_EQ(reading.diagnostics[0].severity, Severity::Note) << name;
    EXPECT_EQ(reading.diagnostics[0].line, 2u) << name;
    EXPECT_NE(reading.diagnostics[0].message.find("read as empty"), std::string::npos) << name;
  }
  // Present on the search path, the real file is read.
  WriteFile("afxres.rc", "#define ID_A 5\n");
  WriteFile("app.rc", std::string("#include \"AfxRes.rc\"\n") + OneMenu);
  const ScriptReading real = ReadFromFolder(PathOf("app.rc"));
  ASSERT_TRUE(real.ok) << AllMessages(real.diagnostics);
  EXPECT_EQ(real.resources.menus.at(0).items.at(0).id.value, 5u);
  EXPECT_TRUE(real.diagnostics.empty()) << AllMessages(real.diagnostics);

  WriteFile("app.rc", std::string("#include \"afxother.rc\"\n") + OneMenu);
  const ScriptReading missing = ReadFromFolder(PathOf("app.rc"), {"inc"});
  EXPECT_FALSE(missing.ok);
  EXPECT_NE(AllMessages(missing.diagnostics)
                .find("cannot find include file 'afxother.rc' (looked in " + folder.string() +
                      ", inc); -I FOLDER adds a folder"),
            std::string::npos)
      << AllMessages(missing.diagnostics);
}

TEST(IncludeFolders, EnvironmentValuesSplitIntoFolders) {
  EXPECT_EQ(SplitIncludeFolders(""), std::vector<std::string>{});
  EXPECT_EQ(SplitIncludeFolders(";;"), std::vector<std::string>{});
  EXPECT_EQ(SplitIncludeFolders("inc;;sdk\\include;"), (std::vector<std::string>{"inc", "sdk\\include"}));
#ifdef _WIN32
  EXPECT_EQ(SplitIncludeFolders("C:\\inc;D:\\sdk"), (std::vector<std::string>{"C:\\inc", "D:\\sdk"}));
#else
  EXPECT_EQ(SplitIncludeFolders("/usr/inc:/opt/sdk;rel"), (std::vector<std::string>{"/usr/inc", "/opt/sdk", "rel"}));
  EXPECT_EQ(SplitIncludeFolders("C:\\inc;D:/sdk:/usr/inc"),
            (std::vector<std::string>{"C:\\inc", "D:/sdk", "/usr/inc"}));
#endif
}

}  // namespace
}  // namespace trellane
