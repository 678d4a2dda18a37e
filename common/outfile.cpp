#include "outfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
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

bool GatherWriter::add(const uint8_t* data, int64_t size) {
  if (size <= 0) return true;
  pieces_.emplace_back(data, size);
  queued_ += size;
  if (pieces_.size() >= kMaxPieces || queued_ >= kMaxBytes) return flush();
  return true;
}

bool GatherWriter::flush() {
  size_t first = 0;
  while (first < pieces_.size()) {
    iovec vec[kMaxPieces];
    int count = 0;
    for (size_t i = first; i < pieces_.size() && count < static_cast<int>(kMaxPieces); ++i) {
      vec[count].iov_base = const_cast<uint8_t*>(pieces_[i].first);
      vec[count].iov_len = static_cast<size_t>(pieces_[i].second);
      ++count;
    }
    const ssize_t n = ::writev(fd_, vec, count);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    // Drop what was written; a partial piece keeps its rest.
    int64_t done = n;
    while (done > 0) {
      auto& piece = pieces_[first];
      if (done >= piece.second) {
        done -= piece.second;
        ++first;
      } else {
        piece.first += done;
        piece.second -= done;
        done = 0;
      }
    }
  }
  pieces_.clear();
  queued_ = 0;
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

void add_input(std::vector<FileIdentity>& inputs, const char* path) {
  FileIdentity id;
  if (path != nullptr && file_identity(path, &id)) inputs.push_back(id);
}

bool output_is_input(const char* output, const std::vector<FileIdentity>& inputs) {
  FileIdentity out;
  if (!file_identity(output, &out)) return false;
  return std::find(inputs.begin(), inputs.end(), out) != inputs.end();
}

}  // namespace tools
