// Times setting and reading back large Chinese texts in a multi-line, word-wrapped TextBoxW that
// carries the form's (ambient) CJK font, as the main window shows an extracted page; prints
// milliseconds and checks that the text came back whole, asserts nothing else.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "controls/base/host/form.h"
#include "controls/textbox/text_box.h"

namespace {

using veltrin::controls::FontObject;
using veltrin::controls::Form;
using veltrin::controls::TextBoxW;

constexpr size_t kMegabyte = 1024 * 1024;

double Milliseconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since)
      .count();
}

// Paragraphs as the extraction leaves them: two ideographic spaces, Chinese sentences, CR LF.
// `bytes` counts UTF-16 code units times two, the size the box holds.
std::wstring ChineseText(size_t bytes) {
  static const std::wstring kParagraph =
      L"\u3000\u3000\u8FD9\u662F\u4E00\u6BB5\u4ECE\u7F51\u9875\u4E2D\u63D0\u53D6\u7684\u4E2D\u6587"
      L"\u6BB5\u843D\uFF0C\u7528\u6765\u6D4B\u91CF\u6587\u672C\u6846\u7684\u901F\u5EA6\u3002\u6BCF"
      L"\u4E00\u884C\u90FD\u4F1A\u6309\u7167\u6587\u672C\u6846\u7684\u5BBD\u5EA6\u81EA\u52A8\u6362"
      L"\u884C\uFF0C\u76F4\u5230\u6BB5\u843D\u7ED3\u675F\u3002\r\n";
  const size_t units = bytes / sizeof(wchar_t);
  std::wstring text;
  text.reserve(units);
  while (text.size() + kParagraph.size() <= units) text += kParagraph;
  text.append(units - text.size(), L'\u5B57');
  return text;
}

void Measure(Form& form, TextBoxW& box, size_t megabytes) {
  const std::wstring text = ChineseText(megabytes * kMegabyte);
  auto start = std::chrono::steady_clock::now();
  box.SetText(text);
  const double set = Milliseconds(start);
  form.PumpPendingMessages();  // paints the wrapped text
  start = std::chrono::steady_clock::now();
  const std::wstring read = box.Text();
  const double get = Milliseconds(start);
  std::printf("%3zu MB (%8zu characters, %6d lines): set %8.0f ms, read %6.1f ms, %s\n", megabytes,
              text.size(), box.GetLineCount(), set, get,
              read == text ? "read back whole" : "READ BACK DIFFERS");
  box.SetText(L"");
}

}  // namespace

int main() {
  Form form(L"Form1", 640, 480);
  auto font = std::make_shared<FontObject>(L"WenQuanYi Zen Hei", 10);
  font->SetCharset(GB2312_CHARSET);
  form.SetFont(font);
  auto control = std::make_unique<TextBoxW>();
  TextBoxW& box = *control;
  form.AddControl(std::move(control), L"TextBoxW1", {10, 10, 630, 470});
  box.SetMultiLine(true);
  box.SetScrollBars(2);  // vertical only: long lines wrap at the box's width
  form.Show();
  form.PumpPendingMessages();
  LOGFONTW shown{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(box.hWnd(), WM_GETFONT, 0, 0)), sizeof(shown),
             &shown);
  std::printf("font of the box: %ls, %ld pixels high\n", shown.lfFaceName, shown.lfHeight);
  Measure(form, box, 1);
  Measure(form, box, 10);
  return 0;
}
