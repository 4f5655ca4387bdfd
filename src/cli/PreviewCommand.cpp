#include <ostream>

#include "app/Converters.h"
#include "app/IncludeFiles.h"
#include "cli/CommandLine.h"
#include "preview/DialogPreview.h"
#include "preview/MenuPreview.h"
#include "preview/SvgWriter.h"
#include "script/SourceText.h"
#include "text/AsciiCase.h"
#ifdef TRELLANE_PNG
#include "preview/CairoPngWriter.h"
#endif

namespace trellane {
namespace {

bool EndsWithNoCase(const std::string& text, std::string_view ending) {
  if (text.size() < ending.size())
    return false;
  for (std::size_t i = 0; i < ending.size(); ++i) {
    if (AsciiLower(text[text.size() - ending.size() + i]) != ending[i])
      return false;
  }
  return true;
}

// What a picture is made from: a record file image and its kind.
struct PictureSource {
  bool ok = false;
  ConversionMode kind = ConversionMode::Dialog;
  Image image;
  int codePage = DefaultCodePage;  // of the image's texts
};

PictureSource ReadRecordFile(const std::string& path, ConversionMode kind, int codePage, std::ostream& err) {
  PictureSource source;
  std::string bytes;
  if (!ReadInputFile(path, "file", bytes, err))
    return source;
  source.image.assign(bytes.begin(), bytes.end());
  source.kind = kind;
  source.codePage = codePage;
  source.ok = true;
  return source;
}

// Converts the script in memory: its dialog, or its menu when it has no
// dialog (or none of the name asked for), unless --menu or --dialog decides.
PictureSource ConvertScript(const PreviewOptions& options, std::ostream& err) {
  PictureSource source;
  const ScriptOptions& script = options.convert.script;
  std::string bytes;
  if (!ReadInputFile(script.scriptPath, "script", bytes, err))
    return source;

  FileIncludeReader includes;
  ConversionContext context;
  context.scriptPath = script.scriptPath;
  context.preprocessor = MakePreprocessorOptions(script);
  context.includes = &includes;
  context.resourceName = script.resource;
  context.outputCodePage = script.outputCodePage;
  const std::unique_ptr<DisplayMetrics> metrics = MakeCommandLineMetrics(options.convert);
  context.metrics = metrics.get();
  Diagnostics promptWarnings;
  if (options.convert.menuName) {
    context.requestMenuName = MakeCommandLineMenuNameRequest(options.convert, promptWarnings);
  } else {
    // Any name will do: it only tells the picture to draw a menu bar.
    context.requestMenuName = [](MenuNameSlot& slot) { slot = MenuNameSlot{'m', 'e', 'n', 'u'}; };
  }

  ConverterResult converted;
  bool menu = options.menu;
  if (!menu) {
    converted = ConvertDialogScript(bytes, context);
    const bool noDialog = !converted.scriptFailed && converted.image.empty();
    menu = noDialog && !options.dialog;
  }
  if (menu)
    converted = ConvertMenuScript(std::move(bytes), context);
  PrintDiagnostics(script.scriptPath, converted.diagnostics, err);
  PrintDiagnostics(script.scriptPath, promptWarnings, err);
  if (converted.image.empty()) {
    err << "trellane: error: " << script.scriptPath << ": ";
    if (converted.scriptFailed)
      err << "the script has errors";
    else if (script.resource)
      err << "no "
          << (options.menu     ? "MENUEX menu"
              : options.dialog ? "DIALOGEX dialog"
                               : "DIALOGEX dialog or MENUEX menu")
          << " named " << *script.resource;
    else
      err << "no "
          << (options.menu     ? "MENUEX menu"
              : options.dialog ? "DIALOGEX dialog"
                               : "DIALOGEX dialog and no MENUEX menu");
    err << "; nothing drawn\n";
    return source;
  }
  source.kind = menu ? ConversionMode::Menu : ConversionMode::Dialog;
  source.image = std::move(converted.image);
  source.codePage = converted.textCodePage;
  source.ok = true;
  return source;
}

}  // namespace

int RunPreviewCommand(const PreviewOptions& options, std::ostream& out, std::ostream& err) {
  const std::string& input = options.convert.script.scriptPath;
  const std::string& output = options.convert.outputPath;
  const bool png = EndsWithNoCase(output, ".png");
  if (!png && !EndsWithNoCase(output, ".svg")) {
    err << "trellane: error: " << output << ": a picture's name ends in .svg or .png\n";
    return 1;
  }
#ifndef TRELLANE_PNG
  if (png) {
    err << "trellane: error: " << output << ": this build writes SVG only\n";
    return 1;
  }
#endif

  const int recordCodePage = options.convert.script.outputCodePage.value_or(DefaultCodePage);
  PictureSource source;
  if (EndsWithNoCase(input, ".dlg"))
    source = ReadRecordFile(input, ConversionMode::Dialog, recordCodePage, err);
  else if (EndsWithNoCase(input, ".mnu"))
    source = ReadRecordFile(input, ConversionMode::Menu, recordCodePage, err);
  else
    source = ConvertScript(options, err);
  if (!source.ok)
    return 1;

  const int codePage = source.codePage;
  const SceneBuild build = source.kind == ConversionMode::Dialog ? BuildDialogScene(source.image, codePage)
                                                                 : BuildMenuScene(source.image, codePage);
  if (!build.ok) {
    err << "trellane: error: " << input << ": " << build.problem << '\n';
    return 1;
  }

  Image picture;
  if (png) {
#ifdef TRELLANE_PNG
    PngPicture drawn = WritePng(build.scene);
    if (!drawn.ok) {
      err << "trellane: error: " << output << ": cannot draw the picture: " << drawn.problem << '\n';
      return 1;
    }
    picture = std::move(drawn.bytes);
#endif
  } else {
    const std::string svg = WriteSvg(build.scene);
    picture.assign(svg.begin(), svg.end());
  }

  const std::unique_ptr<FileService> files = MakePlatformFileService();
  FileIdentity inputIdentity;
  FileIdentity outputIdentity;
  if (files->IdentityOfPath(input, inputIdentity) && files->IdentityOfPath(output, outputIdentity) &&
      inputIdentity == outputIdentity) {
    err << "trellane: error: " << output << ": the picture would replace its own input\n";
    return 1;
  }
  const ConversionReport report = ReplaceOutputFile(*files, output, picture);
  if (report.outcome != ConversionOutcome::Written) {
    err << "trellane: error: " << output << ": cannot write the picture"
        << (report.detail.empty() ? std::string() : ": " + report.detail) << '\n';
    return 1;
  }
  const bool dialog = source.kind == ConversionMode::Dialog;
  out << "wrote " << output << ": " << (dialog ? "dialog " : "menu ") << build.scene.title << ", " << build.scene.width
      << "x" << build.scene.height << " pixels, " << build.recordCount << (dialog ? " control" : " item")
      << (build.recordCount == 1 ? "" : "s") << '\n';
  return 0;
}

}  // namespace trellane
