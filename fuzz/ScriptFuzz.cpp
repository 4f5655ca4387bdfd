// Feeds arbitrary bytes to the front end: decoding, preprocessing, tokens
// and parsing. The input is split at each "\0\0\0\0" into the script and the
// files a.h, b.rc and c.h that it may include, so includes are fuzzed too.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <string_view>

#include "script/ModelDump.h"
#include "script/ScriptReader.h"

namespace {

class FuzzFiles final : public trellane::IncludeFileReader {
 public:
  std::map<std::string, std::string> files;
  trellane::IncludeFile Read(const std::string& path) override {
    trellane::IncludeFile file;
    const auto found = files.find(path);
    if (found != files.end()) {
      file.status = trellane::IncludeStatus::Read;
      file.bytes = found->second;
    }
    return file;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const char* const names[] = {"/f/main.rc", "/f/a.h", "/f/b.rc", "/f/c.h"};
  FuzzFiles files;
  std::size_t start = 0;
  for (std::size_t part = 0; part < std::size(names); ++part) {
    const std::size_t end = std::min(input.find(std::string_view("\0\0\0\0", 4), start), input.size());
    files.files[names[part]] = std::string(input.substr(start, end - start));
    if (end >= input.size())
      break;
    start = end + 4;
  }
  std::string script = files.files[names[0]];
  trellane::PreprocessorOptions options;
  options.defines.push_back({"FUZZ", "1"});
  const trellane::ScriptReading reading = trellane::ReadResourceScript(names[0], std::move(script), options, files);
  if (!reading.ok && !trellane::HasErrors(reading.diagnostics))
    __builtin_trap();  // a failed reading always says why
  std::ostringstream dump;
  trellane::DumpResourceModel(reading.resources, dump);
  return 0;
}
