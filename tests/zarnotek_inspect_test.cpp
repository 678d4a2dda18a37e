// zarnotek: command driver, inspect and format_grouped.
#include <gtest/gtest.h>

#include "inspect.h"
#include "support.h"
#include "texts.h"

using namespace testing_support;
using namespace texts;

namespace {

const std::string kHeading =
    "\n  @     Freq.    size    Lstart    Lend    offset   PZIPos.\n"
    " ---  -------- -------- -------- -------- -------- --------\n";
const std::string kSep = " ---  -------- -------- -------- -------- -------- --------\n";

TEST(ZarnotekDriver, TooFewArgumentsPrintUsageOnly) {
  TempDir dir;
  for (const auto& args : {std::vector<std::string>{}, std::vector<std::string>{"inspect"}}) {
    const RunResult r = zarnotek_run(dir, args);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, kZUsage);
    EXPECT_EQ(r.status, 0);
  }
}

TEST(ZarnotekDriver, UnknownWordsGiveBannerThenUsage) {
  TempDir dir;
  for (const char* word : {"LINK", "linkx", "lin", "Inspect"}) {
    const RunResult r = zarnotek_run(dir, {word, "x.lxi"});
    EXPECT_EQ(r.out, "") << word;
    EXPECT_EQ(r.err, kZStart + kZUsage) << word;
    EXPECT_EQ(r.status, 0) << word;
  }
}

TEST(Inspect, ReportsBankWithRunsOfAbsentTonesAndLoops) {
  TempDir dir;
  // tones 0, 1 and 5 present; 2 has S.Rate 0 (absent), 3 has Length 0 (absent)
  const Bytes data = pattern(10 + 20 + 30 + 5, 1);
  dir.write("b.pzi", make_pzi({{0, 0, 10, -1, 7, 16540},
                               {1, 10, 20, 0, 19, 8000},
                               {2, 30, 5, -1, -1, 0},
                               {3, 30, 0, -1, -1, 8000},
                               {5, 30, 30, 3, 29, 65535}},
                              data));
  const RunResult r = zarnotek_run(dir, {"inspect", "b.pzi", "ignored"});
  EXPECT_EQ(r.out,
            "C [INSPECT]    FileName : b.pzi\n"
            "C [INSPECT]    FileSize : 2,401 bytes\n"
            "C [INSPECT]    PCMFiles : 3\n" +
                kHeading +
                "   0  16540 Hz       10        -        -        0 00000920\n"
                "   1   8000 Hz       20        0       19       10 0000092A\n" +
                kSep + "   5  65535 Hz       30        3       29       30 0000093E\n" + kSep +
                "\n");
  EXPECT_EQ(r.err, kZStart + "- [INSPECT] start inspect [b.pzi].\nC [INSPECT] FormatCheck : OK\n" +
                       release(2) + kZFinish);
  EXPECT_EQ(r.status, 0);
}

TEST(Inspect, EmptyBankAndToneAtTheEndOfTheTable) {
  TempDir dir;
  dir.write("e.pzi", make_pzi({}, {}));
  RunResult r = zarnotek_run(dir, {"inspect", "e.pzi"});
  EXPECT_EQ(r.out,
            "C [INSPECT]    FileName : e.pzi\nC [INSPECT]    FileSize : 2,336 bytes\n"
            "C [INSPECT]    PCMFiles : 0\n" +
                kHeading + "\n");
  EXPECT_EQ(r.status, 0);

  std::filesystem::create_directory(dir.path() / "sub");
  dir.write("sub/t.PZI", make_pzi({{127, 0, 4, -1, 2, 100}}, Bytes{1, 2, 3, 4}));
  r = zarnotek_run(dir, {"inspect", "sub/t.PZI"});
  EXPECT_EQ(r.out,
            "C [INSPECT]    FileName : t.PZI\nC [INSPECT]    FileSize : 2,340 bytes\n"
            "C [INSPECT]    PCMFiles : 1\n" +
                kHeading + " 127    100 Hz        4        -        -        0 00000920\n" + kSep +
                "\n");
}

TEST(Inspect, OffsetPrintsSignedAndPositionWraps) {
  TempDir dir;
  dir.write("w.pzi", make_pzi({{0, 0xFFFFFFF0u, 1, -1, -1, 1}}, Bytes{9}));
  const RunResult r = zarnotek_run(dir, {"inspect", "w.pzi"});
  EXPECT_NE(r.out.find("   0      1 Hz        1        -        -      -16 00000910\n"),
            std::string::npos)
      << r.out;
}

struct InspectError {
  const char* name;
  Bytes content;
  bool create;
  std::string message;
  int areas;
};

TEST(Inspect, ErrorsGoToStandardErrorWithNothingOnStandardOutput) {
  Bytes bad_magic = make_pzi({}, {});
  bad_magic[3] = '2';
  const Bytes short_bank =
      make_pzi({{4, 0, 100, -1, -1, 8000}, {9, 100, 50, -1, -1, 1}}, Bytes(149, 0));
  const Bytes huge = make_pzi({{0, 0, 0x7FFFFFFF, -1, -1, 1}, {1, 0, 0x7FFFFFFF, -1, -1, 1}}, {});
  const std::vector<InspectError> cases = {
      {"short.pzi", Bytes(2335, 0), true, "E [INSPECT] too small PZI, 2335 bytes.\n", 2},
      {"magic.pzi", bad_magic, true, "E [INSPECT] not PZI1.\n", 2},
      {"cut.pzi", short_bank, true, "E [INSPECT] too short PZI, need 2486 bytes.\n", 2},
      {"huge.pzi", huge, true, "E [INSPECT] too short PZI, need 4294969630 bytes.\n", 2},
      {"missing.pzi",
       {},
       false,
       "E [ZARNOTEK] Error, input file not found. [missing.pzi]\n"
       "E [INSPECT] ERROR, cannot read File [missing.pzi].\n",
       0},
  };
  for (const auto& c : cases) {
    TempDir dir;
    if (c.create) dir.write(c.name, c.content);
    const RunResult r = zarnotek_run(dir, {"inspect", c.name});
    const std::string released = c.areas ? release(c.areas) : "";
    EXPECT_EQ(r.out, "") << c.name;
    EXPECT_EQ(r.err, kZStart + "- [INSPECT] start inspect [" + c.name + "].\n" + c.message +
                         released + kZFinish)
        << c.name;
    EXPECT_EQ(r.status, 0) << c.name;
  }
}

TEST(Inspect, DirectoryIsAReadErrorWithItsBufferTracked) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "d.pzi");
  const RunResult r = zarnotek_run(dir, {"inspect", "d.pzi"});
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, kZStart +
                       "- [INSPECT] start inspect [d.pzi].\n"
                       "E [ZARNOTEK] File read error.\n"
                       "E [INSPECT] ERROR, cannot read File [d.pzi].\n" +
                       release(2) + kZFinish);
}

TEST(Inspect, BankOfExactlyTheNeededSizePasses) {
  TempDir dir;
  dir.write("x.pzi", make_pzi({{4, 0, 100, -1, -1, 8000}}, Bytes(100, 0x80)));
  const RunResult r = zarnotek_run(dir, {"inspect", "x.pzi"});
  EXPECT_NE(r.err.find("C [INSPECT] FormatCheck : OK\n"), std::string::npos);
}

TEST(FormatGrouped, GroupsOfThree) {
  const std::pair<int32_t, const char*> cases[] = {
      {0, "0"},
      {999, "999"},
      {1000, "1,000"},
      {1005, "1,005"},
      {2336, "2,336"},
      {1000000, "1,000,000"},
      {1234567, "1,234,567"},
      {2000000005, "2,000,000,005"},
      {2147483647, "2,147,483,647"},
      {-1234, "-1,234"},
      {-2147483647, "-2,147,483,647"},
      {INT32_MIN, "-2,147,483,648"},
  };
  for (const auto& [value, text] : cases)
    EXPECT_STREQ(zarnotek::format_grouped(value), text) << value;
}

}  // namespace
