// The batch: a pool of workers takes the sources in order; the calling thread receives their
// outcomes in the same order and writes them, so output and messages never depend on timing.
#include "cli/extraction_batch.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <new>
#include <thread>

#include "core/book/page_content.h"
#include "core/paragraph_stream.h"
#include "core/utf8.h"
#include "cli/decoded_reader.h"
#include "cli/output_names.h"
#include "core/page_decoder.h"
#include "cli/run.h"
#include "cli/source_reader.h"

namespace veltrin::cli {

namespace {

// The most result bytes one source may hold while it waits for the results before it.
constexpr std::size_t kMaxHeldResultBytes = std::size_t{256} << 20;
// The longest page --content auto holds whole (in UTF-16 units).
constexpr std::size_t kMaxHeldPageUnits = std::size_t{64} << 20;

// What extracting one source came to.
struct Outcome {
  int status = kResultProduced;
  std::string message;  // one line for standard error, or empty
  std::string result;   // the result bytes, when they are held
};

void Report(StandardStreams& streams, const std::string& message) {
  streams.WriteError(Utf8BytesToText("veltrin: " + message + "\n"));
}

// Runs `work` on every index with up to `jobs` threads and hands the outcomes to `deliver` on the
// calling thread, in index order. When `deliver` returns false, no further index is started.
void RunInOrder(std::size_t count, unsigned jobs,
                const std::function<void(std::size_t, Outcome&)>& work,
                const std::function<bool(std::size_t, Outcome&)>& deliver) {
  std::vector<std::unique_ptr<Outcome>> outcomes(count);
  std::mutex mutex;
  std::condition_variable ready;
  std::atomic<std::size_t> next{0};
  std::atomic<bool> stopped{false};
  auto worker = [&] {
    for (;;) {
      const std::size_t index = next.fetch_add(1);
      if (index >= count || stopped) return;
      auto outcome = std::make_unique<Outcome>();
      work(index, *outcome);
      {
        std::lock_guard<std::mutex> lock(mutex);
        outcomes[index] = std::move(outcome);
      }
      ready.notify_all();
    }
  };
  std::vector<std::thread> threads;
  const std::size_t thread_count = std::min<std::size_t>(jobs, count);
  for (std::size_t i = 0; i < thread_count; ++i) threads.emplace_back(worker);
  for (std::size_t index = 0; index < count; ++index) {
    std::unique_ptr<Outcome> outcome;
    {
      std::unique_lock<std::mutex> lock(mutex);
      ready.wait(lock, [&] { return outcomes[index] != nullptr; });
      outcome = std::move(outcomes[index]);
    }
    if (!deliver(index, *outcome)) {
      stopped = true;
      break;
    }
  }
  for (std::thread& thread : threads) thread.join();
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
    outcome.status = kOutputFailed;
    outcome.message = "not enough memory to extract " + TextToUtf8(source);
  } catch (const std::exception& error) {
    // Nothing may leave a worker thread.
    outcome.status = kOutputFailed;
    outcome.message = "unexpected failure with " + TextToUtf8(source) + ": " + error.what();
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

// Extracts by --content auto: the fallback needs the whole page, so it is held (up to a cap).
int ExtractWholePage(const std::u16string& source, const ExtractionSettings& settings,
                     PageDecoder& decoder, StandardStreams& streams, Utf8ResultEncoder& encoder) {
  std::u16string page;
  ReadDecoded(source, streams, false, decoder, false, [&](std::u16string_view text) {
    if (text.size() > kMaxHeldPageUnits - page.size()) {
      throw SourceError("cannot read " + TextToUtf8(source) +
                        ": the page is too large for --content auto");
    }
    page += text;
  });
  const std::optional<std::u16string> text =
      book::ExtractPageText(page, settings.words, book::ContentRule::kAuto);
  if (!text) return kNoParagraphText;
  encoder.Write(*text);
  encoder.Finish();
  return kResultProduced;
}

}  // namespace

int ExtractSource(const std::u16string& source, const ExtractionSettings& settings,
                  bool show_progress, StandardStreams& streams, ByteSink& sink) {
  const std::unique_ptr<PageDecoder> decoder =
      settings.auto_charset
          ? MakeAutoPageDecoder()
          : MakePageDecoder(settings.charset.value_or(Charset{}), IsReadLikeAFile(source));
  Utf8ResultEncoder encoder(sink);
  if (settings.content_auto) return ExtractWholePage(source, settings, *decoder, streams, encoder);
  ParagraphExtractor extractor(settings.words, encoder);
  ReadDecoded(source, streams, show_progress, *decoder, settings.decode_ahead,
              [&](std::u16string_view text) { extractor.Feed(text); });
  if (!extractor.Finish()) return kNoParagraphText;
  encoder.Finish();
  return kResultProduced;
}

int ExtractToOneOutput(const std::vector<std::u16string>& sources,
                       const ExtractionSettings& settings, unsigned jobs, ByteSink& output,
                       StandardStreams& streams, bool* any_result) {
  *any_result = false;
  int worst = kResultProduced;
  if (sources.size() == 1) {
    // One source streams straight into the output: memory stays bounded whatever its size. With
    // a second job allowed, reading and decoding run beside the extraction.
    ExtractionSettings single = settings;
    single.decode_ahead = jobs > 1;
    Outcome outcome;
    ExtractInto(sources.front(), single, streams.ErrorIsTerminal(), streams, output, outcome);
    if (!outcome.message.empty()) Report(streams, outcome.message);
    *any_result = outcome.status == kResultProduced;
    return outcome.status;
  }
  RunInOrder(
      sources.size(), jobs,
      [&](std::size_t index, Outcome& outcome) {
        MemorySink held(kMaxHeldResultBytes);
        ExtractInto(sources[index], settings, false, streams, held, outcome);
        if (outcome.status == kResultProduced) outcome.result = std::move(held.Bytes());
      },
      [&](std::size_t, Outcome& outcome) {
        if (!outcome.message.empty()) Report(streams, outcome.message);
        worst = std::max(worst, outcome.status);
        if (outcome.status != kResultProduced) return true;
        try {
          output.Write(outcome.result);
          *any_result = true;
        } catch (const OutputError& error) {
          Report(streams, error.what());
          worst = kOutputFailed;
          return false;  // the output is broken: the rest would fail alike
        }
        return true;
      });
  return worst;
}

int ExtractToFolder(const std::vector<std::u16string>& sources, const ExtractionSettings& settings,
                    unsigned jobs, const std::u16string& folder, StandardStreams& streams) {
  const std::vector<std::u16string> names = UniqueResultFileNames(sources);
  const bool show_progress = sources.size() == 1 && streams.ErrorIsTerminal();
  int worst = kResultProduced;
  RunInOrder(
      sources.size(), jobs,
      [&](std::size_t index, Outcome& outcome) {
        try {
          FileSink file(JoinPath(folder, names[index]));
          ExtractInto(sources[index], settings, show_progress, streams, file, outcome);
          if (outcome.status == kResultProduced) file.Commit();
        } catch (const OutputError& error) {
          outcome.status = kOutputFailed;
          outcome.message = error.what();
        }
      },
      [&](std::size_t, Outcome& outcome) {
        if (!outcome.message.empty()) Report(streams, outcome.message);
        worst = std::max(worst, outcome.status);
        return true;
      });
  return worst;
}

}  // namespace veltrin::cli
