#include "outfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace tools {

int create_output_file(const char* path) {
  int fd;
  do {
    fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, S_IRUSR | S_IWUSR);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

bool write_all(int fd, const uint8_t* data, int64_t size) {
  int64_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd, data + done, static_cast<size_t>(size - done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    done += n;
  }
  return true;
}

bool close_output_file(int fd) { return ::close(fd) == 0; }

bool file_identity(const char* path, FileIdentity* id) {
  struct stat st;
  if (::stat(path, &st) != 0) return false;
  id->device = static_cast<uint64_t>(st.st_dev);
  id->inode = static_cast<uint64_t>(st.st_ino);
  return true;
}

bool output_is_input(const char* output, const std::vector<FileIdentity>& inputs) {
  FileIdentity out;
  if (!file_identity(output, &out)) return false;
  return std::find(inputs.begin(), inputs.end(), out) != inputs.end();
}

}  // namespace tools
