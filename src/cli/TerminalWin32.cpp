#include <windows.h>

#include "cli/Terminal.h"

namespace trellane {

// _isatty also answers yes for NUL and other character devices; only a
// console has a console mode.
bool StandardInputIsTerminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

}  // namespace trellane
