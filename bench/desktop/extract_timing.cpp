// Times the Extract command through the real main window on generated 1 and 10 MB pages (local
// files, so the network is not measured) and prints seconds and MB/s per size. Windows only; run
// it under Wine with scripts/wine-exec inside xvfb-run. Google Benchmark has no cross build here.
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
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("Extract through the window, %zu MB page: %.2f s (%.2f MB/s), %zu characters\n",
                megabytes, seconds, static_cast<double>(page.size()) / (1 << 20) / seconds,
                window.ResultBox().Text().size());
    DeleteFileW(path.c_str());
  }
  return 0;
}
