#include "ScriptGenerators.h"

#include <algorithm>
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

// Appends each part in turn, without the temporaries that + makes.
template <typename... Parts>
void Append(std::string& chunk, const Parts&... parts) {
  (chunk += ... += parts);
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

// The items of a MENUEX from BEGIN to END: pop-ups of 50 with separators
// and shortcuts; item i is IDM_i.
void AppendMenuBody(std::ostream& out, std::string& chunk, std::size_t items) {
  chunk += "BEGIN\r\n";
  static const char* const Shortcuts[] = {"Ctrl+O", "Ctrl+Shift+S", "Alt+F4", "F10", "Del", "Ctrl+PgUp"};
  constexpr std::size_t PopupSize = 50;
  for (std::size_t i = 0; i < items; ++i) {
    const std::string id = std::to_string(i);
    if (i % PopupSize == 0) {
      if (i > 0)
        chunk += "  END\r\n";
      Append(chunk, "  POPUP \"Menu ", id, "\",0,0x4000\r\n  BEGIN\r\n");
    } else if (i % 7 == 0) {
      chunk += "    MENUITEM \"\",0,0x00000800\r\n";
    } else {
      Append(chunk, "    MENUITEM \"Item ", id, "\\t", Shortcuts[i % 6], "\",IDM_", id, ",0x0,0x",
             std::to_string(i % 9), "\r\n");
    }
    Flush(out, chunk);
  }
  chunk += "  END\r\nEND\r\n";
}

// The CONTROL lines of a DIALOGEX, edit fields and check boxes; control i is IDC_CTLi.
void AppendControls(std::ostream& out, std::string& chunk, std::size_t controls) {
  for (std::size_t i = 0; i < controls; ++i) {
    const std::string id = std::to_string(i);
    Append(chunk, "  CONTROL \"Item ", id, "\", IDC_CTL", id,
           i % 2 ? ", \"Button\", 0x50010003, " : ", \"Edit\", 0x50010080, ", std::to_string(i % 300), ", ",
           std::to_string(i % 200), ", 60, 12, 0x00000200\r\n");
    Flush(out, chunk);
  }
}

// A number as four digits at least, so that names sort as they are written.
std::string Padded(std::size_t number) {
  std::string digits = std::to_string(number);
  return std::string(digits.size() < 4 ? 4 - digits.size() : 0, '0') + digits;
}

// Define k of the header: every twentieth a dialog, the others controls.
std::string HeaderName(std::size_t k) {
  return (k % 20 == 0 ? "IDD_SETTINGS_PAGE_" : "IDC_SETTINGS_FIELD_") + Padded(k);
}

}  // namespace

void WriteMenuScript(std::ostream& out, std::size_t items) {
  std::string chunk;
  out << "// Generated menu of " << items << " items.\r\n\r\n#define IDR_BENCH 100\r\n";
  for (std::size_t i = 0; i < items; ++i) {
    chunk += "#define IDM_" + std::to_string(i) + " " + std::to_string(1000 + i) + "\r\n";
    Flush(out, chunk);
  }
  chunk += "\r\nIDR_BENCH MENUEX\r\n";
  AppendMenuBody(out, chunk, items);
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
  AppendControls(out, chunk, controls);
  chunk += "END\r\n";
  Flush(out, chunk, true);
}

void WriteHeaderDefines(std::ostream& out, std::size_t count) {
  std::string chunk = "// Generated header of " + std::to_string(count) + " identifiers.\r\n";
  for (std::size_t k = 0; k < count; ++k) {
    std::string name = HeaderName(k);
    // Aligned as Visual Studio aligns resource.h.
    name.resize(std::max<std::size_t>(name.size(), 36), ' ');
    chunk += "#define " + name + " " + std::to_string(1000 + k) + "\r\n";
    Flush(out, chunk);
  }
  Flush(out, chunk, true);
}

void WriteHeaderDialogScript(std::ostream& out, const std::string& header, std::size_t defines, std::size_t controls) {
  // Names from all over the header, so that every lookup is one of many.
  const std::size_t stride = std::max<std::size_t>(defines / std::max<std::size_t>(controls, 1), 1);
  const auto control = [&](std::size_t i) {
    const std::size_t k = (i * stride) % defines;
    return HeaderName(k % 20 == 0 ? k + 1 : k);
  };
  std::string chunk = "#include <windows.h>\r\n#include \"" + header + "\"\r\n\r\n" +
                      HeaderName(defines > 20 ? (defines - 1) / 20 * 20 : 0) +
                      " DIALOGEX 0, 0, 420, 320\r\n"
                      "STYLE DS_SETFONT | DS_MODALFRAME | DS_FIXEDSYS | WS_POPUP | WS_CAPTION | WS_SYSMENU\r\n"
                      "EXSTYLE WS_EX_CONTROLPARENT\r\nCAPTION \"Settings\"\r\n"
                      "FONT 8, \"MS Shell Dlg\", 400, 0, 0x1\r\nBEGIN\r\n";
  for (std::size_t i = 0; i < controls; ++i) {
    const std::string n = std::to_string(i);
    const std::string place = std::to_string(7 + i % 4 * 100) + ", " + std::to_string(7 + i / 4 % 25 * 12);
    switch (i % 5) {
      case 0:
        Append(chunk, "    CONTROL         \"Option ", n, "\", ", control(i),
               ", \"Button\", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX | WS_TABSTOP, ", place, ", 90, 10\r\n");
        break;
      case 1:
        Append(chunk, "    EDITTEXT        ", control(i), ", ", place, ", 90, 12, ES_AUTOHSCROLL | NOT WS_BORDER\r\n");
        break;
      case 2:
        Append(chunk, "    LTEXT           \"Label ", n, ":\", ", control(i), ", ", place, ", 60, 8\r\n");
        break;
      case 3:
        Append(chunk, "    PUSHBUTTON      \"Button ", n, "\", ", control(i), ", ", place, ", 50, 14, WS_GROUP\r\n");
        break;
      default:
        Append(chunk, "    COMBOBOX        ", control(i), ", ", place,
               ", 90, 60, CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP\r\n");
        break;
    }
    Flush(out, chunk);
  }
  chunk += "END\r\n";
  Flush(out, chunk, true);
}

void WriteWholeScript(std::ostream& out, std::size_t dialogs, std::size_t menus) {
  std::string chunk =
      "// Generated script of " + std::to_string(dialogs) + " dialogs and " + std::to_string(menus) + " menus.\r\n\r\n";
  for (std::size_t i = 0; i < WholeScriptControls; ++i)
    chunk += "#define IDC_CTL" + std::to_string(i) + " " + std::to_string(1000 + i) + "\r\n";
  for (std::size_t i = 0; i < WholeScriptMenuItems; ++i)
    chunk += "#define IDM_" + std::to_string(i) + " " + std::to_string(2000 + i) + "\r\n";
  for (std::size_t d = 0; d < dialogs; ++d)
    chunk += "#define IDD_PAGE_" + Padded(d) + " " + std::to_string(10000 + d) + "\r\n";
  for (std::size_t m = 0; m < menus; ++m)
    chunk += "#define IDR_MENU_" + Padded(m) + " " + std::to_string(30000 + m) + "\r\n";
  Flush(out, chunk);
  for (std::size_t m = 0; m < menus; ++m) {
    chunk += "\r\nIDR_MENU_" + Padded(m) + " MENUEX\r\n";
    AppendMenuBody(out, chunk, WholeScriptMenuItems);
  }
  for (std::size_t d = 0; d < dialogs; ++d) {
    chunk += "\r\nIDD_PAGE_" + Padded(d) + " DIALOGEX 0, 0, 400, 300\r\nSTYLE 0x10CC0000\r\n";
    // Every tenth dialog names a menu, as main windows do.
    if (d % 10 == 0 && d / 10 < menus)
      chunk += "MENU IDR_MENU_" + Padded(d / 10) + "\r\n";
    chunk += "CAPTION \"Page " + std::to_string(d) + "\"\r\nFONT 8, \"MS Sans Serif\", 400, 0, 0x1\r\nBEGIN\r\n";
    AppendControls(out, chunk, WholeScriptControls);
    chunk += "END\r\n";
  }
  Flush(out, chunk, true);
}

std::size_t MenuItemsForBytes(std::size_t bytes) {
  return CountForBytes(bytes, WriteMenuScript);
}

std::size_t DialogControlsForBytes(std::size_t bytes) {
  return CountForBytes(bytes, WriteDialogScript);
}

}  // namespace trellane::bench
