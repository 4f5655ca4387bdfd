// The converters the program offers: each reads the script with the front
// end, chooses its resource and writes it with the record writer.
#pragma once

#include <string>
#include <string_view>

#include "app/ConversionJob.h"
#include "script/ResourceModel.h"

namespace trellane {

ConverterTable ProgramConverters();

// The first MENUEX menu, or the one context.resourceName names.
ConverterResult ConvertMenuScript(std::string script, const ConversionContext& context);

// The first DIALOGEX dialog, or the one context.resourceName names.
ConverterResult ConvertDialogScript(std::string script, const ConversionContext& context);

// The same for a script in memory that includes nothing but the built-in headers.
ConverterResult ConvertMenuScript(std::string_view script);
ConverterResult ConvertDialogScript(std::string_view script, DisplayMetrics& metrics,
                                    const MenuNameRequest& requestMenuName);

// A resource's name as people write it: the macro or name of the script, or the number.
std::string ResourceDisplayName(const NameOrOrdinal& name);

// Whether --resource wanted names this resource: its name or macro in any
// letter case, or its number.
bool ResourceNameMatches(const NameOrOrdinal& name, std::string_view wanted);

// Reads includes from nowhere: only the built-in Windows headers are found.
class NoIncludeFiles final : public IncludeFileReader {
 public:
  IncludeFile Read(const std::string&) override { return {}; }
};

}  // namespace trellane
