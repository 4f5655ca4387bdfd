// Generated resource scripts for the benchmarks: a MENUEX menu and a DIALOGEX
// dialog of any size, each with a #define line per identifier. Both are
// written in pieces, so generating a script adds little to a process's peak.
#pragma once

#include <cstddef>
#include <ostream>

namespace trellane::bench {

// A menu of items items in pop-ups of 50, with separators and shortcuts,
// and a #define line for each item; CR LF line ends.
void WriteMenuScript(std::ostream& out, std::size_t items);

// A dialog of controls CONTROL statements (edit fields and check boxes) and
// a #define line for each; CR LF line ends.
void WriteDialogScript(std::ostream& out, std::size_t controls);

// Number of items or controls that gives a script of about bytes bytes.
std::size_t MenuItemsForBytes(std::size_t bytes);
std::size_t DialogControlsForBytes(std::size_t bytes);

}  // namespace trellane::bench
