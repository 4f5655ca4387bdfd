// A fresh folder for each test, removed with everything in it afterwards.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

namespace trellane {

class TempFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder = std::filesystem::temp_directory_path() /
             ("trellane-" + std::string(test->test_suite_name()) + "-" + std::string(test->name()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
  }

  void TearDown() override {
    namespace fs = std::filesystem;
    std::error_code ignored;
    fs::current_path(fs::temp_directory_path(), ignored);
    // Tests take permissions away; give them back so everything can go.
    fs::permissions(folder, fs::perms::owner_all, ignored);
    for (auto entry = fs::recursive_directory_iterator(folder, ignored); entry != fs::recursive_directory_iterator();
         entry.increment(ignored)) {
      fs::permissions(entry->path(), fs::perms::owner_all, fs::perm_options::add | fs::perm_options::nofollow, ignored);
    }
    fs::remove_all(folder, ignored);
  }

  std::string PathOf(const std::string& name) const { return (folder / name).string(); }

  void WriteFile(const std::string& name, const std::string& bytes) const {
    std::ofstream(folder / name, std::ios::binary) << bytes;
  }

  std::string ReadFile(const std::string& name) const {
    std::ifstream file(folder / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  }

  std::filesystem::path folder;
};

}  // namespace trellane
