// The batch: a pool of workers takes the sources in order; the calling thread receives their
// outcomes in the same order and writes them, so output and messages never depend on timing.
#include "cli/extraction_batch.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <new>

#include "core/paragraph_stream.h"
#include "core/utf8.h"
#include "cli/decoded_reader.h"
#include "cli/ordered_jobs.h"
#include "cli/output_names.h"
#include "core/page_decoder.h"
#include "cli/run.h"
#include "cli/source_reader.h"

namespace veltrin::cli {

namespace {

// The most result bytes one source may hold while it waits for the results before it.
constexpr std::size_t kMaxHeldResultBytes = std::size_t{256} << 20;

// What extracting one source came to.
struct Outcome {
  int status = kResultProduced;
  std::string message;  // one line for standard error, or empty
  std::string result;   // the result bytes, when they are held
};

void Report(StandardStreams& streams, const std::string& message) {
  streams.WriteError(Utf8BytesToText("veltrin: " + message + "\n"));
}

// How far workers may run ahead of the result being written, in sources per job: enough to keep
// every job busy past a slow source, while the results held stay a few per job.
constexpr std::size_t kSourcesAheadPerJob = 4;

// Runs `work` for every source on up to `jobs` threads, a bounded window ahead, and hands the
// outcomes to `deliver` in order (see RunInOrder); each outcome is freed once delivered.
void ExtractInOrder(std::size_t count, unsigned jobs,
                    const std::function<void(std::size_t, Outcome&)>& work,
                    const std::function<bool(Outcome&)>& deliver) {
  std::vector<Outcome> outcomes(count);  // made up front: a worker never allocates one
  RunInOrder(
      count, jobs, std::size_t{std::max(jobs, 1u)} * kSourcesAheadPerJob,
      [&](std::size_t index) { work(index, outcomes[index]); },
      [&](std::size_t index) {
        // Moved out (not assigned over, which may keep the buffers) so that it is freed here.
        Outcome delivered = std::move(outcomes[index]);
        return deliver(delivered);
      });
}

// Sets a failed outcome; when even its message cannot be made, a fixed one stands in, since
// nothing may leave a worker thread.
void SetFailure(Outcome& outcome, int status, const char* what, const std::u16string& source,
                const std::string& detail) noexcept {
  outcome.status = status;
  std::string().swap(outcome.result);
  try {
    outcome.message = what + TextToUtf8(source) + detail;
  } catch (...) {
    outcome.message.clear();  // keeps its buffer, which the fixed text may fit
    try {
      outcome.message = "not enough memory to report a failed source";
    } catch (...) {
    }
  }
}

// Extracts one source into the sink, turning every failure into the outcome.
void ExtractInto(const std::u16string& source, const ExtractionSettings& settings,
                 bool show_progress, StandardStreams& streams, ByteSink& sink, Outcome& outcome) {
  try {
    outcome.status = ExtractSource(source, settings, show_progress, streams, sink);
    if (outcome.status == kNoParagraphText) {
      outcome.message =
          "no paragraph text in " + TextToUtf8(source) + " (the page holds no line break)";
    }
  } catch (const SourceError& error) {
    outcome.status = kSourceUnreadable;
    outcome.message = error.what();
  } catch (const OutputError& error) {
    outcome.status = kOutputFailed;
    outcome.message = error.what();
  } catch (const std::bad_alloc&) {
    // The source could not be extracted; the others may well be.
    SetFailure(outcome, kSourceUnreadable, "not enough memory to extract ", source, "");
  } catch (const std::exception& error) {
    SetFailure(outcome, kOutputFailed, "unexpected failure with ", source,
               std::string(": ") + error.what());
  } catch (...) {
    SetFailure(outcome, kOutputFailed, "unexpected failure with ", source, "");
  }
}

std::u16string JoinPath(const std::u16string& folder, const std::u16string& name) {
  if (folder.empty() || folder.back() == u'/' || folder.back() == u'\\') return folder + name;
#ifdef _WIN32
  return folder + u'\\' + name;
#else
  return folder + u'/' + name;
#endif
}

}  // namespace

int ExtractSource(const std::u16string& source, const ExtractionSettings& settings,
                  bool show_progress, StandardStreams& streams, ByteSink& sink) {
  const std::unique_ptr<PageDecoder> decoder =
      settings.auto_charset
          ? MakeAutoPageDecoder()
          : MakePageDecoder(settings.charset.value_or(Charset{}), IsReadLikeAFile(source));
  Utf8ResultEncoder encoder(sink);
  ParagraphExtractor extractor(settings.words, encoder);
  ReadDecoded(source, streams, show_progress, *decoder, settings.decode_ahead,
              [&](std::u16string_view text) { extractor.Feed(text); });
  if (!extractor.Finish()) return kNoParagraphText;
  encoder.Finish();
  return kResultProduced;
}

int ExtractToOneOutput(const std::vector<std::u16string>& sources,
                       const ExtractionSettings& settings, unsigned jobs, ByteSink& output,
                       StandardStreams& streams, OutputState* state) {
  *state = OutputState{};
  int worst = kResultProduced;
  if (sources.size() == 1) {
    // One source streams straight into the output: memory stays bounded whatever its size. With
    // a second job allowed, reading and decoding run beside the extraction.
    ExtractionSettings single = settings;
    single.decode_ahead = jobs > 1;
    Outcome outcome;
    ExtractInto(sources.front(), single, streams.ErrorIsTerminal(), streams, output, outcome);
    if (!outcome.message.empty()) Report(streams, outcome.message);
    state->any_result = outcome.status == kResultProduced;
    state->failed = outcome.status == kOutputFailed;
    return outcome.status;
  }
  ExtractInOrder(
      sources.size(), jobs,
      [&](std::size_t index, Outcome& outcome) {
        MemorySink held(kMaxHeldResultBytes);
        ExtractInto(sources[index], settings, false, streams, held, outcome);
        if (outcome.status == kResultProduced) outcome.result = std::move(held.Bytes());
      },
      [&](Outcome& outcome) {
        if (!outcome.message.empty()) Report(streams, outcome.message);
        worst = std::max(worst, outcome.status);
        if (outcome.status != kResultProduced) return true;
        try {
          output.Write(outcome.result);
          state->any_result = true;
        } catch (const OutputError& error) {
          Report(streams, error.what());
          worst = kOutputFailed;
          state->failed = true;
          return false;  // the output is broken: the rest would fail alike
        }
        return true;
      });
  return worst;
}

int ExtractToReplacedFile(const std::vector<std::u16string>& sources,
                          const ExtractionSettings& settings, unsigned jobs, CommittingSink& file,
                          StandardStreams& streams) {
  OutputState state;
  int status = ExtractToOneOutput(sources, settings, jobs, file, streams, &state);
  if (state.any_result && !state.failed) {
    // With no result at all, or a failed write, the old file stays as it was.
    try {
      file.Commit();
    } catch (const OutputError& error) {
      Report(streams, error.what());
      status = kOutputFailed;
    }
  }
  return status;
}

int ExtractToFolder(const std::vector<std::u16string>& sources, const ExtractionSettings& settings,
                    unsigned jobs, const std::u16string& folder, StandardStreams& streams) {
  const std::vector<std::u16string> names = UniqueResultFileNames(sources);
  const bool show_progress = sources.size() == 1 && streams.ErrorIsTerminal();
  int worst = kResultProduced;
  ExtractInOrder(
      sources.size(), jobs,
      [&](std::size_t index, Outcome& outcome) {
        try {
          FileSink file(JoinPath(folder, names[index]));
          ExtractInto(sources[index], settings, show_progress, streams, file, outcome);
          if (outcome.status == kResultProduced) file.Commit();
        } catch (const OutputError& error) {
          SetFailure(outcome, kOutputFailed, "", u"", error.what());
        } catch (const std::bad_alloc&) {
          SetFailure(outcome, kSourceUnreadable, "not enough memory to extract ", sources[index],
                     "");
        }
      },
      [&](Outcome& outcome) {
        if (!outcome.message.empty()) Report(streams, outcome.message);
        worst = std::max(worst, outcome.status);
        return true;
      });
  return worst;
}

}  // namespace veltrin::cli
