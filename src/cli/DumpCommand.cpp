#include <optional>
#include <ostream>
#include <string>

#include "cli/CommandLine.h"
#include "cli/JsonDump.h"
#include "radasm/DialogRecordFile.h"
#include "radasm/MenuRecordFile.h"
#include "script/SourceText.h"

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

enum class RecordFileKind { Menu, Dialog };

// Reads a record file and tells which kind it is; prints why when it is neither.
std::optional<RecordFileKind> ReadRecordFile(const std::string& path, Image& image, std::ostream& err) {
  std::string bytes;
  if (!ReadInputFile(path, "file", bytes, err))
    return std::nullopt;
  image.assign(bytes.begin(), bytes.end());
  const bool dialogName = EndsWith(path, ".dlg") || EndsWith(path, ".DLG");
  if (HasDialogShape(image) && (dialogName || !HasMenuShape(image)))
    return RecordFileKind::Dialog;
  if (HasMenuShape(image))
    return RecordFileKind::Menu;
  err << "trellane: error: " << path << ": " << image.size()
      << " bytes is the size of neither a menu nor a dialog record file\n";
  return std::nullopt;
}

}  // namespace

int RunDumpCommand(const std::string& path, std::ostream& out, std::ostream& err) {
  Image image;
  const std::optional<RecordFileKind> kind = ReadRecordFile(path, image, err);
  if (!kind)
    return 1;
  if (*kind == RecordFileKind::Dialog)
    DumpDialogImage(image, out);
  else
    DumpMenuImage(image, out);
  return 0;
}

int RunJsonDumpCommand(const std::string& path, std::optional<int> codePage, std::ostream& out, std::ostream& err) {
  const int textCodePage = codePage.value_or(DefaultCodePage);
  if (!IsKnownOutputCodePage(textCodePage)) {
    err << "trellane: error: --code-page " << textCodePage << ": not a code page of record files\n";
    return 2;
  }
  Image image;
  const std::optional<RecordFileKind> kind = ReadRecordFile(path, image, err);
  if (!kind)
    return 1;
  const std::optional<Json> document =
      *kind == RecordFileKind::Dialog ? DialogImageJson(image, textCodePage) : MenuImageJson(image, textCodePage);
  if (!document)
    return 1;
  out << JsonText(*document);
  return 0;
}

}  // namespace trellane
