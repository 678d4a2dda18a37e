// Test support: running the built programs as processes in a fresh
// temporary directory, and building fixtures (files, WAVE, PZI, PPC banks).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

using Bytes = std::vector<uint8_t>;

struct RunResult {
  std::string out;
  std::string err;
  int status = -1;  // exit status as the shell sees it (0..255)
};

// A fresh temporary directory, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

  void write(const std::string& name, const Bytes& data) const;
  void write(const std::string& name, const std::string& text) const;
  Bytes read(const std::string& name) const;
  bool exists(const std::string& name) const;
  // Names of the regular files in the directory, sorted.
  std::vector<std::string> listing() const;

 private:
  std::filesystem::path path_;
};

// Runs program with args, in dir, with empty standard input.
RunResult run_program(const std::string& program, const std::vector<std::string>& args,
                      const std::filesystem::path& dir);

RunResult zarnotek_run(const TempDir& dir, const std::vector<std::string>& args);
RunResult felskaro_run(const TempDir& dir, const std::vector<std::string>& args);

// Little-endian builders.
void put16(Bytes& b, uint16_t v);
void put32(Bytes& b, uint32_t v);
Bytes text_bytes(const std::string& s);
Bytes pattern(size_t n, uint8_t seed);  // deterministic sample bytes

struct WaveShape {
  uint16_t tag = 1;
  uint16_t channels = 1;
  uint32_t rate = 16540;
  uint16_t align = 1;
  uint16_t bits = 8;
};

// "RIFF", size, "WAVE", "fmt " (16 bytes), then "data" with the samples.
Bytes make_wave(const Bytes& samples, const WaveShape& shape = {});

struct PziTone {
  int index;
  uint32_t offset;
  int32_t length;
  int32_t loop_start;
  int32_t loop_end;
  uint16_t rate;
};

// Header "PZI1", the given entries (others zero), then data.
Bytes make_pzi(const std::vector<PziTone>& tones, const Bytes& data);

// A PPC bank: header with next_address from the size, entries, data.
Bytes make_ppc(const std::vector<std::pair<int, std::pair<uint16_t, uint16_t>>>& entries,
               const Bytes& data);
Bytes make_ppc_with_next(uint16_t next_address,
                         const std::vector<std::pair<int, std::pair<uint16_t, uint16_t>>>& entries,
                         const Bytes& data);

Bytes slice(const Bytes& b, size_t from, size_t count);

// A file whose size on disk (a multiple of 32) differs from what a read
// delivers, for the "cannot be read back whole" paths; empty where the
// machine has none.
std::string unstable_file();
Bytes concat(std::initializer_list<Bytes> parts);

}  // namespace testing_support
