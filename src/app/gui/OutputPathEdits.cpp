#include "app/gui/OutputPathEdits.h"

#include "text/TextPrimitives.h"

namespace trellane {

void ProposeOutputPath(const char* chosenPath, const char* fileName, char* workBuffer) {
  DirectoryOfPath(chosenPath, workBuffer);
  AppendText(workBuffer, fileName);
}

void ChangeExtension(const char* extension, char* workBuffer) {
  // Position 0 is never examined: a leading dot is a name, not an extension.
  for (int position = TextLength(workBuffer); position >= 1; --position) {
    if (workBuffer[position] == '.') {
      workBuffer[position] = '\0';
      AppendText(workBuffer, extension);
      return;
    }
    if (workBuffer[position] == '\\') {
      AppendText(workBuffer, extension);
      return;
    }
  }
}

}  // namespace trellane
