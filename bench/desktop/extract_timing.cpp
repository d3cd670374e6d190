// Times the Extract command through the real main window on generated 1 and 10 MB pages (local
// files, so the network is not measured) and the import of a 100,000-word list, and prints the
// figures. Windows only; run it under Wine with scripts/wine-exec inside xvfb-run. Google
// Benchmark has no cross build here.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "desktop/main_window.h"
#include "bench/page_generator.h"

int main() {
  using Clock = std::chrono::steady_clock;
  veltrin::window::MainWindow window;
  window.ShowAndFocus();
  for (const wchar_t* word : {L"广告", L"风铃书屋", L"请收藏本站"}) window.WordList().AddItem(word);
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  for (const std::size_t megabytes : {1, 10}) {
    veltrin::bench::PageOptions options;
    options.target_bytes = megabytes << 20;
    const std::string page = veltrin::bench::GenerateChapterPage(options);
    const std::wstring path = std::wstring(temp) + L"veltrin-timing.html";
    std::ofstream(std::filesystem::path(path), std::ios::binary | std::ios::trunc) << page;
    window.ResultBox().SetText(L"");
    const Clock::time_point start = Clock::now();
    window.ExtractFrom(path);
    // The page is read off the window's thread: run the window until it has shown the result.
    MSG message;
    while (window.Busy() && GetMessageW(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("Extract through the window, %zu MB page: %.2f s (%.2f MB/s), %zu characters\n",
                megabytes, seconds, static_cast<double>(page.size()) / (1 << 20) / seconds,
                window.ResultBox().Text().size());
    DeleteFileW(path.c_str());
  }

  const std::wstring words_path = std::wstring(temp) + L"veltrin-timing-words.txt";
  {
    std::ofstream words(std::filesystem::path(words_path), std::ios::binary | std::ios::trunc);
    for (int i = 0; i < 100000; ++i) words << "\xE8\xAF\x8D" << i << "\r\n";  // 词0, 词1, ...
  }
  const Clock::time_point start = Clock::now();
  window.LoadWordList(words_path);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::printf("Import of a 100,000-word list: %.2f s, %d items\n", seconds,
              static_cast<int>(window.WordList().ListCount()));
  DeleteFileW(words_path.c_str());
  return 0;
}
