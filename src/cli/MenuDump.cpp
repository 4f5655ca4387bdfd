#include <ostream>

#include "cli/CommandLine.h"
#include "radasm/MenuImageText.h"

namespace trellane {

void DumpMenuImage(const Image& image, std::ostream& out) {
  DescribeMenuImage(image, out);
}

}  // namespace trellane
