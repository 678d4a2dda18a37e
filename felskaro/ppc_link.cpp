#include "ppc_link.h"

#include <vector>

#include "load.h"
#include "messages.h"
#include "outfile.h"
#include "ppc_format.h"
#include "ppc_list.h"

namespace felskaro {

using tools::say_err;

namespace {

const char* current_output = "";

[[noreturn]] void write_failed() {
  say_err("E [LINK] write error [%s]\n", current_output);
  tools::exit_process(-1);
}

bool clashes_with_input(const char* output, const char* list_path, const PpcSource* sources) {
  std::vector<tools::FileIdentity> inputs;
  tools::add_input(inputs, list_path);
  for (int n = 0; n < kPpcTones; ++n) tools::add_input(inputs, sources[n].source_name);
  return tools::output_is_input(output, inputs);
}

}  // namespace

int32_t write_tone_data(int fd, const char* source, int32_t size, int32_t offset) {
  uint8_t* data = nullptr;
  const int32_t loaded = load_file(source, &data);
  if (loaded < 0 || offset < 0 || size < 0 || static_cast<int64_t>(offset) + size > loaded) {
    say_err("- [ZARNOTEK] READ PCM Failed [%s]\n", source);
    tools::exit_process(-1);
  }
  if (!tools::write_all(fd, data + offset, size)) write_failed();
  return 0;
}

int32_t link_ppc_bank(const char* path) {
  static PpcSource sources[kPpcTones];
  int32_t total = 0;
  const char* output = resolve_ppc_list(path, &total, sources);
  if (output == nullptr) return -1;
  if (clashes_with_input(output, path, sources)) {
    say_err("E [LINK] output is an input [%s]\n", output);
    return -1;
  }
  tools::PpcLayout layout;
  for (int n = 0; n < kPpcTones; ++n) {
    layout.entries[static_cast<size_t>(n)] = {sources[n].start, sources[n].end};
  }
  layout.file_size = total;
  const std::vector<uint8_t> table = tools::build_ppc_table(layout);
  tools::say_out("  [FELSKARO] Totalsize : %d bytes (%04X)\n", total,
                 tools::ppc_next_address_for(total));
  current_output = output;
  const int fd = tools::create_output_file(output);
  if (fd < 0) {
    say_err("E [LINK] cannot open [%s]\n", output);
    tools::exit_process(-1);
  }
  if (!tools::write_all(fd, table.data(), static_cast<int64_t>(table.size()))) write_failed();
  for (int n = 0; n < kPpcTones; ++n) {
    const PpcSource& s = sources[n];
    if (s.source_name != nullptr) write_tone_data(fd, s.source_name, s.size, s.offset);
  }
  if (!tools::close_output_file(fd)) write_failed();
  say_err("  [LINK] done [%s]\n", output);
  return 0;
}

}  // namespace felskaro
