// Output files: created write-only, truncated, with owner read and write
// permission, written through the descriptor so every failure is seen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace tools {

// Returns the descriptor or -1.
int create_output_file(const char* path);

// Writes all bytes; false on any failure.
bool write_all(int fd, const uint8_t* data, int64_t size);

// Collects pieces of an output file that stay valid until they are
// written, and writes them in order with few gathering writes: one write
// call per piece would update the file's times and take its lock each time.
class GatherWriter {
 public:
  explicit GatherWriter(int fd) : fd_(fd) {}
  // Queues size bytes at data; false when a write made on the way failed.
  bool add(const uint8_t* data, int64_t size);
  // Writes everything queued; false on any failure.
  bool flush();

 private:
  static constexpr size_t kMaxPieces = 512;
  static constexpr int64_t kMaxBytes = int64_t{4} << 20;
  int fd_;
  std::vector<std::pair<const uint8_t*, int64_t>> pieces_;
  int64_t queued_ = 0;
};

// Closes; false when the close reports a failure.
bool close_output_file(int fd);

// Identity of an existing file (device and inode).
struct FileIdentity {
  uint64_t device = 0;
  uint64_t inode = 0;
  bool operator==(const FileIdentity&) const = default;
};

// False when the path does not name an existing file.
bool file_identity(const char* path, FileIdentity* id);

// Adds the identity of the file at path (when it exists) to `inputs`.
void add_input(std::vector<FileIdentity>& inputs, const char* path);

// True when `output` names an existing file that is one of `inputs`.
bool output_is_input(const char* output, const std::vector<FileIdentity>& inputs);

}  // namespace tools
