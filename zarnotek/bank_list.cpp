#include "bank_list.h"

#include <new>

#include "apmalloc.h"
#include "listlex.h"
#include "load.h"
#include "messages.h"
#include "run_state.h"

namespace zarnotek {

using tools::FieldTable;
using tools::read_list_number;
using tools::say_err;

int32_t read_bank_list(const char* path) {
  uint8_t* data = nullptr;
  const int32_t size = load_file(path, &data);
  if (size < 0) tools::exit_process(size);
  return parse_bank_list(reinterpret_cast<char*>(data));
}

int32_t parse_bank_list(char* text) {
  RunState& rs = run_state();
  char* pos = text;
  int bank = -1;
  while (*pos != '\0') {
    char* next;
    switch (*pos) {
      case '\r':
      case '\n':
        ++pos;
        continue;
      case '*':
        ++bank;
        if (bank == kMaxBanks) {
          say_err("W [LIST] too many PZIs, output %d PZIs.\n", kMaxBanks);
          return kMaxBanks;
        }
        next = parse_bank_line(pos, bank);
        break;
      case ';':
        next = tools::skip_line(pos);
        break;
      default:
        if (bank < 0) {
          say_err("W [LIST] undefined PZI name, line.%d.\n", rs.list_line_no);
          return -1;
        }
        next = parse_tone_line(pos, bank);
        break;
    }
    if (next == nullptr) return -1;
    rs.list_line_no += 1;
    pos = next;
  }
  return bank + 1;
}

namespace {

// Cuts the line; null (after the message) unless field 2 is present and set.
FieldTable* split_checked(char* line, char** next, int* count) {
  FieldTable* table = nullptr;
  *next = tools::split_fields(line, &table, count);
  if (*count < 2 || table->field[1][0] == '\0') {
    say_err("E [LXI] invalid format in line.%d.\n", run_state().list_line_no);
    return nullptr;
  }
  return table;
}

}  // namespace

char* parse_bank_line(char* line, int bank) {
  char* next;
  int count;
  FieldTable* table = split_checked(line, &next, &count);
  if (table == nullptr) return nullptr;
  void* memory = tools::apmalloc(sizeof(PziBank));
  if (memory == nullptr) {
    say_err("E [LXI] out of memory in line.%d.\n", run_state().list_line_no);
    return nullptr;
  }
  PziBank* d = new (memory) PziBank{};
  d->header = make_pzi_header();
  d->pzi_filename = table->field[1];
  d->shift = count >= 3 ? read_list_number(table->field[2]) : 0;
  run_state().pzi_banks[bank] = d;
  return next;
}

char* parse_tone_line(char* line, int bank) {
  char* next;
  int count;
  FieldTable* table = split_checked(line, &next, &count);
  if (table == nullptr) return nullptr;
  PziBank* d = run_state().pzi_banks[bank];
  const int64_t index = static_cast<int64_t>(read_list_number(table->field[0])) - d->shift;
  if (index < 0 || index >= kPziTones) {
    say_err("E [LXI] invalid ToneNo in line.%d.\n", run_state().list_line_no);
    return nullptr;
  }
  d->filename[index] = table->field[1];
  PziEntry& e = d->entries[index];
  if (count >= 3) e.rate = static_cast<uint16_t>(read_list_number(table->field[2]));
  if (count >= 5) {
    e.loop_start = read_list_number(table->field[3]);
    e.loop_end = read_list_number(table->field[4]);
  } else {
    e.loop_start = -1;
    e.loop_end = -1;
  }
  run_state().pcm_file_count += 1;
  return next;
}

}  // namespace zarnotek
