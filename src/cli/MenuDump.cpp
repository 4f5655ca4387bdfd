#include <ostream>

#include "cli/CommandLine.h"

namespace trellane {

void DumpMenuImage(const Image& image, std::ostream& out) {
  out << "menu record file, " << image.size() << " bytes\n";
}

}  // namespace trellane
