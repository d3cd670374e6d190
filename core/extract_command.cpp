// The Extract command's source handling and failure messages, and the read that runs off the
// window's thread.
#include "core/extract_command.h"

#include <memory>
#include <optional>
#include <utility>

#include "core/file_search.h"
#include "core/page_decoder.h"
#include "core/text_file.h"
#include "core/utf8.h"
#include "common/run_time_error.h"

namespace veltrin {

namespace {

constexpr std::size_t kFilePieceBytes = std::size_t{1} << 16;

ExtractOutcome Failed(std::u16string message) {
  return {ExtractOutcome::Kind::kFailed, std::move(message)};
}

std::u16string ErrorText(const RunTimeError& error) {
  return error.Description() + u"（错误 " + Utf8BytesToText(std::to_string(error.Number())) + u"）";
}

// Thrown through the reader by the sink once the run is cancelled.
struct Cancelled {};

}  // namespace

void HttpPageFetcher::Fetch(const std::u16string& address, const PageSink& sink) {
  HttpOptions options;  // the defaults: 60 s, redirects followed, size capped
  options.content_type = sink.content_type;
  options.body = sink.piece;
  options.progress = sink.progress;
  options.cancellation = sink.cancellation;
  HttpGet(TextToUtf8(address), options);
}

std::u16string SystemFileSearch::FindFileEntry(const std::u16string& path, int attributes) {
  return veltrin::FindFileEntry(path, attributes);
}

void SystemFileSearch::ReadFile(const std::u16string& path, const PageSink& sink) {
  FileByteReader reader(path);
  const std::uint64_t total = reader.Size();
  std::string piece(kFilePieceBytes, '\0');
  std::uint64_t received = 0;
  while (const std::size_t got = reader.Read(piece.data(), piece.size())) {
    sink.piece(std::string_view(piece.data(), got));
    received += got;
    if (sink.progress) sink.progress(received, total);
    if (sink.cancellation && sink.cancellation->Cancelled()) return;
  }
}

std::variant<ExtractOutcome, PageRequest> ExtractCommand::Start(
    const std::u16string& source, const std::vector<std::u16string>& list_items) {
  if (source.empty()) return ExtractOutcome{};
  blocked_words_.Rebuild(list_items);
  PageRequest request{IsWebAddress(source), source, blocked_words_};
  if (request.web) return request;
  try {
    if (files_.FindFileEntry(source, 0).empty()) return ExtractOutcome{};
  } catch (const RunTimeError& error) {
    return Failed(u"无法查找文件 " + source + u"：" + ErrorText(error));
  }
  return request;
}

ExtractOutcome ReadAndExtract(const PageRequest& request, PageFetcher& fetcher, FileSearch& files,
                              const std::function<void(std::uint64_t, std::uint64_t)>& progress,
                              const std::shared_ptr<Cancellation>& cancellation) {
  const auto cancelled = [&] { return cancellation->Cancelled(); };
  const std::unique_ptr<PageDecoder> decoder = MakeAutoPageDecoder();
  std::u16string page_text;
  std::uint64_t bytes = 0;
  PageSink sink;
  sink.content_type = [&](std::string_view type) { decoder->SetContentType(type); };
  sink.piece = [&](std::string_view piece) {
    if (cancelled()) throw Cancelled{};
    decoder->Decode(piece, page_text);
    bytes += piece.size();
  };
  sink.progress = progress;
  sink.cancellation = cancellation;
  try {
    if (request.web) {
      try {
        fetcher.Fetch(request.source, sink);
      } catch (const HttpError& error) {
        if (cancelled()) return {};
        return Failed(u"无法下载 " + request.source + u"：" + Utf8BytesToText(error.what()));
      }
      // An empty answer would otherwise run through the pipeline and clear the result box.
      if (bytes == 0 && !cancelled()) return Failed(u"下载的页面是空的：" + request.source);
    } else {
      try {
        files.ReadFile(request.source, sink);
      } catch (const RunTimeError& error) {
        return Failed(u"无法读取文件 " + request.source + u"：" + ErrorText(error));
      }
    }
  } catch (const Cancelled&) {
    return {};
  }
  if (cancelled()) return {};
  decoder->Finish(page_text);

  std::optional<std::u16string> result = ExtractParagraphs(page_text, request.blocked_words);
  if (!result) return {};
  return {ExtractOutcome::Kind::kResult, std::move(*result)};
}

}  // namespace veltrin
