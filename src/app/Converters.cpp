#include "app/Converters.h"

#include <algorithm>
#include <vector>

#include "radasm/DialogWriter.h"
#include "radasm/MenuWriter.h"
#include "script/Literals.h"
#include "script/ScriptReader.h"

namespace trellane {
namespace {

bool SameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

ScriptReading ReadScript(std::string script, const ConversionContext& context) {
  NoIncludeFiles noIncludes;
  IncludeFileReader& includes = context.includes ? *context.includes : noIncludes;
  return ReadResourceScript(context.scriptPath, std::move(script), context.preprocessor, includes);
}

WriterOptions MakeWriterOptions(ScriptReading& reading, const ConversionContext& context) {
  WriterOptions options;
  options.outputCodePage = context.outputCodePage;
  options.warn = [&reading](const SourceLocation& location, const std::string& message) {
    reading.diagnostics.push_back(DiagnosticAt(reading.files, location, Severity::Warning, message));
  };
  return options;
}

// Picks the resource of the kind: the one named, or the first, with a
// warning naming the others.
template <typename Resource>
const Resource* ChooseResource(const std::vector<const Resource*>& candidates, ScriptReading& reading,
                               const ConversionContext& context, std::string_view keyword, ConverterResult& result) {
  if (candidates.empty())
    return nullptr;
  result.keywordFound = true;
  if (context.resourceName) {
    for (const Resource* resource : candidates) {
      if (ResourceNameMatches(resource->name, *context.resourceName))
        return resource;
    }
    result.missingResource = *context.resourceName;
    return nullptr;
  }
  const Resource* first = candidates.front();
  if (candidates.size() > 1) {
    std::string others;
    for (std::size_t i = 1; i < candidates.size(); ++i)
      others += (i > 1 ? ", " : "") + ResourceDisplayName(candidates[i]->name);
    reading.diagnostics.push_back(
        DiagnosticAt(reading.files, candidates[1]->location, Severity::Warning,
                     "a further " + std::string(keyword) + " resource is not converted; only the first one is (" +
                         ResourceDisplayName(first->name) + "; not " + others + "); --resource NAME chooses another"));
  }
  return first;
}

ConverterResult Finish(ScriptReading& reading, ConverterResult& result) {
  result.diagnostics = std::move(reading.diagnostics);
  return std::move(result);
}

}  // namespace

std::string ResourceDisplayName(const NameOrOrdinal& name) {
  if (!name.isOrdinal)
    return name.text;
  if (!name.symbol.empty())
    return name.symbol;
  return std::to_string(name.ordinal & 0xFFFF);
}

bool ResourceNameMatches(const NameOrOrdinal& name, std::string_view wanted) {
  if (!name.isOrdinal)
    return SameLetters(name.text, wanted);
  if (!name.symbol.empty() && SameLetters(name.symbol, wanted))
    return true;
  const std::optional<NumberLiteral> number = ReadNumberLiteral(wanted);
  return number && (number->value & 0xFFFF) == (name.ordinal & 0xFFFF);
}

ConverterResult ConvertMenuScript(std::string script, const ConversionContext& context) {
  ConverterResult result;
  ScriptReading reading = ReadScript(std::move(script), context);
  if (!reading.ok) {
    result.scriptFailed = true;
    return Finish(reading, result);
  }
  std::vector<const Menu*> menus;
  for (const Menu& menu : reading.resources.menus) {
    if (menu.extended)
      menus.push_back(&menu);
  }
  const Menu* menu = ChooseResource(menus, reading, context, "MENUEX", result);
  if (!menu)
    return Finish(reading, result);
  result.image = WriteMenuFile(*menu, MakeWriterOptions(reading, context));
  result.recordCount = menu->items.size();
  result.resourceName = ResourceDisplayName(menu->name);
  return Finish(reading, result);
}

ConverterResult ConvertDialogScript(std::string script, const ConversionContext& context) {
  ConverterResult result;
  ScriptReading reading = ReadScript(std::move(script), context);
  if (!reading.ok) {
    result.scriptFailed = true;
    return Finish(reading, result);
  }
  std::vector<const Dialog*> dialogs;
  for (const Dialog& dialog : reading.resources.dialogs) {
    if (dialog.extended)
      dialogs.push_back(&dialog);
  }
  const Dialog* dialog = ChooseResource(dialogs, reading, context, "DIALOGEX", result);
  if (!dialog)
    return Finish(reading, result);
  DialogWriterOptions options;
  options.writer = MakeWriterOptions(reading, context);
  options.metrics = context.metrics;
  options.requestMenuName = context.requestMenuName;
  result.image = WriteDialogFile(*dialog, options);
  result.recordCount = dialog->controls.size();
  result.resourceName = ResourceDisplayName(dialog->name);
  return Finish(reading, result);
}

ConverterResult ConvertMenuScript(std::string_view script) {
  return ConvertMenuScript(std::string(script), ConversionContext{});
}

ConverterResult ConvertDialogScript(std::string_view script, DisplayMetrics& metrics,
                                    const MenuNameRequest& requestMenuName) {
  ConversionContext context;
  context.metrics = &metrics;
  context.requestMenuName = requestMenuName;
  return ConvertDialogScript(std::string(script), context);
}

ConverterTable ProgramConverters() {
  ConverterTable table;
  table.menu = [](std::string script, const ConversionContext& context) {
    return ConvertMenuScript(std::move(script), context);
  };
  table.dialog = [](std::string script, const ConversionContext& context) {
    return ConvertDialogScript(std::move(script), context);
  };
  return table;
}

}  // namespace trellane
