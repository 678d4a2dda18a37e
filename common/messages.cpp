#include "messages.h"

#include <unistd.h>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace tools {

namespace {

std::string vformat(const char* fmt, va_list args) {
  va_list copy;
  va_copy(copy, args);
  char small[512];
  const int n = std::vsnprintf(small, sizeof small, fmt, copy);
  va_end(copy);
  if (n < 0) return std::string();
  if (static_cast<size_t>(n) < sizeof small) return std::string(small, static_cast<size_t>(n));
  std::string text(static_cast<size_t>(n) + 1, '\0');
  std::vsnprintf(text.data(), text.size(), fmt, args);
  text.resize(static_cast<size_t>(n));
  return text;
}

}  // namespace

std::string format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  std::string text = vformat(fmt, args);
  va_end(args);
  return text;
}

void emit(Stream stream, const std::string& text) {
  const int fd = stream == Stream::Out ? STDOUT_FILENO : STDERR_FILENO;
  const char* p = text.data();
  size_t left = text.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
}

void say_out(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  const std::string text = vformat(fmt, args);
  va_end(args);
  emit(Stream::Out, text);
}

void say_err(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  const std::string text = vformat(fmt, args);
  va_end(args);
  emit(Stream::Err, text);
}

void exit_process(int status) { std::exit(status); }

}  // namespace tools
