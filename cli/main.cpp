// Entry point of the veltrin command line.
#include <cstdio>

int main() {
  std::fputs("veltrin: extraction is not built yet\n", stderr);
  return 1;
}
