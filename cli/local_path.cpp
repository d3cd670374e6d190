// The portable part of the local path checks.
#include "cli/local_path.h"

namespace veltrin::cli {

bool HoldsWildcards(const std::u16string& path) {
  return path.find_first_of(u"*?") != std::u16string::npos;
}

}  // namespace veltrin::cli
