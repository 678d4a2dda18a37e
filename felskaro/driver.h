// The command driver of felskaro: `felskaro operation file`.
#pragma once

namespace felskaro {

// Prints the usage text on standard error and ends the process.
[[noreturn]] void print_usage(int status);

// The whole run; returns the exit status.
int run_felskaro(int argc, char** argv);

}  // namespace felskaro
