// The list reader of `zarnotek linkppc`, after the text-mode translation.
#include "fileload.h"
#include "harness.h"
#include "ppc_link.h"
#include "run_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zarnotek::reset_run_state();
  std::vector<char> text = fuzzing::as_text(data, size);
  const int64_t length = tools::translate_text_mode(text.data(), static_cast<int64_t>(size));
  std::memset(text.data() + length, 0, text.size() - static_cast<size_t>(length));
  zarnotek::PpcToneSlot tones[zarnotek::kPpcTones] = {};
  zarnotek::parse_ppc_list(text.data(), tones);
  return 0;
}
