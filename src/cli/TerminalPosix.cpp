#include "cli/Terminal.h"

#include <unistd.h>

namespace trellane {

bool StandardInputIsTerminal() {
  return isatty(STDIN_FILENO) == 1;
}

}  // namespace trellane
