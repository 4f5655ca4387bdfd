#include "cli/Terminal.h"

#include <io.h>
#include <stdio.h>

namespace trellane {

bool StandardInputIsTerminal() {
  return _isatty(_fileno(stdin)) != 0;
}

}  // namespace trellane
