// felskaro: driver, view, list resolution with element sources, link.
#include <gtest/gtest.h>

#include <filesystem>

#include "ppc_list.h"
#include "support.h"
#include "texts.h"

using namespace testing_support;
using namespace texts;

namespace {

namespace fs = std::filesystem;

const std::string kViewHeading = "  [VIEW]            @ : strt  end  offset    size  /32\n";

TEST(FelskaroDriver, UsageAndUnknownWords) {
  TempDir dir;
  for (const auto& args : {std::vector<std::string>{}, std::vector<std::string>{"view"}}) {
    const RunResult r = felskaro_run(dir, args);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, kFUsage);
    EXPECT_EQ(r.status, 0);
  }
  for (const char* word : {"VIEW", "Link", "views"}) {
    const RunResult r = felskaro_run(dir, {word, "x.ppc"});
    EXPECT_EQ(r.out, kFStart) << word;
    EXPECT_EQ(r.err, kFUsage) << word;
    EXPECT_EQ(r.status, 0) << word;
  }
}

TEST(View, EmptyBankAndSingleElement) {
  TempDir dir;
  dir.write("e.ppc", make_ppc({}, {}));
  RunResult r = felskaro_run(dir, {"view", "e.ppc", "extra"});
  EXPECT_EQ(r.out, kFStart +
                       "  [VIEW] PPC FileSize : 1056 bytes\n"
                       "  [VIEW] PPC     0x1E : 0026 (38*32-160=1056)\n" +
                       kViewHeading + kFFinish);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);

  dir.write("five.ppc", make_ppc({{5, {38, 39}}}, pattern(64, 1)));
  r = felskaro_run(dir, {"view", "five.ppc"});
  EXPECT_EQ(r.out, kFStart +
                       "  [VIEW] PPC FileSize : 1120 bytes\n"
                       "  [VIEW] PPC     0x1E : 0028 (40*32-160=1120)\n" +
                       kViewHeading + "  [VIEW] PCM Tone   5 : 0026 0027    1056      64    2\n" +
                       kFFinish);
}

TEST(View, InconsistentBanksAreShownFromTheirEntries) {
  TempDir dir;
  // wrong next_address, an entry with start 0 (no row), one with end below start
  dir.write("odd.ppc", make_ppc_with_next(38, {{1, {0, 50}}, {200, {10, 0}}, {255, {40, 39}}},
                                          pattern(64, 2)));
  const RunResult r = felskaro_run(dir, {"view", "odd.ppc"});
  EXPECT_EQ(r.out, kFStart +
                       "  [VIEW] PPC FileSize : 1120 bytes\n"
                       "  [VIEW] PPC     0x1E : 0026 (38*32-160=1056)\n"
                       "W [VIEW] BAD Filesize(0x1E)\n" +
                       kViewHeading +
                       "  [VIEW] PCM Tone 200 : 000A 0000     160    -288   -9\n"
                       "  [VIEW] PCM Tone 255 : 0028 0027    1120       0    0\n" +
                       kFFinish);
}

TEST(View, LoadFailuresAndShortFiles) {
  TempDir dir;
  dir.write("short.ppc", Bytes(1055, 0));
  RunResult r = felskaro_run(dir, {"view", "short.ppc"});
  EXPECT_EQ(r.out, kFStart + "E [VIEW] ERROR, too short File [short.ppc].\n" + kFFinish);
  EXPECT_EQ(r.err, "");
  r = felskaro_run(dir, {"view", "none.ppc"});
  EXPECT_EQ(r.out, kFStart + "E [VIEW] ERROR, cannot read File [none.ppc].\n" + kFFinish);
  EXPECT_EQ(r.err, "E [FELSKARO] Error, input file not found. [none.ppc]\n");
  EXPECT_EQ(r.status, 0);
}

// Two source banks and raw files, listed out of tone order, CR LF ends.
TEST(FelskaroLink, MixesRawFilesAndElementsOfTwoBanks) {
  TempDir dir;
  const Bytes e0 = pattern(64, 1), e3 = pattern(32, 2), f7 = pattern(96, 3);
  const Bytes raw1 = pattern(32, 4), raw2 = pattern(128, 5);
  dir.write("A.PPC", make_ppc({{0, {38, 39}}, {3, {40, 40}}}, concat({e0, e3})));
  dir.write("B.PPC", make_ppc({{7, {38, 40}}}, f7));
  dir.write("r1.adp", raw1);
  dir.write("r2.adp", raw2);
  dir.write("mix.lxi", std::string("; mixed\r\n"
                                   "*\tout.ppc\r\n"
                                   "9\tA.PPC\t3\r\n"
                                   "2\tr2.adp\r\n"
                                   "\r\n"
                                   "5\tB.PPC\t7\r\n"
                                   "0\tA.PPC\r\n"
                                   "4\tr1.adp\r\n"));
  const RunResult r = felskaro_run(dir, {"link", "mix.lxi"});
  EXPECT_EQ(r.out, kFStart +
                       "  [FELSKARO] PPC-Filename [out.ppc]\n"
                       "  [FELSKARO] tone:  9 [A.PPC/  3]\n"
                       "  [FELSKARO] tone:  2 [r2.adp/  0]\n"
                       "  [FELSKARO] tone:  5 [B.PPC/  7]\n"
                       "  [FELSKARO] tone:  0 [A.PPC/  0]\n"
                       "  [FELSKARO] tone:  4 [r1.adp/  0]\n"
                       "  [FELSKARO] Totalsize : 1408 bytes (0031)\n" +
                       kFFinish);
  EXPECT_EQ(r.err, "  [LINK] done [out.ppc]\n");
  EXPECT_EQ(r.status, 0);
  // tone order 0, 2, 4, 5, 9
  EXPECT_EQ(dir.read("out.ppc"),
            make_ppc({{0, {38, 39}}, {2, {40, 43}}, {4, {44, 44}}, {5, {45, 47}}, {9, {48, 48}}},
                     concat({e0, raw2, raw1, f7, e3})));
}

TEST(FelskaroLink, ListDialectDetails) {
  TempDir dir;
  const Bytes bank_data = pattern(32 * 8, 6);
  dir.write("S.PPC", make_ppc({{0, {38, 38}}, {2, {39, 40}}, {7, {41, 45}}}, bank_data));
  dir.write("s.ppc", Bytes(32, 9));  // lower-case extension: a raw file
  dir.write("abc", Bytes(64, 8));
  // element number 2 survives a later line without a third field; a second
  // output line wins; a trailing tab gives an empty third field (element 0);
  // "12xyz" is tone 12, "*x" is a tone line (tone 0); a 0x1A byte ends the list
  dir.write("l.lxi", std::string("*\tfirst.ppc\n"
                                 "4\tS.PPC\t2\n"
                                 "4\tS.PPC\n"
                                 "12xyz\tS.PPC\t\n"
                                 "*x\ts.ppc\n"
                                 "20\tabc\t7\n"
                                 "*\tout.ppc\tignored\n"
                                 "\x1a"
                                 "300\tnever.adp\n"));
  const RunResult r = felskaro_run(dir, {"link", "l.lxi"});
  EXPECT_EQ(r.out, kFStart +
                       "  [FELSKARO] PPC-Filename [first.ppc]\n"
                       "  [FELSKARO] tone:  4 [S.PPC/  2]\n"
                       "  [FELSKARO] tone:  4 [S.PPC/  2]\n"
                       "  [FELSKARO] tone: 12 [S.PPC/  0]\n"
                       "  [FELSKARO] tone:  0 [s.ppc/  0]\n"
                       "  [FELSKARO] tone: 20 [abc/  7]\n"
                       "  [FELSKARO] PPC-Filename [out.ppc]\n"
                       "  [FELSKARO] Totalsize : 1248 bytes (002C)\n" +
                       kFFinish);
  EXPECT_EQ(dir.read("out.ppc"),
            make_ppc({{0, {38, 38}}, {4, {39, 40}}, {12, {41, 41}}, {20, {42, 43}}},
                     concat({Bytes(32, 9), slice(bank_data, 32, 64), slice(bank_data, 0, 32),
                             Bytes(64, 8)})));
  EXPECT_FALSE(dir.exists("first.ppc"));
}

TEST(FelskaroLink, BankServingTwoTonesWarnsTwice) {
  TempDir dir;
  const Bytes d = pattern(64, 7);
  dir.write("W.PPC", make_ppc_with_next(99, {{1, {38, 38}}, {2, {39, 39}}}, d));
  dir.write("l.lxi", std::string("*\tout.ppc\n3\tW.PPC\t2\n1\tW.PPC\t1\n"));
  const RunResult r = felskaro_run(dir, {"link", "l.lxi"});
  EXPECT_EQ(r.out, kFStart +
                       "  [FELSKARO] PPC-Filename [out.ppc]\n"
                       "  [FELSKARO] tone:  3 [W.PPC/  2]\n"
                       "  [FELSKARO] tone:  1 [W.PPC/  1]\n"
                       "W [LINK] BAD Filesize(0x1E) [W.PPC]\n"
                       "W [LINK] BAD Filesize(0x1E) [W.PPC]\n"
                       "  [FELSKARO] Totalsize : 1120 bytes (0028)\n" +
                       kFFinish);
  EXPECT_EQ(dir.read("out.ppc"), make_ppc({{1, {38, 38}}, {3, {39, 39}}}, d));
}

struct LinkError {
  std::string list;
  std::string out;  // what follows the echo lines on standard output
  std::string err;
};

TEST(FelskaroLink, ErrorsLeaveTheOutputUntouched) {
  const std::string echo = "  [FELSKARO] PPC-Filename [out.ppc]\n";
  const std::vector<LinkError> cases = {
      {"", "E [FELSKARO] ERROR, PPC-Filename not found.\n", ""},
      {"; only\n\n\tx\n", "E [FELSKARO] ERROR, PPC-Filename not found.\n", ""},
      {"*\n", "  [FELSKARO] PPC-Filename [(null)]\nE [FELSKARO] ERROR, PPC-Filename not found.\n",
       ""},
      {"*\t\n", "  [FELSKARO] PPC-Filename []\nE [FELSKARO] ERROR, PPC-Filename not found.\n", ""},
      {"*\tout.ppc\n300\tr.adp\n", echo + "E [FELSKARO] BAD @-Number, line.1\n", ""},
      {"*\tout.ppc\n-1\tr.adp\n", echo + "E [FELSKARO] BAD @-Number, line.1\n", ""},
      {";\n*\tout.ppc\n3\t\tr.adp\n", echo + "E [FELSKARO] NO PCM-Filename, line.2.\n", ""},
      {"*\tout.ppc\n3\n", echo + "E [FELSKARO] NO PCM-Filename, line.1.\n", ""},
      {"*\tout.ppc\n1\tgone.adp\n",
       echo + "  [FELSKARO] tone:  1 [gone.adp/  0]\nE [FELSKARO] NOT FOUND [gone.adp].\n", ""},
      {"*\tout.ppc\n1\todd.adp\n",
       echo + "  [FELSKARO] tone:  1 [odd.adp/  0]\nE [FELSKARO] BAD PCMSize(32), [odd.adp/33]\n",
       ""},
      {"*\tout.ppc\n1\tGONE.PPC\n",
       echo +
           "  [FELSKARO] tone:  1 [GONE.PPC/  0]\nE [LINK] ERROR, cannot read File [GONE.PPC].\n",
       "E [FELSKARO] Error, input file not found. [GONE.PPC]\n"},
      {"*\tout.ppc\n1\tSHORT.PPC\n",
       echo +
           "  [FELSKARO] tone:  1 [SHORT.PPC/  0]\nE [LINK] ERROR, too short File [SHORT.PPC].\n",
       ""},
      {"*\tout.ppc\n1\tB.PPC\t4\n",
       echo + "  [FELSKARO] tone:  1 [B.PPC/  4]\nE [LINK] NOT FOUND PPC-Element [B.PPC/@4]\n", ""},
      {"*\tout.ppc\n1\tB.PPC\t300\n",
       echo + "  [FELSKARO] tone:  1 [B.PPC/300]\nE [LINK] NOT FOUND PPC-Element [B.PPC/@300]\n",
       ""},
      {"*\tout.ppc\n1\tB.PPC\t-1\n",
       echo + "  [FELSKARO] tone:  1 [B.PPC/ -1]\nE [LINK] NOT FOUND PPC-Element [B.PPC/@-1]\n",
       ""},
      {"*\tout.ppc\n1\tB.PPC\t1\n",
       echo + "  [FELSKARO] tone:  1 [B.PPC/  1]\nE [LINK] BAD PPC-Format [B.PPC]\n", ""},
      {"*\tout.ppc\n1\tB.PPC\t2\n",
       echo + "  [FELSKARO] tone:  1 [B.PPC/  2]\nE [LINK] BAD PPC-Format [B.PPC]\n", ""},
      {"*\tout.ppc\n1\tB.PPC\t3\n",
       echo + "  [FELSKARO] tone:  1 [B.PPC/  3]\nE [LINK] BAD PPC-Format [B.PPC]\n", ""},
      // the first failing tone in tone order stops the resolution
      {"*\tout.ppc\n9\tgone.adp\n2\todd.adp\n",
       echo + "  [FELSKARO] tone:  9 [gone.adp/  0]\n  [FELSKARO] tone:  2 [odd.adp/  0]\nE "
              "[FELSKARO] BAD PCMSize(32), [odd.adp/33]\n",
       ""},
  };
  for (const auto& c : cases) {
    TempDir dir;
    dir.write("out.ppc", std::string("keep"));
    dir.write("odd.adp", Bytes(33, 0));
    dir.write("SHORT.PPC", Bytes(1055, 0));
    // element 1 runs one block past the end, 2 starts before the file, 3 has end < start - 1
    dir.write("B.PPC",
              make_ppc({{0, {38, 38}}, {1, {38, 39}}, {2, {4, 40}}, {3, {38, 36}}}, Bytes(32, 1)));
    dir.write("l.lxi", c.list);
    const RunResult r = felskaro_run(dir, {"link", "l.lxi"});
    EXPECT_EQ(r.out, kFStart + c.out + kFFinish) << c.list;
    EXPECT_EQ(r.err, c.err) << c.list;
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(dir.read("out.ppc"), text_bytes("keep")) << c.list;
  }
}

TEST(FelskaroLink, MissingListEndsWithStatusOne) {
  TempDir dir;
  const RunResult r = felskaro_run(dir, {"link", "none.lxi"});
  EXPECT_EQ(r.out, kFStart + "E [FELSKARO] LXI NOT FOUND [none.lxi]\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 1);
}

TEST(FelskaroLink, SizeLimitElementEdgesAndEmptySources) {
  TempDir dir;
  dir.write("big.adp", Bytes(259872 - 32, 3));
  dir.write("one.adp", Bytes(32, 4));
  dir.write("zero.adp", Bytes{});
  dir.write("fit.lxi", std::string("*\tfit.ppc\n0\tbig.adp\n1\tone.adp\n2\tzero.adp\n"));
  RunResult r = felskaro_run(dir, {"link", "fit.lxi"});
  EXPECT_NE(r.out.find("  [FELSKARO] Totalsize : 260928 bytes (1FDF)\n"), std::string::npos);
  EXPECT_EQ(fs::file_size(dir.path() / "fit.ppc"), 260928u);

  dir.write("over.lxi", std::string("*\tover.ppc\n0\tbig.adp\n1\tone.adp\n2\tone.adp\n"));
  r = felskaro_run(dir, {"link", "over.lxi"});
  EXPECT_EQ(r.err, "E [FELSKARO] TOO Large PPC-File, 260960 bytes\n");
  EXPECT_EQ(r.out.find("Totalsize"), std::string::npos);
  EXPECT_FALSE(dir.exists("over.ppc"));

  // an element ending exactly at the end of its bank; an empty raw file
  const Bytes d = pattern(64, 9);
  dir.write("E.PPC", make_ppc({{6, {39, 39}}}, d));
  dir.write("e.lxi", std::string("*\te.ppc\n0\tzero.adp\n1\tE.PPC\t6\n"));
  r = felskaro_run(dir, {"link", "e.lxi"});
  EXPECT_EQ(dir.read("e.ppc"), make_ppc({{0, {38, 37}}, {1, {38, 38}}}, slice(d, 32, 32)));
}

TEST(FelskaroLink, OutputProblems) {
  TempDir dir;
  dir.write("r.adp", Bytes(32, 1));
  dir.write("SELF.PPC", make_ppc({{0, {38, 38}}}, Bytes(32, 2)));
  const Bytes self_before = dir.read("SELF.PPC");
  dir.write("self.lxi", std::string("*\tSELF.PPC\n0\tSELF.PPC\n"));
  RunResult r = felskaro_run(dir, {"link", "self.lxi"});
  EXPECT_EQ(r.err, "E [LINK] output is an input [SELF.PPC]\n");
  EXPECT_EQ(r.out.find("Totalsize"), std::string::npos);
  EXPECT_TRUE(r.out.ends_with(kFFinish));
  EXPECT_EQ(dir.read("SELF.PPC"), self_before);

  dir.write("nodir.lxi", std::string("*\tno/x.ppc\n0\tr.adp\n"));
  r = felskaro_run(dir, {"link", "nodir.lxi"});
  EXPECT_TRUE(r.out.ends_with("  [FELSKARO] Totalsize : 1088 bytes (0027)\n")) << r.out;
  EXPECT_EQ(r.err, "E [LINK] cannot open [no/x.ppc]\n");
  EXPECT_EQ(r.status, 255);

  dir.write("full.lxi", std::string("*\t/dev/full\n0\tr.adp\n"));
  r = felskaro_run(dir, {"link", "full.lxi"});
  EXPECT_EQ(r.err, "E [LINK] write error [/dev/full]\n");
  EXPECT_FALSE(r.out.ends_with(kFFinish));
  EXPECT_EQ(r.status, 255);
}

TEST(FelskaroLink, SourceThatCannotBeReadBackEndsTheRun) {
  const std::string unstable = unstable_file();
  if (unstable.empty()) GTEST_SKIP() << "no file whose size and content differ";
  TempDir dir;
  dir.write("r.adp", Bytes(32, 1));
  dir.write("l.lxi", "*\tout.ppc\n0\tr.adp\n1\t" + unstable + "\n");
  const RunResult r = felskaro_run(dir, {"link", "l.lxi"});
  EXPECT_EQ(r.err,
            "E [FELSKARO] File read error.\n- [ZARNOTEK] READ PCM Failed [" + unstable + "]\n");
  EXPECT_EQ(r.status, 255);
  EXPECT_EQ(dir.read("out.ppc").size(), 1056u + 32u);
}

TEST(SplitLine, AtMostThreeFieldsOnlyLfEndsALine) {
  std::string text = "1\tname\t2\tjunk\tmore\r\nnext";
  text.push_back('\0');
  char* fields[3];
  char* next = felskaro::split_line(text.data(), fields, 3);
  EXPECT_STREQ(fields[0], "1");
  EXPECT_STREQ(fields[1], "name");
  EXPECT_STREQ(fields[2], "2");
  EXPECT_STREQ(next, "next");
  next = felskaro::split_line(next, fields, 3);
  EXPECT_STREQ(fields[0], "next");
  EXPECT_EQ(fields[1], nullptr);
  EXPECT_EQ(*next, '\0');
  std::string cr = "a\tb\rc\n";
  cr.push_back('\0');
  felskaro::split_line(cr.data(), fields, 3);
  EXPECT_STREQ(fields[1], "b\rc");
}

// A bank that zarnotek linkppc writes is read back by felskaro.
TEST(EndToEnd, LinkppcBankViewedAndUsedAsElementSource) {
  TempDir dir;
  const Bytes k = pattern(96, 1), s = pattern(64, 2);
  dir.write("k.adp", k);
  dir.write("s.adp", s);
  dir.write("p.lxi", std::string("*\tDRUMS.PPC\n7\ts.adp\n2\tk.adp\n"));
  ASSERT_EQ(zarnotek_run(dir, {"linkppc", "p.lxi"}).status, 0);
  RunResult r = felskaro_run(dir, {"view", "DRUMS.PPC"});
  EXPECT_EQ(r.out, kFStart +
                       "  [VIEW] PPC FileSize : 1216 bytes\n"
                       "  [VIEW] PPC     0x1E : 002B (43*32-160=1216)\n" +
                       kViewHeading +
                       "  [VIEW] PCM Tone   2 : 0026 0028    1056      96    3\n"
                       "  [VIEW] PCM Tone   7 : 0029 002A    1152      64    2\n" +
                       kFFinish);
  dir.write("f.lxi", std::string("*\tmix.ppc\n0\tDRUMS.PPC\t7\n1\tDRUMS.PPC\t2\n2\ts.adp\n"));
  r = felskaro_run(dir, {"link", "f.lxi"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(dir.read("mix.ppc"),
            make_ppc({{0, {38, 39}}, {1, {40, 42}}, {2, {43, 44}}}, concat({s, k, s})));
}

}  // namespace
