#include "inspect.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "load.h"
#include "messages.h"
#include "path_split.h"
#include "pzi_format.h"

namespace zarnotek {

using tools::say_err;
using tools::say_out;

const char* format_grouped(int32_t n) {
  static char buffer[32];
  std::memset(buffer, 0, sizeof buffer);
  const int64_t m = n < 0 ? -static_cast<int64_t>(n) : n;
  const int64_t groups[3] = {(m / 1000000) % 1000, (m / 1000) % 1000, m % 1000};
  const int64_t billions = m / 1000000000;
  size_t used = 0;
  auto append = [&](const char* fmt, int64_t v) {
    const int k =
        std::snprintf(buffer + used, sizeof buffer - used, fmt, static_cast<long long>(v));
    if (k > 0) used += static_cast<size_t>(k);
  };
  if (n < 0) append("-", 0);
  bool written = false;
  if (billions > 0) {
    append("%lld,", billions);
    written = true;
  }
  for (int i = 0; i < 2; ++i) {
    if (written) {
      append("%03lld,", groups[i]);
    } else if (groups[i] > 0) {
      append("%lld,", groups[i]);
      written = true;
    }
  }
  append(written ? "%03lld" : "%lld", groups[2]);
  return buffer;
}

namespace {

constexpr const char* kSeparator = " ---  -------- -------- -------- -------- -------- --------\n";

bool is_present(const PziEntry& e) { return e.rate != 0 && e.length > 0; }

std::string tone_row(int n, const PziEntry& e) {
  const int32_t offset = static_cast<int32_t>(e.offset);
  const uint32_t position = e.offset + static_cast<uint32_t>(kPziDataStart);
  if (e.loop_start == -1) {
    return tools::format(" %3d  %5d Hz %8d        -        - %8d %08X\n", n, e.rate, e.length,
                         offset, position);
  }
  return tools::format(" %3d  %5d Hz %8d %8d %8d %8d %08X\n", n, e.rate, e.length, e.loop_start,
                       e.loop_end, offset, position);
}

}  // namespace

int32_t load_pzi_file(const char* path, uint8_t** bank) {
  const int32_t size = load_file(path, bank);
  if (size < 0) say_err("E [INSPECT] ERROR, cannot read File [%s].\n", path);
  return size;
}

bool pzi_header_ok(const uint8_t* bank, int32_t size) {
  if (!pzi_large_enough(size)) {
    say_err("E [INSPECT] too small PZI, %d bytes.\n", size);
    return false;
  }
  if (!pzi_has_magic(bank, size)) {
    say_err("E [INSPECT] not PZI1.\n");
    return false;
  }
  return true;
}

int32_t inspect_pzi_bank(const char* path) {
  say_err("- [INSPECT] start inspect [%s].\n", path);
  uint8_t* bank = nullptr;
  const int32_t size = load_pzi_file(path, &bank);
  if (size < 0) return -1;
  return report_pzi_bank(path, bank, size);
}

int32_t report_pzi_bank(const char* path, const uint8_t* bank, int32_t size) {
  if (!pzi_header_ok(bank, size)) return -1;
  PziEntry tones[kPziTones];
  int32_t present = 0;
  int64_t sum = 0;
  for (int n = 0; n < kPziTones; ++n) {
    tones[n] = decode_pzi_entry(bank, n);
    if (is_present(tones[n])) {
      ++present;
      sum += tones[n].length;
    }
  }
  const int64_t needed = kPziDataStart + sum;
  if (size < needed) {
    say_err("E [INSPECT] too short PZI, need %lld bytes.\n", static_cast<long long>(needed));
    return -1;
  }
  const PathParts parts = split_path(path);
  say_out("C [INSPECT]    FileName : %s%s\n", parts.base.c_str(), parts.extension.c_str());
  say_out("C [INSPECT]    FileSize : %s bytes\n", format_grouped(size));
  say_out("C [INSPECT]    PCMFiles : %d\n", present);
  say_out("\n");
  say_out("  @     Freq.    size    Lstart    Lend    offset   PZIPos.\n");
  say_out("%s", kSeparator);
  bool separated = true;
  for (int n = 0; n < kPziTones; ++n) {
    if (is_present(tones[n])) {
      tools::emit(tools::Stream::Out, tone_row(n, tones[n]));
      separated = false;
    } else if (!separated) {
      say_out("%s", kSeparator);
      separated = true;
    }
  }
  if (!separated) say_out("%s", kSeparator);
  say_out("\n");
  say_err("C [INSPECT] FormatCheck : OK\n");
  return 0;
}

}  // namespace zarnotek
