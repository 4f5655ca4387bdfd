// The terminal the command runs on, where the platforms differ.
#pragma once

namespace trellane {

// Standard input is an interactive terminal.
bool StandardInputIsTerminal();

}  // namespace trellane
