// Feeds arbitrary bytes to the preprocessor as a script, and the same bytes
// again as every file it includes, to the end of its tokens.
#include <cstddef>
#include <cstdint>
#include <string>

#include "script/Preprocessor.h"

namespace {

class SameBytes final : public trellane::IncludeFileReader {
 public:
  explicit SameBytes(std::string text) : bytes(std::move(text)) {}

  trellane::IncludeFile Read(const std::string& path) override {
    trellane::IncludeFile file;
    if (path.find("missing") != std::string::npos)
      return file;
    file.status = trellane::IncludeStatus::Read;
    file.bytes = bytes;
    return file;
  }

 private:
  std::string bytes;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  SameBytes includes(bytes);
  trellane::SourceFiles files;
  trellane::Diagnostics diagnostics;
  trellane::PreprocessorOptions options;
  options.defines = {{"FUZZ", "1"}, {"PAIR(a,b)", "a ## b #a"}};
  trellane::Preprocessor preprocessor(files, options, includes, diagnostics);
  preprocessor.Start("fuzz.rc", bytes);
  for (trellane::Token token; preprocessor.Next(token);) {
    if (token.text.empty() && token.kind != trellane::TokenKind::Other)
      __builtin_trap();
  }
  return 0;
}
