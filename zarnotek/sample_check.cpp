#include "sample_check.h"

#include <strings.h>

#include <cstring>
#include <limits>

#include "bank_list.h"
#include "load.h"
#include "messages.h"
#include "path_split.h"
#include "run_state.h"
#include "wave.h"

namespace zarnotek {

using tools::say_out;

namespace {

// Slot position (from 1) is the kind; an empty slot ends the table.
constexpr char sample_extensions[15][16] = {".wav", ".pc8", ".ppi"};

constexpr int64_t kMaxDataArea = std::numeric_limits<int32_t>::max();

enum class Fault { Filename, Format, TooLarge };

void report(Fault fault, const PziBank& bank, int tone) {
  const char* pzi = bank.pzi_filename;
  const char* file = bank.filename[tone];
  switch (fault) {
    case Fault::Filename:
      say_out("E [WaveCHECK] BAD Filename, [%s],@%d,[%s]\n", pzi, tone, file);
      break;
    case Fault::Format:
      say_out("E [WaveCHECK] BAD RIFF-Format, [%s],@%d,[%s]\n", pzi, tone, file);
      break;
    case Fault::TooLarge:
      say_out("E [WaveCHECK] too large PZI, [%s],@%d,[%s]\n", pzi, tone, file);
      break;
  }
}

// Measures a WAVE tone; false after the messages.
bool check_wave_tone(PziBank& bank, int tone) {
  const WaveFormat* format = read_wave_format(bank.filename[tone]);
  if (format == nullptr || check_wave_format(*format) < 0 ||
      static_cast<int64_t>(format->data_size) > format->data_available) {
    report(Fault::Format, bank, tone);
    return false;
  }
  PziEntry& e = bank.entries[tone];
  if (e.rate == 0) e.rate = static_cast<uint16_t>(format->sample_rate);
  e.length = static_cast<int32_t>(format->data_size);
  return true;
}

// Measures a raw tone; false after the loader's message.
bool check_raw_tone(PziBank& bank, int tone) {
  const int32_t size = load_file(bank.filename[tone], nullptr);
  if (size < 0) return false;
  PziEntry& e = bank.entries[tone];
  e.length = size;
  if (e.rate == 0) e.rate = kDefaultRawRate;
  return true;
}

}  // namespace

int32_t classify_sample_file(const char* name) {
  const PathParts parts = split_path(name);
  for (int slot = 0; slot < 15; ++slot) {
    const char* entry = sample_extensions[slot];
    if (entry[0] == '\0') break;
    if (strncasecmp(entry, parts.extension.c_str(), std::strlen(entry)) == 0) return slot + 1;
  }
  return -1;
}

int32_t check_bank_samples(int b) {
  PziBank& bank = *run_state().pzi_banks[b];
  int64_t running = 0;
  for (int tone = 0; tone < kPziTones; ++tone) {
    if (bank.filename[tone] == nullptr) continue;
    const int32_t kind = classify_sample_file(bank.filename[tone]);
    bank.kind[tone] = kind;
    if (kind < 0) {
      report(Fault::Filename, bank, tone);
      return -1;
    }
    const bool ok = kind == kSampleWave ? check_wave_tone(bank, tone) : check_raw_tone(bank, tone);
    if (!ok) return -1;
    PziEntry& e = bank.entries[tone];
    if (running + e.length > kMaxDataArea) {
      report(Fault::TooLarge, bank, tone);
      return -1;
    }
    e.offset = static_cast<uint32_t>(running);
    running += e.length;
  }
  return 0;
}

}  // namespace zarnotek
