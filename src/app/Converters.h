// The converters the program offers, registered through the converter contract.
#pragma once

#include "app/ConversionJob.h"

namespace trellane {

ConverterTable ProgramConverters();

}  // namespace trellane
