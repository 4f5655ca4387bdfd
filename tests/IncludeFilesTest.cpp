#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "app/IncludeFiles.h"

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
  EXPECT_EQ(directory.problem, "is a folder");
#ifndef _WIN32
  ASSERT_EQ(mkfifo(PathOf("pipe.h").c_str(), 0600), 0);
  const IncludeFile pipe = reader.Read(PathOf("pipe.h"));
  EXPECT_EQ(pipe.status, IncludeStatus::Failed);
  EXPECT_EQ(pipe.problem, "is not a regular file");
  if (geteuid() == 0)
    GTEST_SKIP() << "permissions do not bind root";
  WriteFile("locked.h", "#define L 1");
  std::filesystem::permissions(folder / "locked.h", std::filesystem::perms::none);
  const IncludeFile locked = reader.Read(PathOf("locked.h"));
  EXPECT_EQ(locked.status, IncludeStatus::Failed);
  EXPECT_FALSE(locked.problem.empty());
#endif
}

TEST(IncludeFolders, EnvironmentValuesSplitIntoFolders) {
  EXPECT_EQ(SplitIncludeFolders(""), std::vector<std::string>{});
  EXPECT_EQ(SplitIncludeFolders(";;"), std::vector<std::string>{});
  EXPECT_EQ(SplitIncludeFolders("inc;;sdk\\include;"), (std::vector<std::string>{"inc", "sdk\\include"}));
#ifdef _WIN32
  EXPECT_EQ(SplitIncludeFolders("C:\\inc;D:\\sdk"), (std::vector<std::string>{"C:\\inc", "D:\\sdk"}));
#else
  EXPECT_EQ(SplitIncludeFolders("/usr/inc:/opt/sdk;rel"), (std::vector<std::string>{"/usr/inc", "/opt/sdk", "rel"}));
#endif
}

}  // namespace
}  // namespace trellane
