// Scratch files on Linux: tmpfile() unlinks the file at once (or never names it).
#include "cli/scratch_file.h"

namespace veltrin::cli {

UniqueStdioFile OpenScratchFile() {
  return UniqueStdioFile(std::tmpfile());
}

}  // namespace veltrin::cli
