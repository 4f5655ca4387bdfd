#include <ostream>

#include "cli/CommandLine.h"

namespace trellane {

void DumpDialogImage(const Image& image, std::ostream& out) {
  out << "dialog record file, " << image.size() << " bytes\n";
}

}  // namespace trellane
