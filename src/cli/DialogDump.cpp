#include <ostream>

#include "cli/CommandLine.h"
#include "radasm/DialogImageText.h"

namespace trellane {

void DumpDialogImage(const Image& image, std::ostream& out) {
  DescribeDialogImage(image, out);
}

}  // namespace trellane
