// The veltrin command: parse, read the sources, run the pipeline, write the result.
#include "cli/run.h"

#include <exception>
#include <new>
#include <optional>

#include "app/core/pipeline.h"
#include "common/run_time_error.h"
#include "app/core/text_file.h"
#include "app/core/utf8.h"
#include "cli/arguments.h"
#include "cli/console.h"
#include "cli/local_path.h"
#include "cli/source_reader.h"

#ifndef VELTRIN_VERSION
#define VELTRIN_VERSION "0.0.0"
#endif

namespace veltrin::cli {

namespace {

void Report(const std::string& message) {
  WriteStandardError(Utf8BytesToText("veltrin: " + message + "\n"));
}

int Extract(const Arguments& arguments) {
  BlockedWords blocked;
  blocked.Rebuild(arguments.blocked ? ReadWordList(*arguments.blocked)
                                    : std::vector<std::u16string>{});
  std::optional<std::u16string> result;
  {
    // The page text is the largest buffer; it goes before the result is encoded.
    const std::u16string page = ReadSource(arguments.source, StandardErrorIsTerminal());
    result = ExtractParagraphs(page, blocked);
  }
  if (!result) {
    Report("no paragraph text in " + TextToUtf8(arguments.source) +
           " (the page holds no line break)");
    return kNoParagraphText;
  }
  if (arguments.output) {
    try {
      WriteUtf8TextFile(*result, MakeAbsolute(*arguments.output));
    } catch (const RunTimeError& error) {
      // The description names the path and the system's reason.
      Report(TextToUtf8(error.Description()) + " (error " + std::to_string(error.Number()) + ")");
      return kOutputFailed;
    }
    return kResultProduced;
  }
  if (!WriteStandardOutput(TextToUtf8(*result))) {
    Report("cannot write the result to standard output");
    return kOutputFailed;
  }
  return kResultProduced;
}

}  // namespace

int Run(const std::vector<std::u16string>& argument_list) noexcept {
  try {
    Arguments arguments;
    try {
      arguments = ParseArguments(argument_list);
    } catch (const UsageError& error) {
      Report(std::string(error.what()) + "\nTry 'veltrin --help' for more information.");
      return kUsageError;
    }
    switch (arguments.command) {
      case Arguments::Command::kHelp:
        return WriteStandardOutput(HelpText()) ? kResultProduced : kOutputFailed;
      case Arguments::Command::kVersion:
        return WriteStandardOutput("veltrin " VELTRIN_VERSION "\n") ? kResultProduced
                                                                    : kOutputFailed;
      case Arguments::Command::kExtract:
        break;
    }
    try {
      return Extract(arguments);
    } catch (const SourceError& error) {
      Report(error.what());
      return kSourceUnreadable;
    }
  } catch (const std::bad_alloc&) {
    Report("not enough memory");
  } catch (const std::exception& error) {
    Report(std::string("unexpected failure: ") + error.what());
  } catch (...) {
    Report("unexpected failure");
  }
  return kOutputFailed;
}

}  // namespace veltrin::cli
