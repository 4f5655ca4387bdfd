// The parser: builds the resource model from the preprocessed tokens. Menus
// and dialogs are read whole; every other resource is recognised and
// stepped over, so that nothing inside one starts a menu or a dialog.
#pragma once

#include "script/Preprocessor.h"
#include "script/ResourceModel.h"
#include "script/SourceFiles.h"
#include "text/Diagnostics.h"

namespace trellane {

// Reads every resource of the token stream into resources. False after an
// error (in diagnostics) that stopped the reading.
bool ParseResourceScript(Preprocessor& tokens, const SourceFiles& files, ResourceScript& resources,
                         Diagnostics& diagnostics);

}  // namespace trellane
