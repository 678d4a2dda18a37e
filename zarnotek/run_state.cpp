#include "run_state.h"

namespace zarnotek {

namespace {
RunState state;
}

RunState& run_state() { return state; }

void reset_run_state() {
  for (auto& bank : state.pzi_banks) bank = nullptr;
  state.list_line_no = 1;
  state.pcm_file_count = 0;
}

}  // namespace zarnotek
