// Writes a generated chapter page to a file, to measure the command line on large inputs:
//   veltrin_make_page SIZE FILE [--one-line-body] [--seed N]
// SIZE is in mebibytes, or in kibibytes with a K after it (50K).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/page_generator.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("usage: veltrin_make_page SIZE[K] FILE [--one-line-body] [--seed N]\n", stderr);
    return 2;
  }
  veltrin::bench::PageOptions options;
  char* unit = nullptr;
  const unsigned long long size = std::strtoull(argv[1], &unit, 10);
  options.target_bytes = size << ((*unit == 'K' || *unit == 'k') ? 10 : 20);
  for (int i = 3; i < argc; ++i) {
    if (std::strcmp(argv[i], "--one-line-body") == 0) {
      options.single_line_body = true;
    } else if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc) {
      options.seed = std::strtoull(argv[++i], nullptr, 10);
    } else {
      std::fprintf(stderr, "veltrin_make_page: unknown argument %s\n", argv[i]);
      return 2;
    }
  }
  const std::string page = veltrin::bench::GenerateChapterPage(options);
  std::FILE* file = std::fopen(argv[2], "wb");
  if (file == nullptr || std::fwrite(page.data(), 1, page.size(), file) != page.size() ||
      std::fclose(file) != 0) {
    std::perror(argv[2]);
    return 1;
  }
  return 0;
}
