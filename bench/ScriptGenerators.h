// Generated resource scripts for the benchmarks: a MENUEX menu and a DIALOGEX
// dialog of any size, each with a #define line per identifier, a dialog that
// takes its names from a large header, and a script of many of both. All are
// written in pieces, so generating a script adds little to a process's peak.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>

namespace trellane::bench {

// A menu of items items in pop-ups of 50, with separators and shortcuts,
// and a #define line for each item; CR LF line ends.
void WriteMenuScript(std::ostream& out, std::size_t items);

// A dialog of controls CONTROL statements (edit fields and check boxes) and
// a #define line for each; CR LF line ends.
void WriteDialogScript(std::ostream& out, std::size_t controls);

// A header of count #define lines, IDD_ and IDC_ names with numbers, aligned
// as resource.h files are: 52 bytes a line.
void WriteHeaderDefines(std::ostream& out, std::size_t count);

// A script that includes <windows.h> and header (written by
// WriteHeaderDefines with defines lines) and holds one DIALOGEX of controls
// controls named from all over the header, with symbolic styles: CONTROL,
// EDITTEXT, LTEXT, PUSHBUTTON and COMBOBOX in turn.
void WriteHeaderDialogScript(std::ostream& out, const std::string& header, std::size_t defines, std::size_t controls);

// The size of each resource of WriteWholeScript.
constexpr std::size_t WholeScriptControls = 100;
constexpr std::size_t WholeScriptMenuItems = 100;

// A script of menus MENUEX menus of WholeScriptMenuItems items, then dialogs
// DIALOGEX dialogs of WholeScriptControls controls; every tenth dialog names
// a menu. Every name and identifier has a #define line.
void WriteWholeScript(std::ostream& out, std::size_t dialogs, std::size_t menus);

// Number of items or controls that gives a script of about bytes bytes.
std::size_t MenuItemsForBytes(std::size_t bytes);
std::size_t DialogControlsForBytes(std::size_t bytes);

}  // namespace trellane::bench
