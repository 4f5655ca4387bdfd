#include "app/Converters.h"

#include <algorithm>
#include <cstdio>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <optional>
#include <unordered_set>
#include <vector>

#include "radasm/DialogWriter.h"
#include "radasm/MenuWriter.h"
#include "script/LanguageCodePage.h"
#include "script/Literals.h"
#include "script/ScriptReader.h"
#include "text/AsciiCase.h"

namespace trellane {
namespace {

WriterOptions MakeWriterOptions(ScriptReading& reading, const ConversionContext& context, const Language& language) {
  WriterOptions options;
  options.outputCodePage = OutputCodePage(context, language);
  options.warn = [&reading](const SourceLocation& location, const std::string& message) {
    reading.diagnostics.push_back(DiagnosticAt(reading.files, location, Severity::Warning, message));
  };
  return options;
}

// Picks the resource of the kind: the one named, or the first, with a
// warning naming the others.
template <typename Resource>
const Resource* ChooseResource(const std::vector<const Resource*>& candidates, ScriptReading& reading,
                               const ConversionContext& context, std::string_view keyword,
                               std::string_view plainKeyword, ConverterResult& result) {
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
                     "a further " + std::string(candidates[1]->extended ? keyword : plainKeyword) +
                         " resource is not converted; only the first one is (" + ResourceDisplayName(first->name) +
                         "; not " + others + "); --resource NAME chooses another"));
  }
  return first;
}

ConverterResult Finish(ScriptReading& reading, ConverterResult& result) {
  result.diagnostics = std::move(reading.diagnostics);
  return std::move(result);
}

}  // namespace

ScriptReading ReadScript(std::string script, const ConversionContext& context) {
  NoIncludeFiles noIncludes;
  IncludeFileReader* includes = context.includes;
  if (!includes)
    includes = &noIncludes;
  ScriptReading reading = ReadResourceScript(context.scriptPath, std::move(script), context.preprocessor, *includes);
#if defined(__GLIBC__)
  // The reading frees its macros, tokens and texts in pieces that glibc keeps
  // among the model's; handing the free pages back before the images are
  // written takes 6 to 10 MB off the peak of a script of 30 MB.
  malloc_trim(0);
#endif
  return reading;
}

int OutputCodePage(const ConversionContext& context, const Language& language) {
  return context.outputCodePage.value_or(AnsiCodePage(language));
}

Image WriteMenu(const Menu& menu, ScriptReading& reading, const ConversionContext& context) {
  return WriteMenuFile(menu, MakeWriterOptions(reading, context, menu.language));
}

Image WriteDialog(const Dialog& dialog, ScriptReading& reading, const ConversionContext& context) {
  DialogWriterOptions options;
  options.writer = MakeWriterOptions(reading, context, dialog.language);
  options.metrics = context.metrics;
  options.requestMenuName = context.requestMenuName;
  return WriteDialogFile(dialog, options);
}

std::string ResourceDisplayName(const NameOrOrdinal& name) {
  if (!name.IsOrdinal())
    return std::string(name.Text());
  if (!name.Symbol().empty())
    return std::string(name.Symbol());
  return std::to_string(name.Value() & 0xFFFF);
}

bool ResourceNameMatches(const NameOrOrdinal& name, std::string_view wanted) {
  if (!name.IsOrdinal())
    return SameLetters(name.Text(), wanted);
  if (!name.Symbol().empty() && SameLetters(name.Symbol(), wanted))
    return true;
  const std::optional<NumberLiteral> number = ReadNumberLiteral(wanted);
  return number && (number->value & 0xFFFF) == (name.Value() & 0xFFFF);
}

namespace {

std::size_t RecordCount(const Menu& menu) {
  return menu.items.size();
}

std::size_t RecordCount(const Dialog& dialog) {
  return dialog.controls.size();
}

Image WriteResource(const Menu& menu, ScriptReading& reading, const ConversionContext& context) {
  return WriteMenu(menu, reading, context);
}

Image WriteResource(const Dialog& dialog, ScriptReading& reading, const ConversionContext& context) {
  return WriteDialog(dialog, reading, context);
}

// Reads the script and writes the first resource of the kind, or the one
// the context names.
template <typename Resource>
ConverterResult ConvertOne(std::string script, const ConversionContext& context,
                           std::vector<Resource> ResourceScript::*resources, std::string_view keyword,
                           std::string_view plainKeyword) {
  ConverterResult result;
  ScriptReading reading = ReadScript(std::move(script), context);
  if (!reading.ok) {
    result.scriptFailed = true;
    return Finish(reading, result);
  }
  std::vector<const Resource*> candidates;
  for (const Resource& resource : reading.resources.*resources)
    candidates.push_back(&resource);
  const Resource* chosen = ChooseResource(candidates, reading, context, keyword, plainKeyword, result);
  if (!chosen)
    return Finish(reading, result);
  result.image = WriteResource(*chosen, reading, context);
  result.recordCount = RecordCount(*chosen);
  result.resourceName = ResourceDisplayName(chosen->name);
  result.textCodePage = OutputCodePage(context, chosen->language);
  return Finish(reading, result);
}

}  // namespace

ConverterResult ConvertMenuScript(std::string script, const ConversionContext& context) {
  return ConvertOne(std::move(script), context, &ResourceScript::menus, "MENUEX", "MENU");
}

ConverterResult ConvertDialogScript(std::string script, const ConversionContext& context) {
  return ConvertOne(std::move(script), context, &ResourceScript::dialogs, "DIALOGEX", "DIALOG");
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

namespace {

std::string SafeFileStem(std::string_view name) {
  std::string stem;
  for (const char c : name.substr(0, 120)) {
    const bool plain =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '.';
    stem.push_back(plain ? c : '_');
  }
  while (!stem.empty() && stem.back() == '.')
    stem.pop_back();
  if (stem.empty() || stem.front() == '.')
    stem.insert(stem.begin(), '_');
  // Names Windows keeps for devices, with or without an extension.
  static constexpr std::string_view Devices[] = {"CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4",
                                                 "COM5", "COM6", "COM7", "COM8", "COM9", "LPT1", "LPT2", "LPT3",
                                                 "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};
  const std::string_view base = std::string_view(stem).substr(0, stem.find('.'));
  for (const std::string_view device : Devices) {
    if (SameLetters(base, device)) {
      stem.insert(base.size(), "_");
      break;
    }
  }
  return stem;
}

std::string LanguageSuffix(const Language& language) {
  char suffix[8];
  std::snprintf(suffix, sizeof suffix, "-%04x", static_cast<unsigned>(language.Id()));
  return suffix;
}

}  // namespace

std::vector<std::string> ResourceFileNames(const ResourceScript& resources) {
  std::vector<std::string> names;
  std::unordered_set<std::string> taken;  // lower case, as file systems that ignore case compare them
  for (const ResourceEntry& entry : resources.order) {
    const bool isMenu = entry.kind == ResourceKind::Menu;
    const NameOrOrdinal& name = isMenu ? resources.menus[entry.index].name : resources.dialogs[entry.index].name;
    const Language& language = isMenu ? resources.menus[entry.index].language : resources.dialogs[entry.index].language;
    const std::string extension = isMenu ? ".mnu" : ".dlg";
    const std::string stem = SafeFileStem(ResourceDisplayName(name));
    const auto isTaken = [&](const std::string& candidate) { return taken.count(AsciiLowered(candidate)) != 0; };
    std::string file = stem + extension;
    if (isTaken(file)) {
      const std::string variant = stem + LanguageSuffix(language);
      file = variant + extension;
      for (int number = 2; isTaken(file); ++number)
        file = variant + '-' + std::to_string(number).append(extension);
    }
    taken.insert(AsciiLowered(file));
    names.push_back(std::move(file));
  }
  return names;
}

ScriptConverterResult ConvertWholeScript(std::string script, const ConversionContext& context,
                                         const ResourceSink& sink) {
  ScriptConverterResult result;
  ScriptReading reading = ReadScript(std::move(script), context);
  if (!reading.ok) {
    result.scriptFailed = true;
    result.diagnostics = std::move(reading.diagnostics);
    return result;
  }
  const ResourceScript& resources = reading.resources;
  const std::vector<std::string> fileNames = ResourceFileNames(resources);

  // The file of the menu a dialog names: one of the dialog's language first.
  const auto menuFile = [&](const Dialog& dialog) -> std::optional<std::string> {
    std::optional<std::string> found;
    for (std::size_t i = 0; i < resources.order.size(); ++i) {
      const ResourceEntry& entry = resources.order[i];
      if (entry.kind != ResourceKind::Menu)
        continue;
      const Menu& menu = resources.menus[entry.index];
      const NameOrOrdinal& wanted = *dialog.menu;
      const bool same = wanted.IsOrdinal()
                            ? menu.name.IsOrdinal() && (menu.name.Value() & 0xFFFF) == (wanted.Value() & 0xFFFF)
                            : !menu.name.IsOrdinal() && SameLetters(menu.name.Text(), wanted.Text());
      if (!same)
        continue;
      if (menu.language.Id() == dialog.language.Id())
        return fileNames[i];
      if (!found)
        found = fileNames[i];
    }
    return found;
  };

  for (std::size_t i = 0; i < resources.order.size(); ++i) {
    const ResourceEntry& entry = resources.order[i];
    ConvertedResource converted;
    converted.fileName = fileNames[i];
    if (entry.kind == ResourceKind::Menu) {
      const Menu& menu = resources.menus[entry.index];
      converted.isMenu = true;
      converted.resourceName = ResourceDisplayName(menu.name);
      converted.recordCount = menu.items.size();
      converted.image = WriteMenu(menu, reading, context);
    } else {
      const Dialog& dialog = resources.dialogs[entry.index];
      converted.resourceName = ResourceDisplayName(dialog.name);
      converted.recordCount = dialog.controls.size();
      ConversionContext dialogContext = context;
      if (dialog.menu) {
        if (const std::optional<std::string> file = menuFile(dialog)) {
          if (file->size() > 31)
            reading.diagnostics.push_back(
                DiagnosticAt(reading.files, dialog.location, Severity::Warning,
                             "the menu file name " + *file + " is longer than 31 characters; it is cut"));
          const std::string name = file->substr(0, 31);
          dialogContext.requestMenuName = [name](MenuNameSlot& slot) {
            std::copy(name.begin(), name.end(), slot.begin());
            slot[name.size()] = '\0';
          };
        }
      }
      converted.image = WriteDialog(dialog, reading, dialogContext);
    }
    sink(std::move(converted));
  }
  result.resourceCount = resources.order.size();
  result.diagnostics = std::move(reading.diagnostics);
  return result;
}

ConverterTable ProgramConverters() {
  ConverterTable table;
  table.menu = [](std::string script, const ConversionContext& context) {
    return ConvertMenuScript(std::move(script), context);
  };
  table.dialog = [](std::string script, const ConversionContext& context) {
    return ConvertDialogScript(std::move(script), context);
  };
  table.all = [](std::string script, const ConversionContext& context, const ResourceSink& sink) {
    return ConvertWholeScript(std::move(script), context, sink);
  };
  return table;
}

}  // namespace trellane
