// Entry point of the veltrin command line.
#include "cli/console.h"
#include "cli/run.h"

int main(int argc, char** argv) {
  veltrin::cli::PrepareStandardStreams();
  veltrin::cli::EndOnInterrupt(veltrin::cli::kInterrupted);
  return veltrin::cli::Run(veltrin::cli::ProgramArguments(argc, argv));
}
