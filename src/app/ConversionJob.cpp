#include "app/ConversionJob.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

namespace trellane {
namespace {

// Closes a handle when the scope ends, unless it was closed already.
class OpenFile {
 public:
  OpenFile(FileService& service, FileHandle opened) : files(service), handle(opened) {}
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  ~OpenFile() {
    if (open)
      files.Close(handle);
  }

  FileResult Close() {
    open = false;
    return files.Close(handle);
  }

  FileHandle Handle() const { return handle; }

 private:
  FileService& files;
  FileHandle handle;
  bool open = true;
};

ConversionReport Failed(ConversionOutcome outcome, std::string detail) {
  ConversionReport report;
  report.outcome = outcome;
  report.detail = std::move(detail);
  return report;
}

FileResult WriteWhole(FileService& files, FileHandle handle, const Image& image) {
  std::size_t done = 0;
  while (done < image.size()) {
    std::size_t written = 0;
    FileResult write = files.Write(handle, image.data() + done, image.size() - done, written);
    if (!write.ok)
      return write;
    if (written == 0)
      return FileResult::Failure("the disk took no more bytes");
    done += written;
  }
  return FileResult::Success();
}

}  // namespace

// Writes the image to a temporary file beside the target and renames it over
// the target only once every byte is on the disk; any failure leaves the
// target as it was and removes the temporary file.
ConversionReport ReplaceOutputFile(FileService& files, const std::string& outputPath, const Image& image) {
  const std::string target = files.ResolveOutputPath(outputPath);
  FileHandle handle = 0;
  std::string temporaryPath;
  const FileResult created = files.CreateTemporaryBeside(target, handle, temporaryPath);
  if (!created.ok)
    return Failed(ConversionOutcome::OutputNotWritable, created.error);
  FileResult result;
  {
    OpenFile temporary(files, handle);
    result = WriteWhole(files, handle, image);
    if (result.ok)
      result = files.Flush(handle);
    const FileResult closed = temporary.Close();
    if (result.ok)
      result = closed;
  }
  if (result.ok)
    result = files.Rename(temporaryPath, target);
  if (!result.ok) {
    files.Remove(temporaryPath);
    return Failed(ConversionOutcome::WriteFailed, result.error);
  }
  ConversionReport report;
  report.outcome = ConversionOutcome::Written;
  report.bytesWritten = image.size();
  return report;
}

namespace {

// Opens, checks and reads the script whole; a failure report when it cannot.
// outputPath, when not empty, must not be the script itself.
std::optional<ConversionReport> ReadSource(FileService& files, const std::string& sourcePath,
                                           const std::string& outputPath, std::string& script,
                                           FileIdentity& sourceIdentity, bool& identityKnown) {
  FileHandle handle = 0;
  const FileResult opened = files.OpenForReading(sourcePath, handle);
  if (!opened.ok)
    return Failed(ConversionOutcome::SourceUnreadable, opened.error);
  OpenFile source(files, handle);

  std::uint64_t size = 0;
  const FileResult sized = files.SizeOf(handle, size);
  if (!sized.ok)
    return Failed(ConversionOutcome::SourceUnreadable, sized.error);
  if (size > MaxScriptBytes)
    return Failed(ConversionOutcome::SourceTooLarge, std::to_string(size) + " bytes");

  identityKnown = files.IdentityOf(handle, sourceIdentity).ok;
  FileIdentity outputIdentity;
  if (identityKnown && !outputPath.empty() && files.IdentityOfPath(outputPath, outputIdentity) &&
      sourceIdentity == outputIdentity)
    return Failed(ConversionOutcome::OutputIsSource, {});

  const FileResult read = ReadOpenFile(files, handle, size, script);
  if (!read.ok)
    return Failed(ConversionOutcome::SourceUnreadable, read.error);
  return std::nullopt;
}

}  // namespace

ConversionReport RunConversion(const ConversionRequest& request, const ConversionContext& context,
                               const ConverterTable& converters, FileService& files) {
  std::string script;
  FileIdentity sourceIdentity;
  bool identityKnown = false;
  if (std::optional<ConversionReport> failed =
          ReadSource(files, request.sourcePath, request.outputPath, script, sourceIdentity, identityKnown))
    return std::move(*failed);

  const Converter& convert = request.mode == ConversionMode::Menu ? converters.menu : converters.dialog;
  ConversionContext scriptContext = context;
  scriptContext.scriptPath = request.sourcePath;
  ConverterResult converted = convert(std::move(script), scriptContext);
  if (converted.image.empty()) {
    ConversionOutcome outcome = ConversionOutcome::KeywordMissing;
    if (converted.scriptFailed)
      outcome = ConversionOutcome::ScriptInvalid;
    else if (!converted.missingResource.empty())
      outcome = ConversionOutcome::ResourceMissing;
    ConversionReport report = Failed(outcome, converted.missingResource);
    report.diagnostics = std::move(converted.diagnostics);
    return report;
  }

  ConversionReport report = ReplaceOutputFile(files, request.outputPath, converted.image);
  report.diagnostics = std::move(converted.diagnostics);
  report.recordCount = converted.recordCount;
  return report;
}

bool ScriptConversionReport::AllWritten() const {
  return outcome == ConversionOutcome::Written && std::all_of(files.begin(), files.end(), [](const WrittenFile& file) {
           return file.outcome == ConversionOutcome::Written;
         });
}

ScriptConversionReport RunScriptConversion(const std::string& sourcePath, const std::string& outputFolder,
                                           const ConversionContext& context, const ConverterTable& converters,
                                           FileService& files) {
  ScriptConversionReport report;
  std::string script;
  FileIdentity sourceIdentity;
  bool identityKnown = false;
  if (std::optional<ConversionReport> failed =
          ReadSource(files, sourcePath, {}, script, sourceIdentity, identityKnown)) {
    report.outcome = failed->outcome;
    report.detail = failed->detail;
    return report;
  }
  ConversionContext scriptContext = context;
  scriptContext.scriptPath = sourcePath;
  const bool separator = !outputFolder.empty() && outputFolder.back() != '/' && outputFolder.back() != '\\';
  // The folder is made when the first file is ready, so that a script that
  // fails leaves nothing behind.
  std::optional<FileResult> folder;
  const ResourceSink write = [&](ConvertedResource resource) {
    WrittenFile file;
    file.path = outputFolder + (separator ? "/" : "") + resource.fileName;
    file.resourceName = std::move(resource.resourceName);
    file.isMenu = resource.isMenu;
    file.recordCount = resource.recordCount;
    if (!folder)
      folder = outputFolder.empty() ? FileResult::Success() : files.CreateFolders(outputFolder);
    FileIdentity outputIdentity;
    if (!folder->ok) {
      file.outcome = ConversionOutcome::OutputNotWritable;
      file.detail = "cannot make the folder " + outputFolder + ": " + folder->error;
    } else if (identityKnown && files.IdentityOfPath(file.path, outputIdentity) && outputIdentity == sourceIdentity) {
      file.outcome = ConversionOutcome::OutputIsSource;
    } else {
      const ConversionReport written = ReplaceOutputFile(files, file.path, resource.image);
      file.outcome = written.outcome;
      file.detail = written.detail;
    }
    report.files.push_back(std::move(file));
  };
  ScriptConverterResult converted = converters.all(std::move(script), scriptContext, write);
  report.diagnostics = std::move(converted.diagnostics);
  if (converted.scriptFailed)
    report.outcome = ConversionOutcome::ScriptInvalid;
  else if (converted.resourceCount == 0)
    report.outcome = ConversionOutcome::KeywordMissing;
  else
    report.outcome = ConversionOutcome::Written;
  return report;
}

std::string_view ModeKeyword(ConversionMode mode) {
  return mode == ConversionMode::Menu ? "MENU or MENUEX" : "DIALOG or DIALOGEX";
}

std::string_view ProposedOutputName(ConversionMode mode) {
  return mode == ConversionMode::Menu ? "menu.mnu" : "dialog.dlg";
}

std::string ProposedOutputPath(const std::string& sourcePath, ConversionMode mode) {
  const std::size_t separator = sourcePath.find_last_of("/\\");
  const std::string folder = separator == std::string::npos ? std::string() : sourcePath.substr(0, separator + 1);
  return folder + std::string(ProposedOutputName(mode));
}

std::string_view StatusText(ConversionOutcome outcome, ConversionMode mode) {
  switch (outcome) {
    case ConversionOutcome::Written:
      return "Surgery is over!";
    case ConversionOutcome::SourceUnreadable:
    case ConversionOutcome::SourceTooLarge:
      return "Cannot open the script!";
    case ConversionOutcome::KeywordMissing:
    case ConversionOutcome::ResourceMissing:
      return mode == ConversionMode::Menu ? "No MENUEX resource found!" : "No DIALOGEX resource found!";
    case ConversionOutcome::ScriptInvalid:
      return "The script has errors!";
    case ConversionOutcome::OutputIsSource:
    case ConversionOutcome::OutputNotWritable:
    case ConversionOutcome::WriteFailed:
      break;
  }
  return "Cannot write the output!";
}

std::string DescribeFailure(const ConversionReport& report, const ConversionRequest& request) {
  const auto withDetail = [&](const std::string& text) {
    return report.detail.empty() ? text : text + ": " + report.detail;
  };
  switch (report.outcome) {
    case ConversionOutcome::Written:
      return {};
    case ConversionOutcome::SourceUnreadable:
      return request.sourcePath + ": " + withDetail("cannot read the script");
    case ConversionOutcome::SourceTooLarge:
      return request.sourcePath + ": " + withDetail("the script is larger than 1 GiB");
    case ConversionOutcome::KeywordMissing:
      return request.sourcePath + ": no " + std::string(ModeKeyword(request.mode)) + " resource found; nothing written";
    case ConversionOutcome::ScriptInvalid:
      return request.sourcePath + ": the script has errors; nothing written";
    case ConversionOutcome::ResourceMissing:
      return request.sourcePath + ": no " + std::string(ModeKeyword(request.mode)) + " resource named " +
             report.detail + "; nothing written";
    case ConversionOutcome::OutputIsSource:
      return request.outputPath + ": the output would replace the script itself; nothing written";
    case ConversionOutcome::OutputNotWritable:
      return request.outputPath + ": " + withDetail("cannot create the output");
    case ConversionOutcome::WriteFailed:
      return request.outputPath + ": " + withDetail("writing failed; the file was left as it was");
  }
  return {};
}

}  // namespace trellane
