// The paragraph formatter fed one line at a time, shared by the whole-text and the streaming
// forms of the pipeline.
#pragma once

#include <string>
#include <string_view>

namespace veltrin {

class ParagraphFormatter {
 public:
  // Appends to `output` what the next line (without its LF; any CR in it is dropped) gives. The
  // first line also decides whether the output opens with the indent.
  void AddLine(std::u16string_view piece, std::u16string& output);

  // Returns whether any line has been added.
  bool HasLines() const noexcept { return !first_line_; }

 private:
  std::u16string line_;     // the line being rewritten; one buffer for all lines
  bool first_line_ = true;  // whether no line has been added yet
};

}  // namespace veltrin
