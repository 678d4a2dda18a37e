// The PPC reader of `felskaro view`.
#include "harness.h"
#include "ppc_view.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 0x7FFFFFFF) return 0;
  felskaro::show_ppc_bank("fuzz.ppc", data, static_cast<int32_t>(size));
  return 0;
}
