// The Extract command's source handling and failure messages.
#include "core/extract_command.h"

#include <optional>

#include "core/file_search.h"
#include "core/text_file.h"
#include "core/utf8.h"
#include "common/run_time_error.h"

namespace veltrin {

namespace {

ExtractOutcome Failed(std::u16string message) {
  return {ExtractOutcome::Kind::kFailed, std::move(message)};
}

std::u16string ErrorText(const RunTimeError& error) {
  return error.Description() + u"（错误 " + Utf8BytesToText(std::to_string(error.Number())) + u"）";
}

}  // namespace

std::string HttpPageFetcher::Fetch(const std::u16string& address) {
  return HttpGet(TextToUtf8(address), options_);
}

std::u16string SystemFileSearch::FindFileEntry(const std::u16string& path, int attributes) {
  return veltrin::FindFileEntry(path, attributes);
}

std::u16string SystemFileSearch::ReadUtf8TextFile(const std::u16string& path) {
  return veltrin::ReadUtf8TextFile(path);
}

ExtractOutcome ExtractCommand::Run(const std::u16string& source,
                                   const std::vector<std::u16string>& list_items) {
  if (source.empty()) return {};
  blocked_words_.Rebuild(list_items);

  std::u16string page_text;
  if (IsWebAddress(source)) {
    std::string body;
    try {
      body = fetcher_.Fetch(source);
    } catch (const HttpError& error) {
      pump_.ProcessPendingMessages();  // clicks made during the wait are handled either way
      return Failed(u"无法下载 " + source + u"：" + Utf8BytesToText(error.what()));
    }
    pump_.ProcessPendingMessages();
    // An empty answer would otherwise run through the pipeline and clear the result box.
    if (body.empty()) return Failed(u"下载的页面是空的：" + source);
    page_text = Utf8BytesToText(body);
  } else {
    try {
      if (files_.FindFileEntry(source, 0).empty()) return {};
    } catch (const RunTimeError& error) {
      return Failed(u"无法查找文件 " + source + u"：" + ErrorText(error));
    }
    try {
      page_text = files_.ReadUtf8TextFile(source);
    } catch (const RunTimeError& error) {
      return Failed(u"无法读取文件 " + source + u"：" + ErrorText(error));
    }
  }

  std::optional<std::u16string> result = ExtractParagraphs(page_text, blocked_words_);
  if (!result) return {};
  return {ExtractOutcome::Kind::kResult, std::move(*result)};
}

}  // namespace veltrin
