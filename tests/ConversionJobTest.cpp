#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "app/ConversionJob.h"
#include "tests/TempFolder.h"

namespace trellane {
namespace {

namespace fs = std::filesystem;

// Stand-in converters: an image of the script's bytes after the keyword.
ConverterResult StandInConverter(std::string_view script, std::string_view keyword) {
  ConverterResult result;
  const std::size_t found = script.find(keyword);
  if (found == std::string_view::npos)
    return result;
  result.keywordFound = true;
  const std::string_view rest = script.substr(found + keyword.size());
  result.image.assign(rest.begin(), rest.end());
  result.recordCount = rest.size();
  Warn(result.diagnostics, found, "seen");
  result.diagnostics.back().line = 3;
  return result;
}

ConverterTable StandInConverters() {
  ConverterTable table;
  table.menu = [](std::string script, const ConversionContext&) { return StandInConverter(script, "MENUEX"); };
  table.dialog = [](std::string script, const ConversionContext&) { return StandInConverter(script, "DIALOGEX"); };
  return table;
}

// A file service that fails one chosen operation and otherwise does the real
// thing.
class FaultyFileService final : public FileService {
 public:
  enum class Fault { None, Open, Read, Create, Write, ShortWrite, Flush, Close, Rename };

  explicit FaultyFileService(Fault injected) : fault(injected), real(MakePlatformFileService()) {}

  FileResult OpenForReading(const std::string& path, FileHandle& handle) override {
    return fault == Fault::Open ? Injected() : real->OpenForReading(path, handle);
  }
  FileResult SizeOf(FileHandle handle, std::uint64_t& size) override { return real->SizeOf(handle, size); }
  FileResult Read(FileHandle handle, char* buffer, std::size_t count, std::size_t& got) override {
    return fault == Fault::Read ? Injected() : real->Read(handle, buffer, count, got);
  }
  FileResult IdentityOf(FileHandle handle, FileIdentity& identity) override {
    return real->IdentityOf(handle, identity);
  }
  bool IdentityOfPath(const std::string& path, FileIdentity& identity) override {
    return real->IdentityOfPath(path, identity);
  }
  std::string ResolveOutputPath(const std::string& path) override { return real->ResolveOutputPath(path); }
  FileResult CreateTemporaryBeside(const std::string& target, FileHandle& handle, std::string& temporaryPath) override {
    return fault == Fault::Create ? Injected() : real->CreateTemporaryBeside(target, handle, temporaryPath);
  }
  FileResult Write(FileHandle handle, const std::uint8_t* bytes, std::size_t count, std::size_t& written) override {
    if (fault == Fault::Write)
      return Injected();
    if (fault == Fault::ShortWrite) {
      if (wroteOnce) {
        written = 0;
        return FileResult::Success();
      }
      wroteOnce = true;
      return real->Write(handle, bytes, count / 2, written);
    }
    return real->Write(handle, bytes, count, written);
  }
  FileResult Flush(FileHandle handle) override { return fault == Fault::Flush ? Injected() : real->Flush(handle); }
  FileResult Close(FileHandle handle) override {
    const FileResult closed = real->Close(handle);
    return fault == Fault::Close ? Injected() : closed;
  }
  FileResult Rename(const std::string& from, const std::string& to) override {
    return fault == Fault::Rename ? Injected() : real->Rename(from, to);
  }
  void Remove(const std::string& path) override { real->Remove(path); }

 private:
  static FileResult Injected() { return FileResult::Failure("injected failure"); }

  Fault fault;
  std::unique_ptr<FileService> real;
  bool wroteOnce = false;
};

class ConversionJobTest : public TempFolderTest {
 protected:
  std::size_t FilesInFolder() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
  }

  ConversionReport Run(const std::string& source, const std::string& output,
                       ConversionMode mode = ConversionMode::Menu) const {
    const std::unique_ptr<FileService> files = MakePlatformFileService();
    return RunConversion({PathOf(source), PathOf(output), mode}, {}, StandInConverters(), *files);
  }
};

TEST_F(ConversionJobTest, WritesTheImageAndReportsItsWarnings) {
  WriteFile("script.rc", "#define X 1\r\n\nX MENUEX abc");
  const ConversionReport report = Run("script.rc", "menu.mnu");
  EXPECT_EQ(report.outcome, ConversionOutcome::Written);
  EXPECT_EQ(ReadFile("menu.mnu"), " abc");
  EXPECT_EQ(report.bytesWritten, 4u);
  ASSERT_EQ(report.diagnostics.size(), 1u);
  EXPECT_EQ(report.diagnostics[0].line, 3u);
  EXPECT_EQ(FilesInFolder(), 2u);  // no temporary file is left behind
}

TEST_F(ConversionJobTest, ModeChoosesTheConverterNotTheExtension) {
  WriteFile("script.rc", "MENUEX m DIALOGEX d");
  EXPECT_EQ(Run("script.rc", "out.dlg", ConversionMode::Menu).outcome, ConversionOutcome::Written);
  EXPECT_EQ(ReadFile("out.dlg"), " m DIALOGEX d");
  EXPECT_EQ(Run("script.rc", "out.mnu", ConversionMode::Dialog).outcome, ConversionOutcome::Written);
  EXPECT_EQ(ReadFile("out.mnu"), " d");
}

TEST_F(ConversionJobTest, MissingScriptOrFolderAsScriptWritesNothing) {
  EXPECT_EQ(Run("absent.rc", "menu.mnu").outcome, ConversionOutcome::SourceUnreadable);
  fs::create_directory(folder / "folder.rc");
  EXPECT_EQ(Run("folder.rc", "menu.mnu").outcome, ConversionOutcome::SourceUnreadable);
  EXPECT_FALSE(fs::exists(folder / "menu.mnu"));
}

TEST_F(ConversionJobTest, ReadOnlyScriptConvertsAndStaysUnchanged) {
  WriteFile("script.rc", "MENUEX ro");
  fs::permissions(folder / "script.rc", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_EQ(Run("script.rc", "menu.mnu").outcome, ConversionOutcome::Written);
  EXPECT_EQ(ReadFile("menu.mnu"), " ro");
  EXPECT_EQ(ReadFile("script.rc"), "MENUEX ro");
}

TEST_F(ConversionJobTest, OutputThatIsTheScriptItselfIsRefused) {
  const std::string script = "MENUEX keep me";
  WriteFile("script.rc", script);
  EXPECT_EQ(Run("script.rc", "script.rc").outcome, ConversionOutcome::OutputIsSource);
  EXPECT_EQ(Run("script.rc", "./script.rc").outcome, ConversionOutcome::OutputIsSource);

  std::error_code error;
  fs::create_hard_link(folder / "script.rc", folder / "hard.rc", error);
  if (!error) {
    EXPECT_EQ(Run("script.rc", "hard.rc").outcome, ConversionOutcome::OutputIsSource);
  }
  fs::create_symlink(folder / "script.rc", folder / "soft.rc", error);
  if (!error) {
    EXPECT_EQ(Run("script.rc", "soft.rc").outcome, ConversionOutcome::OutputIsSource);
  }
  EXPECT_EQ(ReadFile("script.rc"), script);
}

TEST_F(ConversionJobTest, OutputThroughASymbolicLinkReplacesTheLinkedFile) {
  WriteFile("script.rc", "MENUEX new");
  WriteFile("target.mnu", "old");
  std::error_code error;
  fs::create_symlink(folder / "target.mnu", folder / "link.mnu", error);
  if (error)
    GTEST_SKIP() << "no symbolic links here";
  EXPECT_EQ(Run("script.rc", "link.mnu").outcome, ConversionOutcome::Written);
  EXPECT_TRUE(fs::is_symlink(folder / "link.mnu"));
  EXPECT_EQ(ReadFile("target.mnu"), " new");
}

TEST_F(ConversionJobTest, MissingOutputFolderWritesNothing) {
  WriteFile("script.rc", "MENUEX x");
  const ConversionReport report = Run("script.rc", "missing/menu.mnu");
  EXPECT_EQ(report.outcome, ConversionOutcome::OutputNotWritable);
  EXPECT_FALSE(report.detail.empty());
  EXPECT_FALSE(fs::exists(folder / "missing"));
}

TEST_F(ConversionJobTest, MissingKeywordLeavesAnExistingOutputAlone) {
  WriteFile("script.rc", "IDD DIALOGEX 0,0,1,1");
  WriteFile("menu.mnu", "precious");
  EXPECT_EQ(Run("script.rc", "menu.mnu").outcome, ConversionOutcome::KeywordMissing);
  EXPECT_EQ(ReadFile("menu.mnu"), "precious");
  WriteFile("empty.rc", "");
  EXPECT_EQ(Run("empty.rc", "menu.mnu").outcome, ConversionOutcome::KeywordMissing);
  EXPECT_EQ(ReadFile("menu.mnu"), "precious");
}

TEST_F(ConversionJobTest, LongerOutputIsReplacedExactly) {
  WriteFile("script.rc", "MENUEX ab");
  WriteFile("menu.mnu", std::string(5000, 'z'));
  EXPECT_EQ(Run("script.rc", "menu.mnu").outcome, ConversionOutcome::Written);
  EXPECT_EQ(ReadFile("menu.mnu"), " ab");
}

TEST_F(ConversionJobTest, ConverterSeesTheScriptBytesAndItsPath) {
  const std::string bytes("MENUEX\0tail\x01\xFF", 13);
  WriteFile("script.rc", bytes);
  std::string seen;
  std::string seenPath;
  ConverterTable table = StandInConverters();
  table.menu = [&](std::string script, const ConversionContext& context) {
    seen = script;
    seenPath = context.scriptPath;
    return StandInConverter(script, "MENUEX");
  };
  const std::unique_ptr<FileService> files = MakePlatformFileService();
  RunConversion({PathOf("script.rc"), PathOf("menu.mnu"), ConversionMode::Menu}, {}, table, *files);
  EXPECT_EQ(seen, bytes);
  EXPECT_EQ(seenPath, PathOf("script.rc"));
}

TEST_F(ConversionJobTest, EveryFileFaultLeavesTheOldOutputAndNoTemporaryFile) {
  using Fault = FaultyFileService::Fault;
  struct Case {
    Fault fault;
    ConversionOutcome expected;
  };
  const Case cases[] = {
      {Fault::Open, ConversionOutcome::SourceUnreadable},    {Fault::Read, ConversionOutcome::SourceUnreadable},
      {Fault::Create, ConversionOutcome::OutputNotWritable}, {Fault::Write, ConversionOutcome::WriteFailed},
      {Fault::ShortWrite, ConversionOutcome::WriteFailed},   {Fault::Flush, ConversionOutcome::WriteFailed},
      {Fault::Close, ConversionOutcome::WriteFailed},        {Fault::Rename, ConversionOutcome::WriteFailed},
  };
  WriteFile("script.rc", "MENUEX " + std::string(100000, 'n'));
  for (const Case& c : cases) {
    WriteFile("menu.mnu", "old bytes");
    FaultyFileService files(c.fault);
    const ConversionReport report =
        RunConversion({PathOf("script.rc"), PathOf("menu.mnu"), ConversionMode::Menu}, {}, StandInConverters(), files);
    EXPECT_EQ(report.outcome, c.expected) << static_cast<int>(c.fault);
    EXPECT_EQ(ReadFile("menu.mnu"), "old bytes") << static_cast<int>(c.fault);
    EXPECT_EQ(FilesInFolder(), 2u) << static_cast<int>(c.fault);
  }
}

TEST(ConversionJob, ProposesTheOutputBesideTheScript) {
  EXPECT_EQ(ProposedOutputPath("C:\\src\\app.rc", ConversionMode::Menu), "C:\\src\\menu.mnu");
  EXPECT_EQ(ProposedOutputPath("/home/me/app.rc", ConversionMode::Dialog), "/home/me/dialog.dlg");
  EXPECT_EQ(ProposedOutputPath("app.rc", ConversionMode::Menu), "menu.mnu");
}

TEST(ConversionJob, StatusTextNamesTheReasonForEveryFailure) {
  EXPECT_EQ(StatusText(ConversionOutcome::Written, ConversionMode::Menu), "Surgery is over!");
  EXPECT_EQ(StatusText(ConversionOutcome::SourceUnreadable, ConversionMode::Menu), "Cannot open the script!");
  EXPECT_EQ(StatusText(ConversionOutcome::KeywordMissing, ConversionMode::Menu), "No MENUEX resource found!");
  EXPECT_EQ(StatusText(ConversionOutcome::KeywordMissing, ConversionMode::Dialog), "No DIALOGEX resource found!");
  EXPECT_EQ(StatusText(ConversionOutcome::ScriptInvalid, ConversionMode::Dialog), "The script has errors!");
  EXPECT_EQ(StatusText(ConversionOutcome::OutputIsSource, ConversionMode::Menu), "Cannot write the output!");
  EXPECT_EQ(StatusText(ConversionOutcome::WriteFailed, ConversionMode::Dialog), "Cannot write the output!");
}

}  // namespace
}  // namespace trellane
