#include "radasm/DialogRecordFile.h"

#include <string>

#include "text/TextPrimitives.h"

namespace trellane {

constexpr std::array<ControlClass, 37> ControlClassTable{{
    {"systabcontrol32", 11, 11},
    {"msctls_progress32", 12, 12},
    {"systreeview32", 13, 13},
    {"syslistview32", 14, 14},
    {"msctls_trackbar32", 15, 15},
    {"msctls_updown32", 16, 16},
    {"toolbarwindow32", 18, 18},
    {"msctls_statusbar32", 19, 19},
    {"sysdatetimepick32", 20, 20},
    {"sysmonthcal32", 21, 21},
    {"richedit20a", 22, 22},
    {"udcclass", 23, 23},
    {"comboboxex32", 24, 24},
    {"sysipaddress32", 26, 26},
    {"sysanimate32", 27, 27},
    {"msctls_hotkey32", 28, 28},
    {"syspager", 29, 29},
    {"rebarwindow32", 31, 31},
    {"sysheader32", 32, 32},
    {"cadclass", 33, 290},
    {"raedit", 34, 260},
    {"rahexedit", 35, 261},
    {"ragrid", 36, 280},
    {"spread_sheet", 37, 256},
    {"web_browser", 38, 258},
    {"rafilebrowser", 39, 300},
    {"racodecomplete", 40, 301},
    {"ratooltip", 41, 302},
    {"hyperlink", 42, 12345},
    {"ragrad", 43, 88888},
    {"ravideo", 44, 902},
    {"edit", 1, 1},
    {"static", 2, 2},
    {"button", 4, 4},
    {"combobox", 7, 7},
    {"listbox", 8, 8},
    {"scrollbar", 9, 9},
}};

namespace {

// No name holds an earlier one, so a field that is one of the names is
// found by that name before any other.
constexpr bool NoNameHoldsAnEarlierOne() {
  for (std::size_t later = 0; later < ControlClassTable.size(); ++later) {
    for (std::size_t earlier = 0; earlier < later; ++earlier) {
      if (ControlClassTable[later].name.find(ControlClassTable[earlier].name) != std::string_view::npos)
        return false;
    }
  }
  return true;
}
static_assert(NoNameHoldsAnEarlierOne());

}  // namespace

const ControlClass* LookUpControlClass(std::string_view classField) {
  // Class fields are short: lower-case them on the stack when they fit.
  std::array<char, 64> shortField;  // not zeroed: only the field and its NUL are read
  std::string longField;
  char* lowered = shortField.data();
  if (classField.size() >= shortField.size()) {
    longField.assign(classField);
    lowered = longField.data();
  } else {
    classField.copy(lowered, classField.size());
    lowered[classField.size()] = '\0';
  }
  LowerAscii(lowered);
  const std::string_view text(lowered);
  // Most fields are a name as it stands (Button, SysListView32): comparing
  // whole names first spares the search for each name inside the field.
  for (const ControlClass& row : ControlClassTable) {
    if (row.name == text)
      return &row;
  }
  for (const ControlClass& row : ControlClassTable) {
    if (row.name.size() <= text.size() && text.find(row.name) != std::string_view::npos)
      return &row;
  }
  return nullptr;
}

}  // namespace trellane
