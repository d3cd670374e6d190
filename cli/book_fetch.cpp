// The fetcher behind the book command.
#include "cli/book_fetch.h"

#include <thread>

#include "cli/source_reader.h"
#include "common/run_time_error.h"
#include "core/book/address.h"
#include "core/http_client.h"
#include "core/page_decoder.h"
#include "core/pipeline.h"
#include "core/text_file.h"
#include "core/utf8.h"

namespace veltrin::cli {

namespace {

// The largest page read: a chapter is far smaller, and the cap keeps a broken server from
// filling memory.
constexpr std::size_t kMaxPageBytes = std::size_t{64} << 20;

}  // namespace

void PageFetcher::Enter(const std::u16string& host) {
  std::unique_lock<std::mutex> lock(mutex_);
  HostState& state = hosts_[host];
  for (;;) {
    const auto now = std::chrono::steady_clock::now();
    if (state.running < policy_.per_host && now >= state.next) break;
    if (state.running < policy_.per_host) {
      changed_.wait_until(lock, state.next);
    } else {
      changed_.wait(lock);
    }
  }
  ++state.running;
  state.next = std::chrono::steady_clock::now() + policy_.delay;
}

void PageFetcher::Leave(const std::u16string& host) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    --hosts_[host].running;
  }
  changed_.notify_all();
}

FetchedPage PageFetcher::Download(const std::u16string& address) {
  const std::u16string host = book::AddressHost(address);
  FetchedPage page;
  HttpOptions options;
  options.max_body_bytes = kMaxPageBytes;
  options.content_type = [&page](std::string_view type) { page.content_type.assign(type); };
  Enter(host);
  try {
    page.bytes = HttpGet(TextToUtf8(address), options);
  } catch (...) {
    Leave(host);
    throw;
  }
  Leave(host);
  return page;
}

FetchedPage PageFetcher::Fetch(const std::u16string& address) {
  if (!IsWebAddress(address)) {
    try {
      return FetchedPage{ReadFileBytes(address), {}};
    } catch (const RunTimeError& error) {
      throw SourceError(error.Number() == 53 ? "no such file" : TextToUtf8(error.Description()));
    }
  }
  for (int attempt = 0;; ++attempt) {
    try {
      return Download(address);
    } catch (const HttpError& error) {
      if (!error.transient() || attempt >= policy_.retries) throw SourceError(error.what());
      std::chrono::milliseconds wait = policy_.first_wait * (1 << attempt);
      if (error.retry_after_seconds() >= 0) {
        wait = std::min<std::chrono::milliseconds>(
            std::chrono::seconds(error.retry_after_seconds()), policy_.longest_retry_after);
      }
      std::this_thread::sleep_for(wait);
    }
  }
}

std::u16string DecodePage(const FetchedPage& page, const std::optional<Charset>& charset,
                          bool is_file) {
  const std::unique_ptr<PageDecoder> decoder =
      charset ? MakePageDecoder(*charset, is_file) : MakeAutoPageDecoder();
  decoder->SetContentType(page.content_type);
  std::u16string text;
  decoder->Decode(page.bytes, text);
  decoder->Finish(text);
  return text;
}

}  // namespace veltrin::cli
