// Text changes the main window makes to the output path.
#pragma once

namespace trellane {

// Room for a 511-character path, a 4-character extension and the zero.
constexpr int PathBufferSize = 512;
constexpr int PathWorkBufferSize = PathBufferSize + 4 + 1;

// Puts the folder of chosenPath, last backslash included, followed by
// fileName into workBuffer (at least PathWorkBufferSize bytes).
void ProposeOutputPath(const char* chosenPath, const char* fileName, char* workBuffer);

// Replaces the extension of the path in workBuffer: the last '.' after the
// first character starts the old one, unless a '\' comes after it, in which
// case the extension is appended. A text with neither stays as it is.
void ChangeExtension(const char* extension, char* workBuffer);

}  // namespace trellane
