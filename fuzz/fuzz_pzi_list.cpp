// The PZI list reader of `zarnotek link`, with the classification of every
// sample file it names.
#include "apmalloc.h"
#include "bank_list.h"
#include "harness.h"
#include "run_state.h"
#include "sample_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::enter_scratch_directory();
  zarnotek::reset_run_state();
  char* text = static_cast<char*>(tools::apmalloc(static_cast<int64_t>(size) + 2));
  if (text == nullptr) return 0;
  std::memset(text, 0, size + 2);
  if (size > 0) std::memcpy(text + 1, data, size);
  const int32_t banks = zarnotek::parse_bank_list(text + 1);
  for (int b = 0; b < banks; ++b) {
    for (const char* name : zarnotek::run_state().pzi_banks[b]->filename) {
      if (name != nullptr) zarnotek::classify_sample_file(name);
    }
  }
  tools::apmalloc(-1);
  return 0;
}
