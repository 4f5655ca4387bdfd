// Valid random resource scripts for the oracle test: DIALOGEX, DIALOG,
// MENUEX and MENU resources with random optional statements, every kind of
// control, style expressions, escaped texts, nested pop-ups, macros,
// conditionals, comments and line breaks, and a few other resources between
// them. The same seed gives the same script.
#pragma once

#include <cstdint>
#include <string>

namespace trellane {

std::string GenerateResourceScript(std::uint32_t seed, int resourceCount);

}  // namespace trellane
