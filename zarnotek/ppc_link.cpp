#include "ppc_link.h"

#include <vector>

#include "fileload.h"
#include "listlex.h"
#include "load.h"
#include "messages.h"
#include "outfile.h"
#include "ppc_format.h"
#include "run_state.h"

namespace zarnotek {

using tools::say_err;

namespace {

const char* current_output = "";

// Cuts the name field at `field` out of the text; returns where the next
// record begins.
char* cut_name(char* field) {
  char* end = field + tools::field_length(field);
  const bool at_terminator = *end == '\0';
  *end = '\0';
  return at_terminator ? end : end + 1;
}

std::vector<tools::FileIdentity> linkppc_inputs(const char* list_path, const PpcToneSlot* tones) {
  std::vector<tools::FileIdentity> inputs;
  tools::add_input(inputs, list_path);
  for (int n = 0; n < kPpcTones; ++n) tools::add_input(inputs, tones[n].name);
  return inputs;
}

[[noreturn]] void write_failed() {
  say_err("E [ZARNOTEK] write error [%s]\n", current_output);
  tools::exit_process(-1);
}

}  // namespace

const char* read_ppc_list(const char* path, PpcToneSlot* tones) {
  char* pos = tools::load_text_file(path);
  if (pos == nullptr) {
    say_err("E [LISTPPC] ERROR, LXI not found.\n");
    return nullptr;
  }
  return parse_ppc_list(pos, tones);
}

const char* parse_ppc_list(char* text, PpcToneSlot* tones) {
  char* pos = text;
  RunState& rs = run_state();
  const char* output = nullptr;
  int names = 0;
  while (*pos != '\0') {
    if (*pos == '*') {
      names += 1;
      if (names > 1) {
        say_err("E [LISTPPC] too many PPCs.\n");
        return nullptr;
      }
      char* field = tools::next_field(pos, 1);
      if (field == nullptr || tools::field_length(field) == 0) {
        say_err("E [LISTPPC] NO PPC-Filename, line.%d.\n", rs.list_line_no);
        return nullptr;
      }
      pos = cut_name(field);
      output = field;
      say_err("  [LISTPPC] PPC [%s]\n", output);
    } else if (*pos == ';' || *pos == '\n') {
      pos = tools::skip_line(pos);
    } else {
      if (output == nullptr) {
        say_err("E [LISTPPC] undefined PPC name, line.%d.\n", rs.list_line_no);
        return nullptr;
      }
      const int32_t tone = tools::read_list_number(pos);
      char* field = tools::next_field(pos, 1);
      if (tone < 0 || tone >= kPpcTones) {
        say_err("E [LISTPPC] BAD @-Number, line.%d\n", rs.list_line_no);
        return nullptr;
      }
      if (field == nullptr || tools::field_length(field) == 0) {
        say_err("E [LISTPPC] NO PCM-Filename, line.%d.\n", rs.list_line_no);
        return nullptr;
      }
      pos = cut_name(field);
      tones[tone].name = field;
      say_err("  [LISTPPC] PCM @%03d [%s]\n", tone, field);
    }
    rs.list_line_no += 1;
  }
  return output;
}

void append_adpcm_file(int fd, const char* name, int32_t size) {
  uint8_t* data = nullptr;
  const int32_t loaded = load_file(name, &data);
  if (loaded < 0 || loaded != size) {
    say_err("- [ZARNOTEK] READ PCM Failed [%s]\n", name);
    tools::exit_process(-1);
  }
  if (!tools::write_all(fd, data, loaded)) write_failed();
}

int32_t link_ppc_from_list(const char* path) {
  PpcToneSlot tones[kPpcTones] = {};
  const char* output = read_ppc_list(path, tones);
  if (output == nullptr) return -1;
  say_err("- [ZARNOTEK] LXI check is OK, PPC:[%s]\n", output);
  tools::PpcLayout layout;
  for (int n = 0; n < kPpcTones; ++n) {
    PpcToneSlot& t = tones[n];
    if (t.name == nullptr) continue;
    t.size = tools::probe_file_size(t.name);
    if (t.size < 0 || t.size % tools::kPpcBlockSize != 0) {
      say_err("E [PCMFILE] BAD PCMSize(32), [%s/%d]\n", t.name, t.size);
      return -1;
    }
    tools::place_ppc_element(layout, n, t.size);
    t.blocks = static_cast<uint16_t>(t.size / tools::kPpcBlockSize);
    t.start = layout.entries[static_cast<size_t>(n)].start;
    t.end = layout.entries[static_cast<size_t>(n)].end;
  }
  if (layout.file_size > tools::kPpcMaxBankSize) {
    say_err("E [PCMFILE] TOO Large PPC-File, [%lld]\n", static_cast<long long>(layout.file_size));
    return -1;
  }
  if (tools::output_is_input(output, linkppc_inputs(path, tones))) {
    say_err("E [ZARNOTEK] output is an input [%s]\n", output);
    return -1;
  }
  current_output = output;
  const int fd = tools::create_output_file(output);
  if (fd < 0) {
    say_err("E [ZARNOTEK] cannot open [%s]\n", output);
    tools::exit_process(-1);
  }
  const std::vector<uint8_t> table = tools::build_ppc_table(layout);
  if (!tools::write_all(fd, table.data(), static_cast<int64_t>(table.size()))) write_failed();
  for (int n = 0; n < kPpcTones; ++n) {
    if (tones[n].name != nullptr) append_adpcm_file(fd, tones[n].name, tones[n].size);
  }
  if (!tools::close_output_file(fd)) write_failed();
  say_err("  [ZARNOTEK] done [%s]\n", output);
  return 0;
}

}  // namespace zarnotek
