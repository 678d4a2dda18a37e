// zarnotek link: list parsing, WAVE reading, sample checks and PZI writing.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "bank_list.h"
#include "pzi_link.h"
#include "run_state.h"
#include "sample_check.h"
#include "support.h"
#include "texts.h"
#include "wave.h"

using namespace testing_support;
using namespace texts;

namespace {

Bytes resigned(Bytes b) {
  for (auto& v : b) v ^= 0x80;
  return b;
}

// A WAVE file with a LIST chunk before "fmt ", as editors write them.
Bytes wave_with_list(const Bytes& samples, uint32_t rate) {
  Bytes plain = make_wave(samples, {1, 1, rate, 1, 8});
  Bytes list = text_bytes("LIST");
  put32(list, 10);
  const Bytes info{'I', 'N', 'F', 'O', 'a', 'b', 0, 0, 'c', 'd'};
  list.insert(list.end(), info.begin(), info.end());
  Bytes out = slice(plain, 0, 12);
  out.insert(out.end(), list.begin(), list.end());
  out.insert(out.end(), plain.begin() + 12, plain.end());
  const uint32_t riff = static_cast<uint32_t>(out.size() - 8);
  for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<uint8_t>(riff >> (8 * i));
  return out;
}

std::string link_ok(int banks, int tones, int areas) {
  return kZStart + "- [ZARNOTEK] LXI check is OK, " + std::to_string(banks) +
         " PZI file(s).\n- [ZARNOTEK] PCM-Files check is OK, " + std::to_string(tones) +
         " PCM file(s).\n" + release(areas) + kZFinish;
}

TEST(Link, RealisticListGivesByteExactBanks) {
  TempDir dir;
  const Bytes bell = pattern(300, 1), square = pattern(200, 2), saw = pattern(150, 3),
              whistle = pattern(120, 4);
  dir.write("bell.wav", wave_with_list(bell, 11025));
  dir.write("sq.pc8", square);
  dir.write("saw.PPI", saw);
  dir.write("whistle.wav", make_wave(whistle, {0xFFFE, 1, 22050, 1, 8}));
  dir.write("songs.lxi", std::string("; two banks\r\n"
                                     "*drums\ta.pzi\r\n"
                                     "0\tbell.wav\r\n"
                                     "\r\n"
                                     "3\tsq.pc8\t\t10\t20\r\n"
                                     "5\tsaw.PPI\t8000\t100\r\n"
                                     "; lead, numbered from 36\r\n"
                                     "*\tb.pzi\t36\r\n"
                                     "36\twhistle.wav\t70000\r\n"
                                     "40\tsq.pc8"));
  const RunResult r = zarnotek_run(dir, {"link", "songs.lxi"});
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, link_ok(2, 5, 11));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(dir.read("a.pzi"), make_pzi({{0, 0, 300, -1, -1, 11025},
                                         {3, 300, 200, 10, 20, 16540},
                                         {5, 500, 150, -1, -1, 8000}},
                                        concat({bell, resigned(square), saw})));
  // 70000 keeps its low 16 bits: 4464
  EXPECT_EQ(dir.read("b.pzi"), make_pzi({{0, 0, 120, -1, -1, 4464}, {4, 120, 200, -1, -1, 16540}},
                                        concat({whistle, resigned(square)})));
  const auto mode = std::filesystem::status(dir.path() / "a.pzi").permissions();
  EXPECT_EQ(mode & std::filesystem::perms::owner_read, std::filesystem::perms::owner_read);
  EXPECT_EQ(mode & std::filesystem::perms::owner_write, std::filesystem::perms::owner_write);

  const RunResult shown = zarnotek_run(dir, {"inspect", "a.pzi"});
  EXPECT_NE(shown.out.find("   3  16540 Hz      200       10       20      300 00000A4C\n"),
            std::string::npos)
      << shown.out;
}

TEST(Link, ShiftAndDuplicatesAndEmptyBanks) {
  TempDir dir;
  dir.write("x.pc8", Bytes{0x00, 0x7F, 0x80, 0xFF});
  dir.write("y.ppi", Bytes{0x00, 0x7F, 0x80, 0xFF});
  // same tone twice: later name wins, earlier rate survives; one file for two tones
  dir.write("l.lxi", std::string("*\tone.pzi\t1\n"
                                 "128\tx.pc8\t9000\n"
                                 "128\ty.ppi\n"
                                 "1\ty.ppi\t65536\t-5\t7\n"
                                 "*\tempty.pzi\n"));
  const RunResult r = zarnotek_run(dir, {"link", "l.lxi"});
  EXPECT_EQ(r.err, link_ok(2, 3, 6));
  const Bytes y{0x00, 0x7F, 0x80, 0xFF};
  EXPECT_EQ(dir.read("one.pzi"),
            make_pzi({{0, 0, 4, -5, 7, 16540}, {127, 4, 4, -1, -1, 9000}}, concat({y, y})));
  EXPECT_EQ(dir.read("empty.pzi"), make_pzi({}, {}));
  EXPECT_EQ(dir.read("empty.pzi").size(), 2336u);
}

TEST(Link, FieldAndLayoutEdgeCases) {
  TempDir dir;
  const Bytes a = pattern(10, 1), b = pattern(6, 2), first = pattern(4, 3), second = pattern(9, 4);
  dir.write("a.ppi", a);
  dir.write("empty.pc8", Bytes{});
  dir.write("b.ppi", b);
  // two "data" chunks: the first one is used
  Bytes two = make_wave(first, {1, 1, 9000, 1, 8});
  Bytes more = text_bytes("data");
  put32(more, static_cast<uint32_t>(second.size()));
  more.insert(more.end(), second.begin(), second.end());
  two.insert(two.end(), more.begin(), more.end());
  const uint32_t riff = static_cast<uint32_t>(two.size() - 8);
  for (int i = 0; i < 4; ++i) two[4 + i] = static_cast<uint8_t>(riff >> (8 * i));
  dir.write("two.wav", two);
  // an empty field 1 is tone 0; three empty fields give rate 0 (default) and
  // loop points 0 and 0; text between a CR and the LF is ignored; a 0-byte
  // sample takes no room; the second bank of the same name wins
  dir.write("l.lxi", std::string("*\tsame.pzi\n"
                                 "\ta.ppi\t\t\t\n"
                                 "1\tempty.pc8\rignored\ttext\n"
                                 "2\tb.ppi\n"
                                 "3\ttwo.wav\n"
                                 "*\tsame.pzi\n"
                                 "7\tb.ppi\n"
                                 "*\tkept.pzi\n"
                                 "\ta.ppi\t\t\t\n"
                                 "1\tempty.pc8\rignored\ttext\n"
                                 "2\tb.ppi\n"
                                 "3\ttwo.wav\n"));
  const RunResult r = zarnotek_run(dir, {"link", "l.lxi"});
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, link_ok(3, 9, 16));
  EXPECT_EQ(dir.read("kept.pzi"), make_pzi({{0, 0, 10, 0, 0, 16540},
                                            {1, 10, 0, -1, -1, 16540},
                                            {2, 10, 6, -1, -1, 16540},
                                            {3, 16, 4, -1, -1, 9000}},
                                           concat({a, b, first})));
  EXPECT_EQ(dir.read("same.pzi"), make_pzi({{7, 0, 6, -1, -1, 16540}}, b));
}

TEST(Link, ShiftedListsGiveIdenticalBanks) {
  TempDir dir;
  dir.write("s.pc8", pattern(12, 5));
  dir.write("zero.lxi", std::string("*\tzero.pzi\n0\ts.pc8\t8000\n100\ts.pc8\n"));
  dir.write("shift.lxi", std::string("*\tshift.pzi\t-20\n-20\ts.pc8\t8000\n80\ts.pc8\n"));
  zarnotek_run(dir, {"link", "zero.lxi"});
  zarnotek_run(dir, {"link", "shift.lxi"});
  EXPECT_EQ(dir.read("zero.pzi").size(), 2336u + 24u);
  EXPECT_EQ(dir.read("zero.pzi"), dir.read("shift.pzi"));
}

TEST(Link, ListWithoutBanksAndSeventeenBanks) {
  TempDir dir;
  dir.write("none.lxi", std::string("; nothing\n\n\r\n"));
  RunResult r = zarnotek_run(dir, {"link", "none.lxi"});
  EXPECT_EQ(r.err, link_ok(0, 0, 2));

  std::string list;
  for (int i = 0; i < 17; ++i) list += "*\tb" + std::to_string(i) + ".pzi\n";
  list += "0\tmissing.ppi\n";
  dir.write("many.lxi", list);
  r = zarnotek_run(dir, {"link", "many.lxi"});
  EXPECT_EQ(r.err, kZStart + "W [LIST] too many PZIs, output 16 PZIs.\n" +
                       link_ok(16, 0, 18).substr(kZStart.size()));
  EXPECT_TRUE(dir.exists("b15.pzi"));
  EXPECT_FALSE(dir.exists("b16.pzi"));
}

struct ListError {
  std::string list;
  std::string message;
};

TEST(Link, ListErrorsNameTheLineAndWriteNothing) {
  const std::vector<ListError> cases = {
      {"*\ta.pzi\n\n\n1\n", "E [LXI] invalid format in line.2.\n"},
      {"*\ta.pzi\r\n\r\n1\r\n", "E [LXI] invalid format in line.2.\n"},
      {"*\n", "E [LXI] invalid format in line.1.\n"},
      {"*\t\n", "E [LXI] invalid format in line.1.\n"},
      {"*\ta.pzi\n   \n", "E [LXI] invalid format in line.2.\n"},
      {"*\ta.pzi\t1\n0\tx.pc8\n", "E [LXI] invalid ToneNo in line.2.\n"},
      {"*\ta.pzi\t1\n;c\n129\tx.pc8\n", "E [LXI] invalid ToneNo in line.3.\n"},
      {"*\ta.pzi\t-2147483648\n5\tx.pc8\n", "E [LXI] invalid ToneNo in line.2.\n"},
      {"; c\n\n0\tx.pc8\n*\ta.pzi\n", "W [LIST] undefined PZI name, line.2.\n"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    dir.write("l.lxi", c.list);
    const RunResult r = zarnotek_run(dir, {"link", "l.lxi"});
    EXPECT_EQ(r.out, "") << c.list;
    const int areas = c.message[0] == 'W' || c.message.find("line.1.") != std::string::npos ? 2 : 3;
    EXPECT_EQ(r.err,
              kZStart + c.message + "E [ZARNOTEK] aborted ZARNOTEK.\n" + release(areas) + kZFinish)
        << c.list;
    EXPECT_EQ(dir.listing(), std::vector<std::string>{"l.lxi"}) << c.list;
  }
}

TEST(Link, ZeroByteEndsTheList) {
  TempDir dir;
  dir.write("l.lxi", Bytes{'*', '\t', 'a', '.', 'p', 'z', 'i', '\n', 0, 'x', '\n'});
  const RunResult r = zarnotek_run(dir, {"link", "l.lxi"});
  EXPECT_EQ(r.err, link_ok(1, 0, 3));
}

TEST(Link, MissingListEndsWithStatus255) {
  TempDir dir;
  const RunResult r = zarnotek_run(dir, {"link", "nope.lxi"});
  EXPECT_EQ(r.err, kZStart + "E [ZARNOTEK] Error, input file not found. [nope.lxi]\n");
  EXPECT_EQ(r.status, 255);
}

struct SampleError {
  std::string name;
  Bytes content;
  std::string out;
  std::string err;
};

TEST(Link, SampleErrorsStopBeforeAnyFileIsWritten) {
  const Bytes s = pattern(16, 5);
  Bytes no_data = make_wave(s);
  no_data.resize(36);
  no_data[4] = 28;
  Bytes overlong = make_wave(s);
  overlong[40] = 17;  // data declares 17 bytes, the file holds 16
  const std::string bad = "[bank.pzi],@9,[";
  const std::vector<SampleError> cases = {
      {"t.raw", {}, "E [WaveCHECK] BAD Filename, " + bad + "t.raw]\n", ""},
      {"t.wav.bak", {}, "E [WaveCHECK] BAD Filename, " + bad + "t.wav.bak]\n", ""},
      {"t.wav", s, "E [RIFFH] file is not RIFF.E [WaveCHECK] BAD RIFF-Format, " + bad + "t.wav]\n",
       "E [RIFFCHECK] not found FORMAT-CHUNK.\n"},
      {"t.wav", text_bytes("RIFF\x04\0\0\0WAV"),
       "E [RIFFH] file is not WAVE.E [WaveCHECK] BAD RIFF-Format, " + bad + "t.wav]\n",
       "E [RIFFCHECK] not found FORMAT-CHUNK.\n"},
      {"t.WAV", no_data, "E [WaveCHECK] BAD RIFF-Format, " + bad + "t.WAV]\n",
       "E [RIFFCHECK] not found DATA-CHUNK.\n"},
      {"t.wav", overlong, "E [WaveCHECK] BAD RIFF-Format, " + bad + "t.wav]\n", ""},
      {"t.wav", make_wave(s, {3, 1, 8000, 1, 8}),
       "E [RIFF] BAD RIFF, unknown formatID[3].\nE [WaveCHECK] BAD RIFF-Format, " + bad +
           "t.wav]\n",
       ""},
      {"t.wav", make_wave(s, {1, 2, 8000, 2, 16}),
       "E [RIFF] BAD RIFF, too many channels[2].\nE [WaveCHECK] BAD RIFF-Format, " + bad +
           "t.wav]\n",
       ""},
      {"t.wav", make_wave(s, {1, 1, 65536, 1, 8}),
       "E [RIFF] BAD RIFF, too higher frequency[65536].\nE [WaveCHECK] BAD RIFF-Format, " + bad +
           "t.wav]\n",
       ""},
      {"t.wav", make_wave(s, {1, 1, 8000, 1, 16}),
       "E [RIFF] BAD RIFF, to higher resolution[16bit].\nE [WaveCHECK] BAD RIFF-Format, " + bad +
           "t.wav]\n",
       ""},
      {"t.wav", make_wave(s, {1, 1, 8000, 2, 8}),
       "E [RIFF] BAD RIFF, too large blocksize[2].\nE [WaveCHECK] BAD RIFF-Format, " + bad +
           "t.wav]\n",
       ""},
      {"t.ppi", {}, "", "E [ZARNOTEK] Error, input file not found. [t.ppi]\n"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    dir.write("ok.pc8", Bytes{1, 2});
    if (!c.content.empty()) dir.write(c.name, c.content);
    // the first bank passes, the second fails at tone 10 - shift 1 = 9;
    // a later bad tone of the same bank is never reported
    dir.write("l.lxi",
              "*\tfirst.pzi\n0\tok.pc8\n*\tbank.pzi\t1\n10\t" + c.name + "\n20\tbad.xyz\n");
    const RunResult r = zarnotek_run(dir, {"link", "l.lxi"});
    EXPECT_EQ(r.out, c.out) << c.name;
    const std::string head = kZStart + "- [ZARNOTEK] LXI check is OK, 2 PZI file(s).\n" + c.err;
    EXPECT_EQ(r.err.substr(0, head.size()), head) << c.name;
    EXPECT_EQ(r.err.substr(r.err.size() - kZFinish.size()), kZFinish) << c.name;
    EXPECT_FALSE(dir.exists("first.pzi")) << c.name;
    EXPECT_FALSE(dir.exists("bank.pzi")) << c.name;
    EXPECT_EQ(r.status, 0);
  }
}

TEST(Link, WaveFormatValuesThatPass) {
  TempDir dir;
  const Bytes s = pattern(8, 6);
  dir.write("a.wav", make_wave(s, {0, 0, 65535, 0, 8}));
  dir.write("b.wav", make_wave(s, {0x8000, 1, 0x80000000u, 1, 8}));
  dir.write("c.wav", make_wave(s, {1, 1, 0, 1, 8}));
  dir.write("l.lxi", std::string("*\tw.pzi\n0\ta.wav\n1\tb.wav\n2\tc.wav\n"));
  const RunResult r = zarnotek_run(dir, {"link", "l.lxi"});
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(dir.read("w.pzi"),
            make_pzi({{0, 0, 8, -1, -1, 65535}, {1, 8, 8, -1, -1, 0}, {2, 16, 8, -1, -1, 0}},
                     concat({s, s, s})));
}

TEST(Link, ChunkWalkRules) {
  const Bytes s = pattern(6, 7);
  const Bytes plain = make_wave(s);
  // an odd-sized chunk with its pad byte before "fmt ": the walk misses "fmt "
  Bytes odd = slice(plain, 0, 12);
  const Bytes junk = text_bytes("junk\x03\0\0\0abc\0");
  odd.insert(odd.end(), junk.begin(), junk.end());
  odd.insert(odd.end(), plain.begin() + 12, plain.end());
  odd[4] = static_cast<uint8_t>(odd.size() - 8);
  // RIFF size ending exactly where "data" begins: not found
  Bytes bounded = plain;
  bounded[4] = 36;
  bounded[5] = bounded[6] = bounded[7] = 0;
  // a chunk size that would carry the walk far past the end of the file
  Bytes wild = plain;
  wild[16] = wild[17] = wild[18] = wild[19] = 0xFF;
  wild[4] = wild[5] = wild[6] = wild[7] = 0xFF;
  // "fmt " whose record runs off the end of the file: missing bytes read as zero
  const Bytes cut =
      concat({text_bytes("RIFF"), Bytes{0xFF, 0xFF, 0xFF, 0x7F}, text_bytes("WAVEdata"),
              Bytes{1, 0, 0, 0, 0x80}, text_bytes("fmt "), Bytes{16, 0, 0, 0, 1, 0, 1, 0}});
  const struct {
    Bytes file;
    std::string err;
  } cases[] = {{odd, "E [RIFFCHECK] not found FORMAT-CHUNK.\n"},
               {bounded, "E [RIFFCHECK] not found DATA-CHUNK.\n"},
               {wild, "E [RIFFCHECK] not found DATA-CHUNK.\n"}};
  for (const auto& c : cases) {
    TempDir dir;
    dir.write("t.wav", c.file);
    dir.write("l.lxi", std::string("*\tb.pzi\n0\tt.wav\n"));
    const RunResult r = zarnotek_run(dir, {"link", "l.lxi"});
    EXPECT_EQ(r.out, "E [WaveCHECK] BAD RIFF-Format, [b.pzi],@0,[t.wav]\n");
    EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
  }
  TempDir dir;
  dir.write("t.wav", cut);
  dir.write("l.lxi", std::string("*\tb.pzi\n0\tt.wav\n"));
  const RunResult r = zarnotek_run(dir, {"link", "l.lxi"});
  EXPECT_EQ(r.out,
            "E [RIFF] BAD RIFF, to higher resolution[0bit].\n"
            "E [WaveCHECK] BAD RIFF-Format, [b.pzi],@0,[t.wav]\n");
}

TEST(Link, OutputThatCannotBeCreatedEndsTheRun) {
  TempDir dir;
  dir.write("x.ppi", Bytes{1});
  dir.write("l.lxi", std::string("*\tfirst.pzi\n0\tx.ppi\n*\tno/dir/b.pzi\n*\tlast.pzi\n"));
  const RunResult r = zarnotek_run(dir, {"link", "l.lxi"});
  EXPECT_EQ(r.err, kZStart +
                       "- [ZARNOTEK] LXI check is OK, 3 PZI file(s).\n"
                       "- [ZARNOTEK] PCM-Files check is OK, 1 PCM file(s).\n"
                       "E [OUTPZI] cannot open [no/dir/b.pzi]");
  EXPECT_EQ(r.status, 255);
  EXPECT_EQ(dir.read("first.pzi"), make_pzi({{0, 0, 1, -1, -1, 16540}}, Bytes{1}));
  EXPECT_FALSE(dir.exists("last.pzi"));
}

TEST(Link, WriteFailureIsNeverReportedAsSuccess) {
  TempDir dir;
  dir.write("x.ppi", Bytes{1});
  dir.write("l.lxi", std::string("*\t/dev/full\n0\tx.ppi\n"));
  const RunResult r = zarnotek_run(dir, {"link", "l.lxi"});
  EXPECT_EQ(r.err, kZStart +
                       "- [ZARNOTEK] LXI check is OK, 1 PZI file(s).\n"
                       "- [ZARNOTEK] PCM-Files check is OK, 1 PCM file(s).\n"
                       "E [OUTPZI] write error [/dev/full]\n");
  EXPECT_EQ(r.status, 255);
}

TEST(Link, OutputThatIsAnInputIsRefused) {
  const struct {
    std::string list;
    std::string clash;
  } cases[] = {
      {"*\tok.pzi\n0\tx.ppi\n*\tx.ppi\n", "x.ppi"},
      {"*\tok.pzi\n*\t./l.lxi\n", "./l.lxi"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    dir.write("x.ppi", Bytes{1, 2});
    dir.write("l.lxi", c.list);
    const RunResult r = zarnotek_run(dir, {"link", "l.lxi"});
    EXPECT_NE(r.err.find("E [OUTPZI] output is an input [" + c.clash + "]\n" + release(4)),
              std::string::npos)
        << r.err;
    EXPECT_EQ(r.err.find("PCM-Files check is OK"), std::string::npos);
    EXPECT_FALSE(dir.exists("ok.pzi"));
    EXPECT_EQ(dir.read("x.ppi"), (Bytes{1, 2}));
    EXPECT_EQ(dir.read("l.lxi"), text_bytes(c.list));
  }
}

TEST(Link, DataAreaBeyondTwoGigabytesIsRefused) {
  TempDir dir;
  dir.write("a.ppi", Bytes{});
  dir.write("b.ppi", Bytes{});
  std::filesystem::resize_file(dir.path() / "a.ppi", 1500000000);  // sparse
  std::filesystem::resize_file(dir.path() / "b.ppi", 700000000);
  dir.write("l.lxi", std::string("*\tbig.pzi\n0\ta.ppi\n1\tb.ppi\n"));
  const RunResult r = zarnotek_run(dir, {"link", "l.lxi"});
  EXPECT_EQ(r.out, "E [WaveCHECK] too large PZI, [big.pzi],@1,[b.ppi]\n");
  EXPECT_FALSE(dir.exists("big.pzi"));
}

TEST(ClassifySampleFile, ByExtensionPrefixIgnoringCase) {
  const std::pair<const char*, int32_t> cases[] = {
      {"a.wav", 1},      {"A.WAV", 1},        {"x.Wave", 1}, {"d/x.pc8", 2},
      {"x.pc88", 2},     {"x.PPI", 3},        {"x", -1},     {"x.wav.bak", -1},
      {"dir.wav/x", -1}, {"c:\\s\\x.ppi", 3}, {"x.wa", -1},
  };
  for (const auto& [name, kind] : cases)
    EXPECT_EQ(zarnotek::classify_sample_file(name), kind) << name;
}

// A sample that shrank between the check and the write: the bytes that are
// there are written and the short count is returned.
TEST(WriteRawTone, ShrunkSampleWritesWhatIsThere) {
  TempDir dir;
  dir.write("s.pc8", Bytes{0x00, 0x10});
  zarnotek::reset_run_state();
  zarnotek::PziBank bank{};
  const std::string name = dir.file("s.pc8");
  bank.filename[0] = name.c_str();
  bank.kind[0] = zarnotek::kSamplePc8;
  bank.entries[0].length = 100;
  zarnotek::run_state().pzi_banks[0] = &bank;
  const int fd = ::open(dir.file("out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(fd, 0);
  tools::GatherWriter out(fd);
  EXPECT_EQ(zarnotek::write_raw_tone(out, 0, 0), 2);
  EXPECT_TRUE(out.flush());
  ::close(fd);
  EXPECT_EQ(dir.read("out"), (Bytes{0x80, 0x90}));
  zarnotek::run_state().pzi_banks[0] = nullptr;
}

}  // namespace
