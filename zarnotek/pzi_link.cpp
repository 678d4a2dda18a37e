#include "pzi_link.h"

#include <algorithm>
#include <vector>

#include "bank_list.h"
#include "byteio.h"
#include "load.h"
#include "messages.h"
#include "outfile.h"
#include "run_state.h"
#include "sample_check.h"
#include "wave.h"

namespace zarnotek {

using tools::say_err;

namespace {

// Name of the bank being written, for the write-failure message.
const char* current_output = "";

[[noreturn]] void write_failed() {
  say_err("E [OUTPZI] write error [%s]\n", current_output);
  tools::exit_process(-1);
}

void write_or_die(tools::GatherWriter& out, const uint8_t* data, int64_t size) {
  if (!out.add(data, size)) write_failed();
}

std::vector<tools::FileIdentity> run_inputs(const char* list_path, int banks) {
  std::vector<tools::FileIdentity> inputs;
  tools::add_input(inputs, list_path);
  for (int b = 0; b < banks; ++b) {
    for (const char* name : run_state().pzi_banks[b]->filename) tools::add_input(inputs, name);
  }
  return inputs;
}

// First output that would overwrite an input, or null.
const char* clashing_output(const char* list_path, int banks) {
  const auto inputs = run_inputs(list_path, banks);
  for (int b = 0; b < banks; ++b) {
    const char* out = run_state().pzi_banks[b]->pzi_filename;
    if (tools::output_is_input(out, inputs)) return out;
  }
  return nullptr;
}

}  // namespace

int32_t link_pzi_banks(const char* list_path) {
  const int32_t banks = read_bank_list(list_path);
  if (banks < 0) {
    say_err("E [ZARNOTEK] aborted ZARNOTEK.\n");
    return banks;
  }
  say_err("- [ZARNOTEK] LXI check is OK, %d PZI file(s).\n", banks);
  for (int b = 0; b < banks; ++b) {
    const int32_t result = check_bank_samples(b);
    if (result < 0) return result;
  }
  if (const char* clash = clashing_output(list_path, banks)) {
    say_err("E [OUTPZI] output is an input [%s]\n", clash);
    return -1;
  }
  say_err("- [ZARNOTEK] PCM-Files check is OK, %d PCM file(s).\n", run_state().pcm_file_count);
  for (int b = 0; b < banks; ++b) write_pzi_bank(b);
  return 0;
}

int32_t write_pzi_bank(int b) {
  const PziBank& bank = *run_state().pzi_banks[b];
  current_output = bank.pzi_filename;
  const int fd = tools::create_output_file(bank.pzi_filename);
  if (fd < 0) {
    say_err("E [OUTPZI] cannot open [%s]", bank.pzi_filename);
    tools::exit_process(-1);
  }
  std::vector<uint8_t> table(kPziDataStart);
  std::copy(bank.header.bytes.begin(), bank.header.bytes.end(), table.begin());
  for (int n = 0; n < kPziTones; ++n) {
    encode_pzi_entry(bank.entries[n], table.data() + kPziHeaderSize + kPziEntrySize * n);
  }
  tools::GatherWriter out(fd);
  write_or_die(out, table.data(), static_cast<int64_t>(table.size()));
  for (int tone = 0; tone < kPziTones; ++tone) {
    int32_t written;
    switch (bank.kind[tone]) {
      case kSampleWave:
        written = write_wave_tone(out, b, tone);
        break;
      case kSamplePc8:
      case kSamplePpi:
        written = write_raw_tone(out, b, tone);
        break;
      default:
        continue;
    }
    if (written != bank.entries[tone].length) {
      say_err("W [OUTPZI] ERROR in write, [%s] in [%s], %d.\n", bank.filename[tone],
              bank.pzi_filename, written);
    }
  }
  if (!out.flush()) write_failed();
  if (!tools::close_output_file(fd)) write_failed();
  return 0;
}

namespace {

// The part of [from, from + want) that the loaded bytes hold.
int32_t bytes_present(int64_t loaded, int64_t from, int32_t want) {
  const int64_t have = loaded - from;
  if (have <= 0 || want <= 0) return 0;
  return static_cast<int32_t>(std::min<int64_t>(have, want));
}

}  // namespace

int32_t write_wave_tone(tools::GatherWriter& out, int b, int tone) {
  const PziBank& bank = *run_state().pzi_banks[b];
  uint8_t* file = nullptr;
  const int32_t size = load_file(bank.filename[tone], &file);
  if (size < 0) return -1;
  const int64_t chunk = find_riff_chunk(file, size, "data");
  if (chunk < 0) return -1;
  const int32_t n = bytes_present(size, chunk + 8, bank.entries[tone].length);
  write_or_die(out, file + chunk + 8, n);
  return n;
}

int32_t write_raw_tone(tools::GatherWriter& out, int b, int tone) {
  const PziBank& bank = *run_state().pzi_banks[b];
  uint8_t* file = nullptr;
  const int32_t size = load_file(bank.filename[tone], &file);
  if (size < 0) return -1;
  if (bank.kind[tone] == kSamplePc8) {
    tools::resign_samples(file, file, static_cast<size_t>(size));
  }
  const int32_t n = bytes_present(size, 0, bank.entries[tone].length);
  write_or_die(out, file, n);
  return n;
}

}  // namespace zarnotek
