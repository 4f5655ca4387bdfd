// The platform file service on its own: what the conversion job relies on.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/FileService.h"
#include "tests/TempFolder.h"

namespace trellane {
namespace {

namespace fs = std::filesystem;

class FileServiceTest : public TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    files = MakePlatformFileService();
  }

  std::unique_ptr<FileService> files;
};

TEST_F(FileServiceTest, FolderIsRefusedWithAPlainReason) {
  FileHandle handle = 0;
  const FileResult opened = files->OpenForReading(folder.string(), handle);
  EXPECT_FALSE(opened.ok);
  EXPECT_EQ(opened.error, "is a folder, not a file");
}

TEST_F(FileServiceTest, SystemErrorTextsCarryNoLineEnd) {
  FileHandle handle = 0;
  const FileResult opened = files->OpenForReading(PathOf("absent.rc"), handle);
  ASSERT_FALSE(opened.ok);
  ASSERT_FALSE(opened.error.empty());
  EXPECT_EQ(opened.error.find_first_of("\r\n"), std::string::npos) << opened.error;
}

TEST_F(FileServiceTest, ReadsSizeAndBytesOfAScript) {
  WriteFile("script.rc", std::string("MENUEX\r\n\0x", 10));
  FileHandle handle = 0;
  ASSERT_TRUE(files->OpenForReading(PathOf("script.rc"), handle).ok);
  std::uint64_t size = 0;
  EXPECT_TRUE(files->SizeOf(handle, size).ok);
  EXPECT_EQ(size, 10u);
  char buffer[32] = {};
  std::size_t got = 0;
  EXPECT_TRUE(files->Read(handle, buffer, sizeof buffer, got).ok);
  EXPECT_EQ(std::string(buffer, got), std::string("MENUEX\r\n\0x", 10));
  EXPECT_TRUE(files->Read(handle, buffer, sizeof buffer, got).ok);
  EXPECT_EQ(got, 0u);
  EXPECT_TRUE(files->Close(handle).ok);
}

TEST_F(FileServiceTest, IdentityFollowsTheFileNotTheName) {
  WriteFile("a.rc", "a");
  WriteFile("b.rc", "b");
  FileHandle handle = 0;
  ASSERT_TRUE(files->OpenForReading(PathOf("a.rc"), handle).ok);
  FileIdentity opened;
  EXPECT_TRUE(files->IdentityOf(handle, opened).ok);
  files->Close(handle);

  FileIdentity byPath;
  FileIdentity other;
  FileIdentity dotted;
  EXPECT_TRUE(files->IdentityOfPath(PathOf("a.rc"), byPath));
  EXPECT_TRUE(files->IdentityOfPath((folder / "." / "a.rc").string(), dotted));
  EXPECT_TRUE(files->IdentityOfPath(PathOf("b.rc"), other));
  EXPECT_EQ(opened, byPath);
  EXPECT_EQ(opened, dotted);
  EXPECT_NE(opened, other);
  EXPECT_FALSE(files->IdentityOfPath(PathOf("absent.rc"), other));
}

TEST_F(FileServiceTest, TemporaryFileLandsBesideTheTargetAndRenamesOverIt) {
  struct Case {
    std::string target;  // relative to the test folder, which is the current folder
    bool absolute;
  };
  fs::create_directories(folder / "sub");
  fs::current_path(folder);
  const Case cases[] = {{"menu.mnu", false}, {"sub/menu.mnu", false}, {"sub/menu.mnu", true}};
  for (const Case& c : cases) {
    const std::string target = c.absolute ? PathOf(c.target) : c.target;
    WriteFile(c.target, "old");
    FileHandle handle = 0;
    std::string temporaryPath;
    ASSERT_TRUE(files->CreateTemporaryBeside(target, handle, temporaryPath).ok) << target;
    EXPECT_EQ(fs::absolute(temporaryPath).lexically_normal().parent_path(),
              fs::absolute(target).lexically_normal().parent_path())
        << target;
    std::size_t written = 0;
    const std::uint8_t bytes[] = {'n', 'e', 'w'};
    EXPECT_TRUE(files->Write(handle, bytes, sizeof bytes, written).ok);
    EXPECT_EQ(written, 3u);
    EXPECT_TRUE(files->Flush(handle).ok);
    EXPECT_TRUE(files->Close(handle).ok);
    EXPECT_TRUE(files->Rename(temporaryPath, files->ResolveOutputPath(target)).ok) << target;
    EXPECT_EQ(ReadFile(c.target), "new") << target;
    EXPECT_FALSE(fs::exists(temporaryPath)) << target;
  }
}

TEST_F(FileServiceTest, RemoveDeletesATemporaryFile) {
  FileHandle handle = 0;
  std::string temporaryPath;
  ASSERT_TRUE(files->CreateTemporaryBeside(PathOf("menu.mnu"), handle, temporaryPath).ok);
  files->Close(handle);
  ASSERT_TRUE(fs::exists(temporaryPath));
  files->Remove(temporaryPath);
  EXPECT_FALSE(fs::exists(temporaryPath));
}

}  // namespace
}  // namespace trellane
