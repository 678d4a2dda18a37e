// Console messages and process exit.
//
// Every message is formatted whole and written with a single write call to
// the stream it belongs to. Format strings are always literals of this code
// base; data (file names, list text) only ever travels as an argument.
#pragma once

#include <string>

namespace tools {

enum class Stream { Out, Err };

// Formats like printf and returns the text.
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Writes text to the stream with one write call (retried only for the rest
// of a partial write). A failure to write to the console is ignored.
void emit(Stream stream, const std::string& text);

// Formats and writes one message to standard output / standard error.
void say_out(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void say_err(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Ends the process at once with the given status (-1 reaches the shell as
// 255). Output already written stays written.
[[noreturn]] void exit_process(int status);

}  // namespace tools
