// Output files: created write-only, truncated, with owner read and write
// permission, written through the descriptor so every failure is seen.
#pragma once

#include <cstdint>
#include <vector>

namespace tools {

// Returns the descriptor or -1.
int create_output_file(const char* path);

// Writes all bytes; false on any failure.
bool write_all(int fd, const uint8_t* data, int64_t size);

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

// True when `output` names an existing file that is one of `inputs`.
bool output_is_input(const char* output, const std::vector<FileIdentity>& inputs);

}  // namespace tools
