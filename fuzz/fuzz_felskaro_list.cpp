// The list reader of `felskaro link` with element lookup: the input is a
// two-byte list length, the list text, then the bytes of a source written
// both as the bank S.PPC and the raw file r.adp in the scratch directory.
#include "fileload.h"
#include "harness.h"
#include "ppc_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::enter_scratch_directory();
  if (size < 2) return 0;
  size_t list_size = static_cast<size_t>(data[0] | (data[1] << 8));
  if (list_size > size - 2) list_size = size - 2;
  const uint8_t* source = data + 2 + list_size;
  const size_t source_size = size - 2 - list_size;
  fuzzing::write_file("S.PPC", source, source_size);
  fuzzing::write_file("r.adp", source, source_size);
  std::vector<char> text = fuzzing::as_text(data + 2, list_size);
  const int64_t length = tools::translate_text_mode(text.data(), static_cast<int64_t>(list_size));
  std::memset(text.data() + length, 0, text.size() - static_cast<size_t>(length));
  static felskaro::PpcSource sources[felskaro::kPpcTones];
  int32_t total = 0;
  felskaro::resolve_ppc_text(text.data(), &total, sources);
  tools::release_plain_buffers();
  return 0;
}
