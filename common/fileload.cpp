#include "fileload.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "apmalloc.h"
#include "arena.h"
#include "messages.h"

namespace tools {

namespace {

constexpr int64_t kMaxSize = std::numeric_limits<int32_t>::max();

// Opens a file for reading and measures it: the size, -1 when the open
// fails, -2 when the status cannot be obtained or is too large; on success
// *fd holds the open descriptor. The open does not wait, so a FIFO named by
// a list cannot hang the run (its size is 0, so nothing is read).
int64_t open_and_measure(const char* path, int* fd) {
  int f;
  do {
    f = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  } while (f < 0 && errno == EINTR);
  if (f < 0) return -1;
  struct stat st;
  if (::fstat(f, &st) != 0 || st.st_size < 0 || st.st_size > kMaxSize) {
    ::close(f);
    return -2;
  }
  *fd = f;
  return st.st_size;
}

// Reads exactly size bytes; false on error or a short file.
bool read_exact(int fd, uint8_t* into, int64_t size) {
  int64_t done = 0;
  while (done < size) {
    const ssize_t n = ::read(fd, into + done, static_cast<size_t>(size - done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    done += n;
  }
  return true;
}

}  // namespace

int32_t load_file(const char* path, uint8_t** data, const LoaderFlavour& flavour) {
  int fd = -1;
  const int64_t size = open_and_measure(path, &fd);
  if (size == -1) {
    say_err("E [%s] Error, input file not found. [%s]\n", flavour.tag, path);
    return -1;
  }
  if (size < 0) {
    say_err("E [%s] cannot get file status.\n", flavour.tag);
    return -1;
  }
  if (data == nullptr) {
    ::close(fd);
    return static_cast<int32_t>(size);
  }
  const int64_t lead = flavour.tracked ? 1 : 0;
  const int64_t total = size + lead + 1;
  // Both kinds of buffer come zero-filled: the bytes around the data are zero.
  uint8_t* buffer = flavour.tracked
                        ? static_cast<uint8_t*>(apmalloc(total))
                        : static_cast<uint8_t*>(plain_arena().allocate(static_cast<size_t>(total)));
  if (buffer == nullptr) {
    say_err("E [%s] cannot allocate memory for [%s], %lld bytes.\n", flavour.tag, path,
            static_cast<long long>(size));
    ::close(fd);
    return -1;
  }
  if (!read_exact(fd, buffer + lead, size)) {
    say_err("E [%s] File read error.\n", flavour.tag);
    ::close(fd);
    return -1;
  }
  ::close(fd);
  *data = buffer + lead;
  return static_cast<int32_t>(size);
}

int32_t probe_file_size(const char* path) {
  int fd = -1;
  const int64_t size = open_and_measure(path, &fd);
  if (size < 0) return static_cast<int32_t>(size);
  ::close(fd);
  return static_cast<int32_t>(size);
}

void release_plain_buffers() { plain_arena().release_all(); }

int64_t translate_text_mode(char* text, int64_t length) {
  int64_t out = 0;
  for (int64_t in = 0; in < length; ++in) {
    const char c = text[in];
    if (c == '\x1a') break;
    if (c == '\r' && in + 1 < length && text[in + 1] == '\n') continue;
    text[out++] = c;
  }
  return out;
}

char* load_text_file(const char* path) {
  int fd = -1;
  const int64_t size = open_and_measure(path, &fd);
  if (size < 0) return nullptr;
  char* buffer = static_cast<char*>(plain_arena().allocate(static_cast<size_t>(size + 2)));
  if (buffer == nullptr) {
    say_err("E [LOAD] cannot allocate memory for [%s], %lld bytes.\n", path,
            static_cast<long long>(size));
    ::close(fd);
    return nullptr;
  }
  if (!read_exact(fd, reinterpret_cast<uint8_t*>(buffer), size)) {
    ::close(fd);
    return nullptr;
  }
  ::close(fd);
  const int64_t length = translate_text_mode(buffer, size);
  std::memset(buffer + length, 0, static_cast<size_t>(size - length));
  return buffer;
}

}  // namespace tools
