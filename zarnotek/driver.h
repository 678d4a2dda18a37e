// The command driver of zarnotek: `zarnotek operation file`.
#pragma once

#include <cstdint>

namespace zarnotek {

// Prints the usage text on standard error and ends the process.
[[noreturn]] void print_usage(int status);

// The whole run; returns the exit status.
int run_zarnotek(int argc, char** argv);

}  // namespace zarnotek
