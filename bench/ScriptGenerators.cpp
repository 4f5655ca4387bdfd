#include "ScriptGenerators.h"

#include <sstream>
#include <string>

namespace trellane::bench {
namespace {

constexpr std::size_t ChunkBytes = 1 << 16;

void Flush(std::ostream& out, std::string& chunk, bool always = false) {
  if (always || chunk.size() > ChunkBytes) {
    out << chunk;
    chunk.clear();
  }
}

// Bytes per item of a generator, from a sample large enough to average out
// the header and the growing digit counts.
template <typename Write>
std::size_t CountForBytes(std::size_t bytes, Write write) {
  constexpr std::size_t Sample = 10000;
  std::ostringstream sample;
  write(sample, Sample);
  const double perItem = static_cast<double>(sample.str().size()) / static_cast<double>(Sample);
  const auto count = static_cast<std::size_t>(static_cast<double>(bytes) / perItem);
  return count > 0 ? count : 1;
}

}  // namespace

void WriteMenuScript(std::ostream& out, std::size_t items) {
  std::string chunk;
  out << "// Generated menu of " << items << " items.\r\n\r\n#define IDR_BENCH 100\r\n";
  for (std::size_t i = 0; i < items; ++i) {
    chunk += "#define IDM_" + std::to_string(i) + " " + std::to_string(1000 + i) + "\r\n";
    Flush(out, chunk);
  }
  chunk += "\r\nIDR_BENCH MENUEX\r\nBEGIN\r\n";
  static const char* const Shortcuts[] = {"Ctrl+O", "Ctrl+Shift+S", "Alt+F4", "F10", "Del", "Ctrl+PgUp"};
  constexpr std::size_t PopupSize = 50;
  for (std::size_t i = 0; i < items; ++i) {
    const std::string id = std::to_string(i);
    if (i % PopupSize == 0) {
      if (i > 0)
        chunk += "  END\r\n";
      chunk += "  POPUP \"Menu " + id + "\",0,0x4000\r\n  BEGIN\r\n";
    } else if (i % 7 == 0) {
      chunk += "    MENUITEM \"\",0,0x00000800\r\n";
    } else {
      chunk += "    MENUITEM \"Item " + id + "\\t" + Shortcuts[i % 6] + "\",IDM_" + id + ",0x0,0x" +
               std::to_string(i % 9) + "\r\n";
    }
    Flush(out, chunk);
  }
  chunk += "  END\r\nEND\r\n";
  Flush(out, chunk, true);
}

void WriteDialogScript(std::ostream& out, std::size_t controls) {
  std::string chunk = "#define IDD_MAIN 100\r\n";
  for (std::size_t i = 0; i < controls; ++i) {
    chunk += "#define IDC_CTL" + std::to_string(i) + " " + std::to_string(1000 + i) + "\r\n";
    Flush(out, chunk);
  }
  chunk +=
      "IDD_MAIN DIALOGEX 0, 0, 400, 300\r\nSTYLE 0x10CC0000\r\nCAPTION \"Bench\"\r\n"
      "FONT 8, \"MS Sans Serif\", 400, 0, 0x1\r\nBEGIN\r\n";
  for (std::size_t i = 0; i < controls; ++i) {
    chunk += "  CONTROL \"Item " + std::to_string(i) + "\", IDC_CTL" + std::to_string(i) +
             (i % 2 ? ", \"Button\", 0x50010003, " : ", \"Edit\", 0x50010080, ") + std::to_string(i % 300) + ", " +
             std::to_string(i % 200) + ", 60, 12, 0x00000200\r\n";
    Flush(out, chunk);
  }
  chunk += "END\r\n";
  Flush(out, chunk, true);
}

std::size_t MenuItemsForBytes(std::size_t bytes) {
  return CountForBytes(bytes, WriteMenuScript);
}

std::size_t DialogControlsForBytes(std::size_t bytes) {
  return CountForBytes(bytes, WriteDialogScript);
}

}  // namespace trellane::bench
