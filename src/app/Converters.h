// The converters the program offers: each reads the script with the front
// end, chooses its resource and writes it with the record writer.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/ConversionJob.h"
#include "script/ResourceModel.h"
#include "script/ScriptReader.h"

namespace trellane {

ConverterTable ProgramConverters();

// The first menu (MENU or MENUEX), or the one context.resourceName names.
ConverterResult ConvertMenuScript(std::string script, const ConversionContext& context);

// The first dialog (DIALOG or DIALOGEX), or the one context.resourceName names.
ConverterResult ConvertDialogScript(std::string script, const ConversionContext& context);

// Reads a script with the context's includes and options.
ScriptReading ReadScript(std::string script, const ConversionContext& context);

// The record file image of one menu or dialog of a reading; the writers'
// warnings join the reading's diagnostics.
// The code page a resource's texts are written in: --output-code-page, or its language's.
int OutputCodePage(const ConversionContext& context, const Language& language);

Image WriteMenu(const Menu& menu, ScriptReading& reading, const ConversionContext& context);
Image WriteDialog(const Dialog& dialog, ScriptReading& reading, const ConversionContext& context);

// The same for a script in memory that includes nothing but the built-in headers.
ConverterResult ConvertMenuScript(std::string_view script);
ConverterResult ConvertDialogScript(std::string_view script, DisplayMetrics& metrics,
                                    const MenuNameRequest& requestMenuName);

// Every menu and dialog of the script, each with its file name, handed to
// sink one at a time in script order. A dialog
// whose MENU statement names a menu of the script gets that menu's file name
// as its menu name; for any other, the context's request is asked.
ScriptConverterResult ConvertWholeScript(std::string script, const ConversionContext& context,
                                         const ResourceSink& sink);

// File names for the resources of a script in script order: the resource's
// name made safe for every file system, .mnu or .dlg, no two alike in any
// letter case (language variants get their language, then a number).
std::vector<std::string> ResourceFileNames(const ResourceScript& resources);

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
