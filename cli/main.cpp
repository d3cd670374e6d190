// Entry point of the veltrin command line.
#include "cli/console.h"
#include "cli/run.h"

int main(int argc, char** argv) {
  veltrin::cli::PrepareStandardStreams();
  return veltrin::cli::Run(veltrin::cli::ProgramArguments(argc, argv));
}
