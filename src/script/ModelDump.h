// A readable dump of the resource model: one line per resource, statement,
// control and menu item, every value the front end read.
#pragma once

#include <ostream>

#include "script/ResourceModel.h"

namespace trellane {

void DumpResourceModel(const ResourceScript& resources, std::ostream& out);

}  // namespace trellane
