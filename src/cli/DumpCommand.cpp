#include <fstream>
#include <iterator>
#include <ostream>

#include "cli/CommandLine.h"
#include "radasm/DialogRecordFile.h"
#include "radasm/MenuRecordFile.h"

namespace trellane {
namespace {

bool EndsWith(const std::string& text, const std::string& ending) {
  return text.size() >= ending.size() && text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

bool HasMenuShape(const Image& image) {
  return image.size() >= MenuHeader::Size && (image.size() - MenuHeader::Size) % MenuItemRecord::Size == 0;
}

bool HasDialogShape(const Image& image) {
  return image.size() >= FirstControlOffset && (image.size() - FirstControlOffset) % ControlRecord::Size == 0 &&
         LoadU32(image, DialogHeader::formatTag) == DialogHeader::FormatTag;
}

}  // namespace

int RunDumpCommand(const std::string& path, std::ostream& out, std::ostream& err) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    err << "trellane: error: " << path << ": cannot read the file\n";
    return 1;
  }
  const Image image{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  const bool dialogName = EndsWith(path, ".dlg") || EndsWith(path, ".DLG");
  if (HasDialogShape(image) && (dialogName || !HasMenuShape(image))) {
    DumpDialogImage(image, out);
    return 0;
  }
  if (HasMenuShape(image)) {
    DumpMenuImage(image, out);
    return 0;
  }
  err << "trellane: error: " << path << ": " << image.size()
      << " bytes is the size of neither a menu nor a dialog record file\n";
  return 1;
}

}  // namespace trellane
