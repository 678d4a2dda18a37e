#include "ppc_list.h"

#include <cstring>

#include "fileload.h"
#include "listlex.h"
#include "load.h"
#include "messages.h"
#include "ppc_format.h"

namespace felskaro {

using tools::say_err;
using tools::say_out;

char* split_line(char* line, char** fields, int max) {
  for (int i = 0; i < max; ++i) fields[i] = nullptr;
  fields[0] = line;
  int tabs = 0;
  char* p = line;
  while (*p != '\0' && *p != '\n') {
    if (*p == '\t') {
      *p = '\0';
      ++tabs;
      if (tabs < max) fields[tabs] = p + 1;
    }
    ++p;
  }
  if (*p == '\n') {
    *p = '\0';
    return p + 1;
  }
  return p;
}

int32_t find_ppc_element(const char* path, int32_t e, int32_t* offset, int32_t* size) {
  uint8_t* bank = nullptr;
  const int32_t file_size = load_file(path, &bank);
  if (file_size < 0) {
    say_out("E [LINK] ERROR, cannot read File [%s].\n", path);
    return -1;
  }
  if (file_size < tools::kPpcTableEnd) {
    say_out("E [LINK] ERROR, too short File [%s].\n", path);
    return -2;
  }
  if (tools::ppc_address_to_offset(tools::read_next_address(bank, file_size)) != file_size) {
    say_out("W [LINK] BAD Filesize(0x1E) [%s]\n", path);
  }
  const tools::PpcEntry entry = (e >= 0 && e < tools::kPpcElements)
                                    ? tools::read_ppc_entry(bank, file_size, e)
                                    : tools::PpcEntry{};
  if (entry.start == 0) {
    say_out("E [LINK] NOT FOUND PPC-Element [%s/@%d]\n", path, e);
    return -4;
  }
  const int32_t element_offset = tools::ppc_address_to_offset(entry.start);
  const int32_t element_size = tools::ppc_element_size(entry);
  if (element_offset < 0 || element_size < 0 ||
      static_cast<int64_t>(element_offset) + element_size > file_size) {
    say_out("E [LINK] BAD PPC-Format [%s]\n", path);
    return -3;
  }
  *offset = element_offset;
  *size = element_size;
  return 0;
}

namespace {

bool names_ppc_bank(const char* name) {
  const size_t n = std::strlen(name);
  return n >= 4 && std::memcmp(name + n - 4, ".PPC", 4) == 0;
}

// Handles one tone line; false after the message.
bool read_tone_line(char** fields, int32_t line, PpcSource* sources) {
  const int32_t n = tools::read_list_number(fields[0]);
  if (n < 0 || n >= kPpcTones) {
    say_out("E [FELSKARO] BAD @-Number, line.%d\n", line);
    return false;
  }
  if (fields[1] == nullptr || fields[1][0] == '\0') {
    say_out("E [FELSKARO] NO PCM-Filename, line.%d.\n", line);
    return false;
  }
  PpcSource& s = sources[n];
  s.source_name = fields[1];
  if (fields[2] != nullptr) s.element_number = tools::read_list_number(fields[2]);
  say_out("  [FELSKARO] tone:%3d [%s/%3d]\n", n, s.source_name, s.element_number);
  return true;
}

// Offset and size of one source; false after the message.
bool resolve_source(PpcSource& s) {
  if (names_ppc_bank(s.source_name)) {
    return find_ppc_element(s.source_name, s.element_number, &s.offset, &s.size) == 0;
  }
  s.offset = 0;
  s.size = tools::probe_file_size(s.source_name);
  if (s.size < 0) {
    say_out("E [FELSKARO] NOT FOUND [%s].\n", s.source_name);
    return false;
  }
  if (s.size % tools::kPpcBlockSize != 0) {
    say_out("E [FELSKARO] BAD PCMSize(32), [%s/%d]\n", s.source_name, s.size);
    return false;
  }
  return true;
}

}  // namespace

const char* resolve_ppc_list(const char* path, int32_t* total, PpcSource* sources) {
  char* pos = tools::load_text_file(path);
  if (pos == nullptr) {
    say_out("E [FELSKARO] LXI NOT FOUND [%s]\n", path);
    tools::exit_process(1);
  }
  return resolve_ppc_text(pos, total, sources);
}

const char* resolve_ppc_text(char* text, int32_t* total, PpcSource* sources) {
  char* pos = text;
  for (int n = 0; n < kPpcTones; ++n) sources[n] = PpcSource{};
  int32_t line = 0;
  const char* output = nullptr;
  while (*pos != '\0') {
    char* fields[3];
    pos = split_line(pos, fields, 3);
    const char* first = fields[0];
    if (first[0] == '\0' || first[0] == ';') {
      // skipped
    } else if (std::strcmp(first, "*") == 0) {
      output = fields[1];
      say_out("  [FELSKARO] PPC-Filename [%s]\n", output != nullptr ? output : "(null)");
    } else if (!read_tone_line(fields, line, sources)) {
      return nullptr;
    }
    line += 1;
  }
  if (output == nullptr || output[0] == '\0') {
    say_out("E [FELSKARO] ERROR, PPC-Filename not found.\n");
    return nullptr;
  }
  tools::PpcLayout layout;
  for (int n = 0; n < kPpcTones; ++n) {
    PpcSource& s = sources[n];
    if (s.source_name == nullptr) continue;
    if (!resolve_source(s)) return nullptr;
    tools::place_ppc_element(layout, n, s.size);
    s.blocks = static_cast<uint16_t>(s.size / tools::kPpcBlockSize);
    s.start = layout.entries[static_cast<size_t>(n)].start;
    s.end = layout.entries[static_cast<size_t>(n)].end;
  }
  if (layout.file_size > tools::kPpcMaxBankSize) {
    say_err("E [FELSKARO] TOO Large PPC-File, %lld bytes\n",
            static_cast<long long>(layout.file_size));
    return nullptr;
  }
  *total = static_cast<int32_t>(layout.file_size);
  return output;
}

}  // namespace felskaro
