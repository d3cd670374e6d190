// The process's standard streams behind the StandardStreams interface.
#include "cli/standard_streams.h"

#include "cli/console.h"

namespace veltrin::cli {

namespace {

class ProcessStandardStreams : public StandardStreams {
 public:
  bool ReadInput(char* buffer, std::size_t capacity, std::size_t* got,
                 Cancellation* cancellation) override {
    return ReadStandardInputPiece(buffer, capacity, got, cancellation);
  }
  bool WriteOutput(std::string_view bytes) override { return WriteStandardOutput(bytes); }
  void WriteError(std::u16string_view text) override { WriteStandardError(text); }
  bool ErrorIsTerminal() override { return StandardErrorIsTerminal(); }
};

}  // namespace

StandardStreams& ProcessStreams() {
  static ProcessStandardStreams streams;
  return streams;
}

}  // namespace veltrin::cli
