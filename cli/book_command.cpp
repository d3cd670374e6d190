// The book command: find the chapters, fetch the missing ones on a pool of workers into the parts
// folder, then write the book from the parts in order.
#include "cli/book_command.h"

#include <atomic>
#include <condition_variable>
#include <ctime>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_set>

#include "cli/arguments.h"
#include "cli/book_arguments.h"
#include "cli/book_fetch.h"
#include "cli/book_parts.h"
#include "cli/book_progress.h"
#include "cli/local_path.h"
#include "cli/run.h"
#include "cli/source_reader.h"
#include "common/run_time_error.h"
#include "core/book/book_writer.h"
#include "core/book/chapter_list.h"
#include "core/book/page_content.h"
#include "core/book/page_links.h"
#include "core/book/zip_writer.h"
#include "core/page_decoder.h"
#include "core/pipeline.h"
#include "core/regex/regex.h"
#include "core/text_file.h"
#include "core/utf8.h"

namespace veltrin::cli {

namespace {

void Report(StandardStreams& streams, const std::string& message) {
  streams.WriteError(Utf8BytesToText("veltrin: " + message + "\n"));
}

// What every chapter page is read with.
struct ReadingRules {
  std::optional<Charset> charset;  // absent: the automatic rule
  BlockedWords words;
  book::ContentRule content = book::ContentRule::kAuto;
};

// Returns the text of a chapter, its pages joined in order. Throws SourceError with the reason.
std::u16string ReadChapter(const book::Chapter& chapter, const ReadingRules& rules,
                           PageFetcher& fetcher) {
  std::u16string text;
  bool any_text = false;
  std::u16string address = chapter.address;
  std::unordered_set<std::u16string> seen{address};
  for (int page = 0; page < book::kMaxChapterPages; ++page) {
    const FetchedPage fetched = fetcher.Fetch(address);
    const std::u16string html = DecodePage(fetched, rules.charset, !IsWebAddress(address));
    if (std::optional<std::u16string> part =
            book::ExtractPageText(html, rules.words, rules.content)) {
      any_text = any_text || book::HoldsText(*part);
      text += *part;
    }
    const std::optional<std::u16string> next =
        book::NextPageAddress(book::ScanPageLinks(html, address).links, chapter.address);
    if (!next || !seen.insert(*next).second) break;
    address = *next;
  }
  if (!any_text) throw SourceError("no paragraph text");
  return text;
}

std::string UtcNow() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
#ifdef _WIN32
  gmtime_s(&parts, &now);
#else
  gmtime_r(&now, &parts);
#endif
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
  return text;
}

std::u16string BookIdentifier(std::u16string_view toc) {
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (char16_t unit : toc) hash = (hash ^ unit) * 0x100000001b3u;
  char text[40];
  std::snprintf(text, sizeof text, "urn:veltrin:book:%016llx",
                static_cast<unsigned long long>(hash));
  return Utf8BytesToText(text);
}

// Fetches every chapter that the parts folder lacks, `jobs` at a time; returns the reason of
// each chapter that failed (empty for the others).
std::vector<std::string> FetchMissing(const std::vector<book::Chapter>& chapters,
                                      const ReadingRules& rules, const BookArguments& arguments,
                                      BookParts& parts, StandardStreams& streams) {
  std::vector<std::size_t> missing;
  for (std::size_t i = 0; i < chapters.size(); ++i) {
    if (!parts.Has(i + 1, chapters[i].address)) missing.push_back(i);
  }
  std::vector<std::string> failures(chapters.size());
  if (missing.empty()) return failures;

  FetchPolicy policy;
  policy.per_host = arguments.per_host;
  policy.delay = std::chrono::milliseconds(arguments.delay_ms);
  PageFetcher fetcher(policy);
  std::atomic<std::size_t> next{0};
  std::atomic<std::uint64_t> bytes{0};
  std::size_t done = 0;
  std::mutex mutex;
  std::condition_variable finished;
  auto worker = [&] {
    for (;;) {
      const std::size_t slot = next.fetch_add(1);
      if (slot >= missing.size()) return;
      const std::size_t index = missing[slot];
      std::string failure;
      try {
        const std::string text = TextToUtf8(ReadChapter(chapters[index], rules, fetcher));
        parts.Save(index + 1, chapters[index].address, text);
        bytes += text.size();
      } catch (const SourceError& error) {
        failure = error.what();
      } catch (const RunTimeError& error) {
        failure = TextToUtf8(error.Description());
      } catch (const std::bad_alloc&) {
        failure = "not enough memory";
      } catch (const std::exception& error) {
        failure = std::string("unexpected failure: ") + error.what();
      }
      {
        std::lock_guard<std::mutex> lock(mutex);
        failures[index] = std::move(failure);
        ++done;
      }
      finished.notify_all();
    }
  };
  BookProgress progress(streams, !arguments.quiet && streams.ErrorIsTerminal(), missing.size());
  std::vector<std::thread> threads;
  const std::size_t count = std::min<std::size_t>(arguments.jobs, missing.size());
  for (std::size_t i = 0; i < count; ++i) threads.emplace_back(worker);
  {
    std::unique_lock<std::mutex> lock(mutex);
    while (done < missing.size()) {
      finished.wait_for(lock, std::chrono::milliseconds(200));
      const std::size_t now_done = done;
      lock.unlock();
      progress.Update(now_done, bytes);
      lock.lock();
    }
  }
  for (std::thread& thread : threads) thread.join();
  return failures;
}

// Writes the book from the parts, a missing chapter as its line. Returns false after reporting
// why the book cannot be written.
bool WriteBook(const std::vector<book::Chapter>& chapters, const std::vector<std::string>& failures,
               const std::u16string& path, const BookArguments& arguments,
               const std::u16string& title, BookParts& parts, StandardStreams& streams) {
  try {
    ReplacingFileWriter file(path);
    auto output = [&file](std::string_view bytes) { file.Write(bytes); };
    const std::unique_ptr<book::BookWriter> writer =
        BookFormat(arguments) == BookArguments::Format::kEpub
            ? book::MakeEpubBookWriter(output, title, BookIdentifier(arguments.toc), UtcNow())
            : book::MakeTextBookWriter(output);
    for (std::size_t i = 0; i < chapters.size(); ++i) {
      if (!failures[i].empty()) {
        writer->AddMissingChapter(chapters[i].title, chapters[i].address);
      } else {
        writer->AddChapter(chapters[i].title,
                           Utf8BytesToText(parts.Load(i + 1, chapters[i].address)));
      }
    }
    writer->Finish();
    file.Commit();
    return true;
  } catch (const RunTimeError& error) {
    Report(streams, "cannot write the book: " + TextToUtf8(error.Description()));
  } catch (const book::ZipError& error) {
    Report(streams, std::string("cannot write the book: ") + error.what());
  }
  return false;
}

}  // namespace

int RunBook(const std::vector<std::u16string>& argument_list, StandardStreams& streams) {
  const BookArguments arguments = ParseBookArguments(argument_list);
  ReadingRules rules;
  if (arguments.charset) {
    rules.charset = FindCharset(TextToUtf8(*arguments.charset));
    try {
      MakePageDecoder(*rules.charset, true);
    } catch (const std::runtime_error& error) {
      throw UsageError(error.what());
    }
  }
  rules.content =
      arguments.content_auto ? book::ContentRule::kAuto : book::ContentRule::kParagraphs;
  rules.words.Rebuild(arguments.blocked ? ReadWordList(*arguments.blocked)
                                        : std::vector<std::u16string>{});

  const bool toc_is_file = !IsWebAddress(arguments.toc);
  const std::u16string toc = toc_is_file ? MakeAbsolute(arguments.toc) : arguments.toc;
  FetchPolicy toc_policy;
  toc_policy.per_host = arguments.per_host;
  PageFetcher toc_fetcher(toc_policy);
  std::u16string toc_html;
  try {
    toc_html = DecodePage(toc_fetcher.Fetch(toc), rules.charset, toc_is_file);
  } catch (const SourceError& error) {
    Report(streams,
           "cannot read the table of contents " + TextToUtf8(arguments.toc) + ": " + error.what());
    return kSourceUnreadable;
  }
  const book::PageLinks page = book::ScanPageLinks(toc_html, toc);
  const std::vector<book::Chapter> chapters =
      arguments.links ? book::MatchingChapters(page.links, regex::Regex(*arguments.links))
                      : book::FindChapters(page.links, toc);
  if (chapters.empty()) {
    Report(streams, "no chapter links found in " + TextToUtf8(arguments.toc));
    return kNoParagraphText;
  }
  if (arguments.list) {
    std::string list;
    for (std::size_t i = 0; i < chapters.size(); ++i) {
      list += std::to_string(i + 1) + "\t" + TextToUtf8(chapters[i].title) + "\t" +
              TextToUtf8(chapters[i].address) + "\n";
    }
    return streams.WriteOutput(list) ? kResultProduced : kOutputFailed;
  }

  const std::u16string path = MakeAbsolute(*arguments.output);
  // Checked before any chapter is fetched: the parts folder would otherwise create it.
  const std::u16string folder = path.substr(0, path.find_last_of(u"/\\") + 1);
  if (!folder.empty() && !IsDirectory(folder)) {
    Report(streams, "cannot write '" + TextToUtf8(*arguments.output) + "': no such folder");
    return kOutputFailed;
  }
  BookParts parts(path);
  const std::vector<std::string> failures =
      FetchMissing(chapters, rules, arguments, parts, streams);
  std::size_t failed = 0;
  for (std::size_t i = 0; i < chapters.size(); ++i) {
    if (failures[i].empty()) continue;
    ++failed;
    Report(streams, "chapter " + std::to_string(i + 1) + " \"" + TextToUtf8(chapters[i].title) +
                        "\" " + TextToUtf8(chapters[i].address) + ": " + failures[i]);
  }
  if (failed > 0 && !arguments.partial) {
    Report(streams, std::to_string(failed) + " of " + std::to_string(chapters.size()) +
                        " chapters failed; no book written (the finished ones are kept in " +
                        TextToUtf8(parts.Folder()) + " for a rerun, or use --partial)");
    return kSourceUnreadable;
  }
  const std::u16string title =
      arguments.title ? *arguments.title : (page.title.empty() ? arguments.toc : page.title);
  if (!WriteBook(chapters, failures, path, arguments, title, parts, streams)) return kOutputFailed;
  if (failed > 0) return kSourceUnreadable;  // the parts stay for a rerun that completes the book
  parts.Remove();
  return kResultProduced;
}

}  // namespace veltrin::cli
