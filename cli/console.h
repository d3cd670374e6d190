// The command line's standard streams and arguments, behind one interface for Linux and Windows:
// bytes in and out unchanged (no CR LF translation), messages in Unicode.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/cancellation.h"

namespace veltrin::cli {

// Puts the standard streams in binary mode, so that CR LF in a result is written as it is.
void PrepareStandardStreams();

// Returns the program's arguments after the program name, as UTF-16 (Windows: the wide command
// line; elsewhere: argv decoded as UTF-8).
std::vector<std::u16string> ProgramArguments(int argc, char** argv);

// Reads the next bytes of standard input into `buffer`; *got is 0 at its end. Returns false when
// reading fails, and once `cancellation` (when given) is cancelled, even while no bytes arrive.
bool ReadStandardInputPiece(char* buffer, std::size_t capacity, std::size_t* got,
                            Cancellation* cancellation);

// Writes bytes to standard output and flushes; returns false when that fails.
bool WriteStandardOutput(std::string_view bytes);

// Writes text to standard error as it is (UTF-16 to a Windows console, UTF-8 otherwise).
void WriteStandardError(std::u16string_view text);

// From now on, an interrupt (SIGINT, SIGTERM; on Windows the console control events: Ctrl+C,
// Ctrl+Break, closing the console, logging off, shutting down) removes every temporary file of
// an unfinished replacing write, leaving each target as it was, and ends the process at once with
// `status`. Call it before any thread starts.
void EndOnInterrupt(int status);

// Returns true when standard error is a terminal (progress is shown only there).
bool StandardErrorIsTerminal();

}  // namespace veltrin::cli
