// The veltrin command: parse, read the word list, check the output, extract every source.
#include "cli/run.h"

#include <exception>
#include <new>
#include <optional>
#include <thread>

#include "core/pipeline.h"
#include "core/utf8.h"
#include "cli/arguments.h"
#include "cli/extraction_batch.h"
#include "cli/local_path.h"
#include "core/page_decoder.h"
#include "cli/source_reader.h"

#ifndef VELTRIN_VERSION
#define VELTRIN_VERSION "0.0.0"
#endif

namespace veltrin::cli {

namespace {

// The most of a single result held in memory before the rest goes to a scratch file.
constexpr std::size_t kHeldInMemoryBytes = std::size_t{32} << 20;

void Report(StandardStreams& streams, const std::string& message) {
  streams.WriteError(Utf8BytesToText("veltrin: " + message + "\n"));
}

// Returns the settings every source shares; throws UsageError for a charset this system cannot
// convert from.
ExtractionSettings Settings(const Arguments& arguments) {
  ExtractionSettings settings;
  if (arguments.charset && *arguments.charset == u"auto") {
    settings.auto_charset = true;
  } else if (arguments.charset) {
    settings.charset = FindCharset(TextToUtf8(*arguments.charset));
    try {
      MakePageDecoder(*settings.charset, true);
    } catch (const std::runtime_error& error) {
      throw UsageError(error.what());
    }
  }
  return settings;
}

// Checks up front that results can go into the folder, so that no source is read in vain.
// Returns false after reporting why not.
bool CheckOutputFolder(const std::u16string& folder, const std::u16string& shown,
                       StandardStreams& streams) {
  if (!IsDirectory(folder)) {
    std::string message = "cannot write into '";
    message += TextToUtf8(shown);
    message += FileSize(folder) ? "': it is not a folder" : "': no such folder";
    Report(streams, message);
    return false;
  }
  try {
    // A file started and abandoned leaves nothing behind.
    FileSink probe(folder + u"/.veltrin-probe");
  } catch (const OutputError& error) {
    Report(streams, error.what());
    return false;
  }
  return true;
}

int Extract(const Arguments& arguments, StandardStreams& streams) {
  ExtractionSettings settings = Settings(arguments);
  settings.words.Rebuild(arguments.blocked ? ReadWordList(*arguments.blocked)
                                           : std::vector<std::u16string>{});
  const unsigned jobs = arguments.jobs.value_or(std::max(1u, std::thread::hardware_concurrency()));

  if (arguments.output_dir) {
    const std::u16string folder = MakeAbsolute(*arguments.output_dir);
    if (!CheckOutputFolder(folder, *arguments.output_dir, streams)) return kOutputFailed;
    return ExtractToFolder(arguments.sources, settings, jobs, folder, streams);
  }
  if (!arguments.output) {
    StandardOutputSink output(streams);
    if (arguments.sources.size() == 1) {
      // A source that fails part way adds nothing: its result is held until it is whole.
      HeldResultSink held(output, kHeldInMemoryBytes);
      return ExtractToReplacedFile(arguments.sources, settings, jobs, held, streams);
    }
    OutputState state;  // several sources hold each result anyway
    return ExtractToOneOutput(arguments.sources, settings, jobs, output, streams, &state);
  }
  std::optional<FileSink> file;
  try {
    file.emplace(MakeAbsolute(*arguments.output));
  } catch (const OutputError& error) {
    Report(streams, error.what());
    return kOutputFailed;
  }
  return ExtractToReplacedFile(arguments.sources, settings, jobs, *file, streams);
}

}  // namespace

int Run(const std::vector<std::u16string>& argument_list, StandardStreams& streams) noexcept {
  try {
    try {
      const Arguments arguments = ParseArguments(argument_list);
      switch (arguments.command) {
        case Arguments::Command::kHelp:
          return streams.WriteOutput(HelpText()) ? kResultProduced : kOutputFailed;
        case Arguments::Command::kVersion:
          return streams.WriteOutput("veltrin " VELTRIN_VERSION "\n") ? kResultProduced
                                                                      : kOutputFailed;
        case Arguments::Command::kExtract:
          break;
      }
      return Extract(arguments, streams);
    } catch (const UsageError& error) {
      Report(streams, std::string(error.what()) + "\nTry 'veltrin --help' for more information.");
      return kUsageError;
    } catch (const SourceError& error) {
      Report(streams, error.what());  // the word list
      return kSourceUnreadable;
    }
  } catch (const std::bad_alloc&) {
    Report(streams, "not enough memory");
  } catch (const std::exception& error) {
    Report(streams, std::string("unexpected failure: ") + error.what());
  } catch (...) {
    Report(streams, "unexpected failure");
  }
  return kOutputFailed;
}

int Run(const std::vector<std::u16string>& arguments) noexcept {
  return Run(arguments, ProcessStreams());
}

}  // namespace veltrin::cli
