// The PZI reader and P86 writer of `zarnotek pzi2p86` (the output lands in
// the scratch directory).
#include "apmalloc.h"
#include "harness.h"
#include "p86.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::enter_scratch_directory();
  if (size > 0x7FFFFFFF) return 0;
  zarnotek::convert_loaded_pzi("fuzz.pzi", data, static_cast<int32_t>(size));
  return 0;
}
