// The WAVE reader: chunk walk, format record and format check.
#include "apmalloc.h"
#include "harness.h"
#include "wave.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const zarnotek::WaveFormat* format =
      zarnotek::parse_wave_format(data, static_cast<int64_t>(size));
  if (format != nullptr) zarnotek::check_wave_format(*format);
  zarnotek::find_riff_chunk(data, static_cast<int64_t>(size), "data");
  return 0;
}
