// zarnotek pzi2p86 and linkppc.
#include <gtest/gtest.h>

#include <filesystem>

#include "p86.h"
#include "support.h"
#include "texts.h"

using namespace testing_support;
using namespace texts;

namespace {

namespace fs = std::filesystem;

Bytes p86_header(uint32_t total) {
  Bytes h = text_bytes("PCM86 DATA");
  h.push_back(0x0A);
  h.push_back(0x00);
  h.push_back(0x01);
  h.push_back(static_cast<uint8_t>(total));
  h.push_back(static_cast<uint8_t>(total >> 8));
  h.push_back(static_cast<uint8_t>(total >> 16));
  return h;
}

Bytes p86_table(const std::vector<std::tuple<int, uint32_t, uint32_t>>& slots) {
  Bytes t(1536, 0);
  for (const auto& [k, pos, len] : slots) {
    for (int i = 0; i < 3; ++i) {
      t[6 * k + i] = static_cast<uint8_t>(pos >> (8 * i));
      t[6 * k + 3 + i] = static_cast<uint8_t>(len >> (8 * i));
    }
  }
  return t;
}

Bytes flipped(Bytes b) {
  for (auto& v : b) v ^= 0x80;
  return b;
}

const std::string kP86Heading =
    "       .PZI__________________   .P86_________\n"
    " No.    offset    size   rate   offset  size \n";

TEST(Pzi2P86, TonesThreeAndSevenGiveExactBankAndTable) {
  TempDir dir;
  const Bytes t3 = concat({Bytes{0x80, 0x00, 0xFF}, pattern(97, 1)});
  const Bytes t7 = pattern(50, 2);
  // tone 7 has S.Rate 0 and is converted all the same; tone 9 has Length 0
  dir.write("songs.pzi",
            make_pzi({{3, 0, 100, -1, -1, 16540}, {7, 100, 50, 5, 9, 0}, {9, 0, 0, -1, -1, 8000}},
                     concat({t3, t7})));
  dir.write("songs.P86", std::string("old content"));
  const RunResult r = zarnotek_run(dir, {"pzi2p86", "songs.pzi"});
  EXPECT_EQ(r.out, kP86Heading +
                       "@003 - 00000000 00000064 16540 - 000610 000064\n"
                       "@007 - 00000064 00000032 00000 - 000674 000032\n"
                       "  [PZI2P86] filename: [songs.P86]\n"
                       "  [PZI2P86] written 1702 bytes.\n");
  EXPECT_EQ(r.err, kZStart + "- [PZI2P86] start convert [songs.pzi].\n" + release(2) + kZFinish);
  const Bytes out = dir.read("songs.P86");
  EXPECT_EQ(out, concat({p86_header(1702), p86_table({{3, 1552, 100}, {7, 1652, 50}}), flipped(t3),
                         flipped(t7)}));
  EXPECT_EQ(out[1552], 0x00);
  EXPECT_EQ(out[1553], 0x80);
  EXPECT_EQ(out[1554], 0x7F);
  // the input is unchanged
  EXPECT_EQ(dir.read("songs.pzi").size(), 2336u + 150u);
}

TEST(Pzi2P86, EmptyBankAndNamesWithoutExtension) {
  TempDir dir;
  dir.write("bank", make_pzi({}, {}));
  const RunResult r = zarnotek_run(dir, {"pzi2p86", "bank"});
  EXPECT_EQ(r.out, kP86Heading + "  [PZI2P86] filename: [bP86]\n  [PZI2P86] written 1552 bytes.\n");
  const Bytes out = dir.read("bP86");
  ASSERT_EQ(out.size(), 1552u);
  EXPECT_EQ(slice(out, 13, 3), (Bytes{0x10, 0x06, 0x00}));
  EXPECT_EQ(out, concat({p86_header(1552), p86_table({})}));
}

TEST(Pzi2P86, EntriesSharingBytesAreEachResigned) {
  TempDir dir;
  // the file is long enough for the total, though the entries overlap
  const Bytes d = pattern(50, 3);
  dir.write("s.pzi",
            make_pzi({{0, 0, 20, -1, -1, 1}, {1, 0, 20, -1, -1, 1}, {2, 5, 10, -1, -1, 1}}, d));
  zarnotek_run(dir, {"pzi2p86", "s.pzi"});
  const Bytes head = slice(d, 0, 20);
  EXPECT_EQ(dir.read("s.P86"),
            concat({p86_header(1602), p86_table({{0, 1552, 20}, {1, 1572, 20}, {2, 1592, 10}}),
                    flipped(head), flipped(head), flipped(slice(d, 5, 10))}));
}

struct P86Error {
  std::string name;
  Bytes bank;
  std::string out;
  std::string err;
};

TEST(Pzi2P86, BankErrorsWriteNothing) {
  Bytes bad_magic = make_pzi({}, {});
  bad_magic[0] = 'p';
  const std::vector<P86Error> cases = {
      {"a.pzi", Bytes(2335, 0), "", "E [INSPECT] too small PZI, 2335 bytes.\n"},
      {"a.pzi", bad_magic, "", "E [INSPECT] not PZI1.\n"},
      {"a.pzi", make_pzi({{3, 0, 100, -1, -1, 0}, {7, 100, 50, -1, -1, 0}}, Bytes(149, 0)), "",
       "E [INSPECT] too short PZI, need 2486 bytes.\n"},
      {"a.pzi", make_pzi({{2, 0, 10, -1, -1, 0}, {4, 95, 10, -1, -1, 0}}, Bytes(100, 0)), "",
       "E [INSPECT] bad tone @004, data outside the file.\n"},
      {"a.pzi", make_pzi({{1, 0, 30, -1, -1, 0}, {5, 0, -10, -1, -1, 0}}, Bytes(30, 0)), "",
       "E [INSPECT] bad tone @005, data outside the file.\n"},
      {"a.pzi", make_pzi({{6, 0xFFFFFFF0u, 16, -1, -1, 0}}, Bytes(16, 0)), "",
       "E [INSPECT] bad tone @006, data outside the file.\n"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    dir.write(c.name, c.bank);
    const RunResult r = zarnotek_run(dir, {"pzi2p86", c.name});
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.err,
              kZStart + "- [PZI2P86] start convert [a.pzi].\n" + c.err + release(2) + kZFinish);
    EXPECT_EQ(dir.listing(), std::vector<std::string>{c.name});
  }
  TempDir dir;
  const RunResult r = zarnotek_run(dir, {"pzi2p86", "none.pzi"});
  EXPECT_EQ(r.err, kZStart +
                       "- [PZI2P86] start convert [none.pzi].\n"
                       "E [ZARNOTEK] Error, input file not found. [none.pzi]\n"
                       "E [INSPECT] ERROR, cannot read File [none.pzi].\n" +
                       kZFinish);
}

TEST(Pzi2P86, TooLargeForThreeByteFields) {
  TempDir dir;
  dir.write("big.pzi", make_pzi({{0, 0, 16775664, -1, -1, 1}}, {}));
  fs::resize_file(dir.path() / "big.pzi", 2336 + 16775664);  // sparse
  RunResult r = zarnotek_run(dir, {"pzi2p86", "big.pzi"});
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("E [PZI2P86] too large P86, 16777216 bytes.\n"), std::string::npos) << r.err;
  EXPECT_FALSE(dir.exists("big.P86"));

  dir.write("max.pzi", make_pzi({{0, 0, 16775663, -1, -1, 1}}, {}));
  fs::resize_file(dir.path() / "max.pzi", 2336 + 16775663);
  r = zarnotek_run(dir, {"pzi2p86", "max.pzi"});
  EXPECT_NE(r.out.find("  [PZI2P86] written 16777215 bytes.\n"), std::string::npos);
  EXPECT_EQ(fs::file_size(dir.path() / "max.P86"), 16777215u);
}

TEST(Pzi2P86, OutputNameProblems) {
  TempDir dir;
  dir.write("ab", make_pzi({}, {}));
  RunResult r = zarnotek_run(dir, {"pzi2p86", "ab"});
  EXPECT_EQ(r.out, kP86Heading);
  EXPECT_NE(r.err.find("E [PZI2P86] bad file name [ab]\n" + release(2)), std::string::npos);

  const Bytes bank = make_pzi({{0, 0, 2, -1, -1, 1}}, Bytes{1, 2});
  dir.write("x.P86", bank);
  r = zarnotek_run(dir, {"pzi2p86", "x.P86"});
  EXPECT_EQ(r.out, kP86Heading +
                       "@000 - 00000000 00000002 00001 - 000610 000002\n"
                       "  [PZI2P86] filename: [x.P86]\n");
  EXPECT_NE(r.err.find("E [PZI2P86] output is the input [x.P86]\n"), std::string::npos);
  EXPECT_EQ(dir.read("x.P86"), bank);
}

TEST(Pzi2P86, OutputThatCannotBeCreatedOrWritten) {
  TempDir dir;
  dir.write("c.pzi", make_pzi({}, {}));
  fs::create_directory(dir.path() / "c.P86");
  RunResult r = zarnotek_run(dir, {"pzi2p86", "c.pzi"});
  EXPECT_EQ(r.err, kZStart + "- [PZI2P86] start convert [c.pzi].\nE [PZI2P86] cannot open [c.P86]");
  EXPECT_EQ(r.status, 255);

  dir.write("f.pzi", make_pzi({}, {}));
  fs::create_symlink("/dev/full", dir.path() / "f.P86");
  r = zarnotek_run(dir, {"pzi2p86", "f.pzi"});
  EXPECT_EQ(r.out, kP86Heading + "  [PZI2P86] filename: [f.P86]\n");
  EXPECT_EQ(r.err,
            kZStart + "- [PZI2P86] start convert [f.pzi].\nE [PZI2P86] write error [f.P86]\n");
  EXPECT_EQ(r.status, 255);
}

TEST(P86OutputName, LastThreeCharactersBecomeP86) {
  EXPECT_EQ(zarnotek::p86_output_name("songs.pzi"), "songs.P86");
  EXPECT_EQ(zarnotek::p86_output_name("d/x.PZI"), "d/x.P86");
  EXPECT_EQ(zarnotek::p86_output_name("abc"), "P86");
  EXPECT_EQ(zarnotek::p86_output_name("ab"), "");
  EXPECT_EQ(zarnotek::p86_output_name(std::string(2000, 'a').c_str()).size(), 2000u);
}

// ---- linkppc ----

std::string linkppc_err(const std::string& body, int areas) {
  return kZStart + body + (areas ? release(areas) : "") + kZFinish;
}

TEST(LinkPpc, TonesLaidOutInToneOrder) {
  TempDir dir;
  const Bytes a = pattern(32, 1), b = pattern(96, 2);
  dir.write("a.adp", a);
  dir.write("b.adp", b);
  dir.write("l.lxi", std::string("; bank\n*\tout.ppc\n3\ta.adp\n1\tb.adp\n"));
  const RunResult r = zarnotek_run(dir, {"linkppc", "l.lxi"});
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, linkppc_err("  [LISTPPC] PPC [out.ppc]\n"
                               "  [LISTPPC] PCM @003 [a.adp]\n"
                               "  [LISTPPC] PCM @001 [b.adp]\n"
                               "- [ZARNOTEK] LXI check is OK, PPC:[out.ppc]\n"
                               "  [ZARNOTEK] done [out.ppc]\n",
                               3));
  EXPECT_EQ(dir.read("out.ppc"), make_ppc({{1, {38, 40}}, {3, {41, 41}}}, concat({b, a})));
  EXPECT_EQ(dir.read("out.ppc").size(), 1184u);
}

TEST(LinkPpc, EmptyBankEmptyFileAndSameToneTwice) {
  TempDir dir;
  dir.write("l.lxi", std::string("*\tempty.ppc\n"));
  zarnotek_run(dir, {"linkppc", "l.lxi"});
  EXPECT_EQ(dir.read("empty.ppc"), make_ppc({}, {}));
  EXPECT_EQ(dir.read("empty.ppc").size(), 1056u);

  const Bytes c = pattern(64, 3);
  dir.write("zero.adp", Bytes{});
  dir.write("c.adp", c);
  dir.write("m.lxi", std::string("*\tm.ppc\n007\tc.adp\n0\tzero.adp\nx\tc.adp\n9\tc.adp\n"));
  const RunResult r = zarnotek_run(dir, {"linkppc", "m.lxi"});
  EXPECT_NE(r.err.find("  [LISTPPC] PCM @000 [zero.adp]\n  [LISTPPC] PCM @000 [c.adp]\n"),
            std::string::npos);
  EXPECT_EQ(dir.read("m.ppc"),
            make_ppc({{0, {38, 39}}, {7, {40, 41}}, {9, {42, 43}}}, concat({c, c, c})));
}

TEST(LinkPpc, SizeLimitAndSizeChecks) {
  TempDir dir;
  dir.write("big.adp", Bytes(259872 - 32, 7));
  dir.write("one.adp", Bytes(32, 1));
  dir.write("odd.adp", Bytes(33, 1));
  dir.write("fit.lxi", std::string("*\tfit.ppc\n0\tbig.adp\n1\tone.adp\n"));
  zarnotek_run(dir, {"linkppc", "fit.lxi"});
  EXPECT_EQ(fs::file_size(dir.path() / "fit.ppc"), 260928u);
  EXPECT_EQ(dir.read("fit.ppc")[30], 0xDF);
  EXPECT_EQ(dir.read("fit.ppc")[31], 0x1F);

  const struct {
    std::string list;
    std::string message;
  } cases[] = {
      {"*\tx.ppc\n0\tbig.adp\n1\tone.adp\n2\tone.adp\n",
       "E [PCMFILE] TOO Large PPC-File, [260960]\n"},
      {"*\tx.ppc\n0\todd.adp\n", "E [PCMFILE] BAD PCMSize(32), [odd.adp/33]\n"},
      {"*\tx.ppc\n0\tnone.adp\n1\todd.adp\n", "E [PCMFILE] BAD PCMSize(32), [none.adp/-1]\n"},
  };
  for (const auto& c : cases) {
    dir.write("l.lxi", c.list);
    const RunResult r = zarnotek_run(dir, {"linkppc", "l.lxi"});
    EXPECT_NE(r.err.find("- [ZARNOTEK] LXI check is OK, PPC:[x.ppc]\n" + c.message + kZFinish),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(dir.exists("x.ppc"));
  }
}

TEST(LinkPpc, ListErrors) {
  const struct {
    std::string list;
    std::string err;
  } cases[] = {
      {"*\tx.ppc\n256\ta.adp\n", "E [LISTPPC] BAD @-Number, line.2\n"},
      {"*\tx.ppc\n-1\ta.adp\n", "E [LISTPPC] BAD @-Number, line.2\n"},
      {"*\tx.ppc\n300\n", "E [LISTPPC] BAD @-Number, line.2\n"},
      {"*\tx.ppc\n3\n", "E [LISTPPC] NO PCM-Filename, line.2.\n"},
      {"*\tx.ppc\n3\t\n", "E [LISTPPC] NO PCM-Filename, line.2.\n"},
      {";c\n1\ta.adp\n*\tx.ppc\n", "E [LISTPPC] undefined PPC name, line.2.\n"},
      {"*\n", "E [LISTPPC] NO PPC-Filename, line.1.\n"},
      {"*x\t\n", "E [LISTPPC] NO PPC-Filename, line.1.\n"},
      {"*\tx.ppc\n1\ta.adp\n;c\n*\ty.ppc\n", "E [LISTPPC] too many PPCs.\n"},
      // a name followed by a tab: the rest of its line counts as a line of its own
      {"*\tx.ppc\t\n1\ta.adp\t\n999\ta.adp\n", "E [LISTPPC] BAD @-Number, line.5\n"},
      {"*\tx.ppc\r\n\r\n256\ta.adp\r\n", "E [LISTPPC] BAD @-Number, line.3\n"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    dir.write("a.adp", Bytes(32, 0));
    dir.write("l.lxi", c.list);
    const RunResult r = zarnotek_run(dir, {"linkppc", "l.lxi"});
    EXPECT_NE(r.err.find(c.err), std::string::npos) << c.list << r.err;
    EXPECT_EQ(r.err.find("LXI check is OK"), std::string::npos) << c.list;
    EXPECT_EQ(r.err.substr(r.err.size() - kZFinish.size()), kZFinish);
    EXPECT_FALSE(dir.exists("x.ppc"));
  }
}

TEST(LinkPpc, ListsWithoutPpcNameAndMissingList) {
  TempDir dir;
  dir.write("empty.lxi", std::string());
  RunResult r = zarnotek_run(dir, {"linkppc", "empty.lxi"});
  EXPECT_EQ(r.err, linkppc_err("", 0));
  dir.write("comments.lxi", std::string("; only\n\n;comments\n"));
  r = zarnotek_run(dir, {"linkppc", "comments.lxi"});
  EXPECT_EQ(r.err, linkppc_err("", 0));
  r = zarnotek_run(dir, {"linkppc", "none.lxi"});
  EXPECT_EQ(r.err, linkppc_err("E [LISTPPC] ERROR, LXI not found.\n", 0));
}

TEST(LinkPpc, OutputProblems) {
  TempDir dir;
  dir.write("a.adp", Bytes(32, 5));
  dir.write("self.lxi", std::string("*\ta.adp\n0\ta.adp\n"));
  RunResult r = zarnotek_run(dir, {"linkppc", "self.lxi"});
  EXPECT_NE(r.err.find("- [ZARNOTEK] LXI check is OK, PPC:[a.adp]\n"
                       "E [ZARNOTEK] output is an input [a.adp]\n" +
                       kZFinish),
            std::string::npos)
      << r.err;
  EXPECT_EQ(dir.read("a.adp"), Bytes(32, 5));

  dir.write("nodir.lxi", std::string("*\tno/x.ppc\n0\ta.adp\n"));
  r = zarnotek_run(dir, {"linkppc", "nodir.lxi"});
  EXPECT_TRUE(r.err.ends_with("E [ZARNOTEK] cannot open [no/x.ppc]\n")) << r.err;
  EXPECT_EQ(r.status, 255);

  dir.write("full.lxi", std::string("*\t/dev/full\n0\ta.adp\n"));
  r = zarnotek_run(dir, {"linkppc", "full.lxi"});
  EXPECT_TRUE(r.err.ends_with("E [ZARNOTEK] write error [/dev/full]\n")) << r.err;
  EXPECT_EQ(r.err.find("done"), std::string::npos);
  EXPECT_EQ(r.status, 255);
}

TEST(LinkPpc, FileThatCannotBeReadBackWholeEndsTheRun) {
  const std::string unstable = unstable_file();
  if (unstable.empty()) GTEST_SKIP() << "no file whose size and content differ";
  TempDir dir;
  dir.write("a.adp", Bytes(32, 5));
  dir.write("l.lxi", "*\tout.ppc\n0\ta.adp\n1\t" + unstable + "\n");
  const RunResult r = zarnotek_run(dir, {"linkppc", "l.lxi"});
  EXPECT_NE(r.err.find("E [ZARNOTEK] File read error.\n- [ZARNOTEK] READ PCM Failed [" + unstable +
                       "]\n"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(r.status, 255);
  // header, table and the earlier tone stay written
  EXPECT_EQ(dir.read("out.ppc").size(), 1056u + 32u);
}

}  // namespace
