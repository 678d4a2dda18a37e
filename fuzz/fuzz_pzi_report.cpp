// The PZI reader and tone-table report of `zarnotek inspect`.
#include "apmalloc.h"
#include "harness.h"
#include "inspect.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 0x7FFFFFFF) return 0;
  zarnotek::report_pzi_bank("fuzz.pzi", data, static_cast<int32_t>(size));
  return 0;
}
