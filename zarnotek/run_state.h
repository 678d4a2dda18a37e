// Run state of zarnotek, owned and reset by the command driver.
#pragma once

#include <cstdint>

namespace zarnotek {

struct PziBank;

inline constexpr int kMaxBanks = 16;

struct RunState {
  PziBank* pzi_banks[kMaxBanks];  // descriptors of the bank lines, in list order
  int32_t list_line_no;           // list line being parsed, for "line.%d"
  int32_t pcm_file_count;         // tone lines accepted by list parsing
};

RunState& run_state();

// Every slot null, list_line_no 1, pcm_file_count 0.
void reset_run_state();

}  // namespace zarnotek
