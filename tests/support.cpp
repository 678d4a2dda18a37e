#include "support.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace testing_support {

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::string tmpl = (fs::temp_directory_path() / "drevna-test-XXXXXX").string();
  if (::mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

void TempDir::write(const std::string& name, const Bytes& data) const {
  std::ofstream f(path_ / name, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  if (!f) throw std::runtime_error("cannot write fixture " + name);
}

void TempDir::write(const std::string& name, const std::string& text) const {
  write(name, text_bytes(text));
}

Bytes TempDir::read(const std::string& name) const {
  std::ifstream f(path_ / name, std::ios::binary);
  if (!f) return {};
  return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

bool TempDir::exists(const std::string& name) const { return fs::exists(path_ / name); }

std::vector<std::string> TempDir::listing() const {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(path_)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

RunResult run_program(const std::string& program, const std::vector<std::string>& args,
                      const fs::path& dir) {
  int out_pipe[2];
  int err_pipe[2];
  if (::pipe(out_pipe) != 0 || ::pipe(err_pipe) != 0) throw std::runtime_error("pipe failed");
  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    const int null_in = ::open("/dev/null", O_RDONLY);
    ::dup2(null_in, 0);
    ::dup2(out_pipe[1], 1);
    ::dup2(err_pipe[1], 2);
    ::close(out_pipe[0]);
    ::close(err_pipe[0]);
    if (::chdir(dir.c_str()) != 0) ::_exit(127);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(out_pipe[1]);
  ::close(err_pipe[1]);
  RunResult r;
  pollfd fds[2] = {{out_pipe[0], POLLIN, 0}, {err_pipe[0], POLLIN, 0}};
  std::string* sinks[2] = {&r.out, &r.err};
  int open_count = 2;
  while (open_count > 0) {
    if (::poll(fds, 2, -1) < 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      char buf[65536];
      const ssize_t n = ::read(fds[i].fd, buf, sizeof buf);
      if (n > 0) {
        sinks[i]->append(buf, static_cast<size_t>(n));
      } else {
        ::close(fds[i].fd);
        fds[i].fd = -1;
        --open_count;
      }
    }
  }
  int wstatus = 0;
  ::waitpid(pid, &wstatus, 0);
  r.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 1000 + WTERMSIG(wstatus);
  return r;
}

RunResult zarnotek_run(const TempDir& dir, const std::vector<std::string>& args) {
  return run_program(ZARNOTEK_PATH, args, dir.path());
}

RunResult felskaro_run(const TempDir& dir, const std::vector<std::string>& args) {
  return run_program(FELSKARO_PATH, args, dir.path());
}

void put16(Bytes& b, uint16_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(Bytes& b, uint32_t v) {
  put16(b, static_cast<uint16_t>(v));
  put16(b, static_cast<uint16_t>(v >> 16));
}

Bytes text_bytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes pattern(size_t n, uint8_t seed) {
  Bytes b(n);
  uint32_t x = seed * 2654435761u + 12345u;
  for (auto& v : b) {
    x = x * 1103515245u + 12345u;
    v = static_cast<uint8_t>(x >> 16);
  }
  return b;
}

Bytes make_wave(const Bytes& samples, const WaveShape& shape) {
  Bytes b = text_bytes("RIFF");
  put32(b, static_cast<uint32_t>(4 + 24 + 8 + samples.size()));
  for (char c : std::string("WAVEfmt ")) b.push_back(static_cast<uint8_t>(c));
  put32(b, 16);
  put16(b, shape.tag);
  put16(b, shape.channels);
  put32(b, shape.rate);
  put32(b, shape.rate * shape.align);
  put16(b, shape.align);
  put16(b, shape.bits);
  for (char c : std::string("data")) b.push_back(static_cast<uint8_t>(c));
  put32(b, static_cast<uint32_t>(samples.size()));
  b.insert(b.end(), samples.begin(), samples.end());
  return b;
}

Bytes make_pzi(const std::vector<PziTone>& tones, const Bytes& data) {
  Bytes b(2336, 0);
  std::memcpy(b.data(), "PZI1", 4);
  for (const auto& t : tones) {
    Bytes e;
    put32(e, t.offset);
    put32(e, static_cast<uint32_t>(t.length));
    put32(e, static_cast<uint32_t>(t.loop_start));
    put32(e, static_cast<uint32_t>(t.loop_end));
    put16(e, t.rate);
    std::copy(e.begin(), e.end(), b.begin() + 32 + 18 * t.index);
  }
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

Bytes make_ppc_with_next(uint16_t next_address,
                         const std::vector<std::pair<int, std::pair<uint16_t, uint16_t>>>& entries,
                         const Bytes& data) {
  static const uint8_t magic[30] = {0x41, 0x44, 0x50, 0x43, 0x4D, 0x20, 0x44, 0x41, 0x54, 0x41,
                                    0x20, 0x66, 0x6F, 0x72, 0x20, 0x20, 0x50, 0x4D, 0x44, 0x20,
                                    0x76, 0x65, 0x72, 0x2E, 0x34, 0x2E, 0x34, 0x2D, 0x20, 0x20};
  Bytes b(magic, magic + 30);
  put16(b, next_address);
  b.resize(1056, 0);
  for (const auto& [n, se] : entries) {
    b[32 + 4 * n] = static_cast<uint8_t>(se.first);
    b[33 + 4 * n] = static_cast<uint8_t>(se.first >> 8);
    b[34 + 4 * n] = static_cast<uint8_t>(se.second);
    b[35 + 4 * n] = static_cast<uint8_t>(se.second >> 8);
  }
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

Bytes make_ppc(const std::vector<std::pair<int, std::pair<uint16_t, uint16_t>>>& entries,
               const Bytes& data) {
  return make_ppc_with_next(static_cast<uint16_t>((1056 + data.size() + 160) / 32), entries, data);
}

Bytes slice(const Bytes& b, size_t from, size_t count) {
  return Bytes(b.begin() + static_cast<std::ptrdiff_t>(from),
               b.begin() + static_cast<std::ptrdiff_t>(from + count));
}

std::string unstable_file() {
  const char* path = "/sys/kernel/mm/transparent_hugepage/enabled";
  std::error_code ec;
  return fs::exists(path, ec) && fs::file_size(path, ec) % 32 == 0 ? path : "";
}

Bytes concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

}  // namespace testing_support
