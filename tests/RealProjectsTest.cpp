// Real projects' scripts as they stand, read by Trellane and compared, dialog
// by dialog and menu by menu, with the .res files scripts/real-projects.py
// had llvm-rc-19 write for them. Runs when TRELLANE_REAL_PROJECTS names that
// script's scripts.tsv; prints the counts and each difference.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/IncludeFiles.h"
#include "script/ScriptReader.h"
#include "tests/oracle/ResourceCompilers.h"
#include "tests/oracle/TemplateComparison.h"

namespace trellane {
namespace {

struct ListedScript {
  std::string project;
  std::string script;  // paths as the list gives them
  std::string res;
  std::vector<std::string> includeFolders;
};

std::vector<std::string> Split(const std::string& line, char separator) {
  std::vector<std::string> fields;
  std::stringstream stream(line);
  for (std::string field; std::getline(stream, field, separator);)
    fields.push_back(field);
  return fields;
}

std::vector<ListedScript> ListedScripts(const char* listFile) {
  std::vector<ListedScript> scripts;
  std::ifstream list(listFile);
  for (std::string line; std::getline(list, line);) {
    const std::vector<std::string> fields = Split(line, '\t');
    if (fields.size() < 3)
      continue;
    ListedScript& script = scripts.emplace_back(ListedScript{fields[0], fields[1], fields[2], {}});
    if (fields.size() > 3)
      script.includeFolders = Split(fields[3], ';');
  }
  return scripts;
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

struct Tally {
  int scripts = 0, unread = 0, dialogs = 0, exactDialogs = 0, menus = 0, exactMenus = 0;

  void Add(const Tally& other) {
    scripts += other.scripts, unread += other.unread, dialogs += other.dialogs;
    exactDialogs += other.exactDialogs, menus += other.menus, exactMenus += other.exactMenus;
  }
};

// Compares every listed script, read with the given folders after its own.
Tally CompareListed(const std::vector<ListedScript>& scripts, const std::vector<std::string>& extraFolders) {
  std::map<std::string, Tally> tallies;
  for (const ListedScript& listed : scripts) {
    Tally& tally = tallies[listed.project];
    ++tally.scripts;
    const ResDecoding<CompiledScript> reference =
        DecodeCompiledScript(ReadBytes(listed.res), MenuExHelpIdPlacement::AfterText);
    if (!reference.Ok()) {
      ADD_FAILURE() << listed.res << ": " << reference.error;
      continue;
    }
    PreprocessorOptions options;
    options.includeFolders = listed.includeFolders;
    options.includeFolders.insert(options.includeFolders.end(), extraFolders.begin(), extraFolders.end());
    FileIncludeReader includes;
    const ScriptReading reading = ReadResourceScript(listed.script, ReadBytes(listed.script), options, includes);
    tally.dialogs += static_cast<int>(reference.value.dialogs.size());
    tally.menus += static_cast<int>(reference.value.menus.size());
    if (!reading.ok) {
      ++tally.unread;
      for (const Diagnostic& diagnostic : reading.diagnostics) {
        if (diagnostic.severity == Severity::Error)
          std::printf("%s: unread: %s:%d: %s\n", listed.script.c_str(), diagnostic.file.c_str(),
                      static_cast<int>(diagnostic.line), diagnostic.message.c_str());
      }
      continue;
    }
    for (const ResourceComparison& comparison : CompareEachWithModel(reading.resources, reference.value)) {
      const bool dialog = std::string(comparison.kind) == "dialog";
      if (!comparison.mismatch)
        ++(dialog ? tally.exactDialogs : tally.exactMenus);
      else
        std::printf("%s: %s\n", listed.script.c_str(), Describe(*comparison.mismatch, "llvm-rc", "Trellane").c_str());
    }
  }
  Tally total;
  for (const auto& [project, tally] : tallies) {
    std::printf("%-12s %3d scripts (%d unread), dialogs %d/%d exact, menus %d/%d exact\n", project.c_str(),
                tally.scripts, tally.unread, tally.exactDialogs, tally.dialogs, tally.exactMenus, tally.menus);
    total.Add(tally);
  }
  std::printf("%-12s %3d scripts (%d unread), dialogs %d/%d exact, menus %d/%d exact\n", "all", total.scripts,
              total.unread, total.exactDialogs, total.dialogs, total.exactMenus, total.menus);
  return total;
}

void ExpectMostExact(const Tally& total) {
  // The share the projects must reach; the closing figures explain the rest.
  constexpr double Share = 0.95;
  EXPECT_GE(total.exactDialogs, Share * total.dialogs);
  EXPECT_GE(total.exactMenus, Share * total.menus);
}

class RealProjectsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* list = std::getenv("TRELLANE_REAL_PROJECTS");
    if (list == nullptr)
      GTEST_SKIP() << "set TRELLANE_REAL_PROJECTS to the scripts.tsv of scripts/real-projects.py";
    scripts = ListedScripts(list);
  }
  std::vector<ListedScript> scripts;
};

TEST_F(RealProjectsTest, ReadAsLlvmRcReadsThemWithTheBuiltInHeaders) {
  ExpectMostExact(CompareListed(scripts, {}));
}

TEST_F(RealProjectsTest, ReadAsLlvmRcReadsThemWithTheMinGwHeaders) {
  ExpectMostExact(CompareListed(scripts, {WindowsHeadersFolder().generic_string()}));
}

}  // namespace
}  // namespace trellane
