#include <unistd.h>

#include "cli/Terminal.h"

namespace trellane {

bool StandardInputIsTerminal() {
  return isatty(STDIN_FILENO) == 1;
}

}  // namespace trellane
