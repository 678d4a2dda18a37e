// Unit tests of the foundation: list lexing, loaders, the buffer registry,
// the PPC format and the number reading.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include <cstring>
#include <string>

#include "apmalloc.h"
#include "fileload.h"
#include "listlex.h"
#include "outfile.h"
#include "ppc_format.h"
#include "support.h"

using namespace testing_support;

namespace {

// A writable zero-terminated copy of a text.
struct Text {
  explicit Text(const std::string& s) : buf(s.begin(), s.end()) { buf.push_back('\0'); }
  char* at(size_t i) { return buf.data() + i; }
  std::vector<char> buf;
};

TEST(SplitFields, CrLfLineCutsAtCrAndKeepsLf) {
  Text t("a\tb\r\nc");
  tools::FieldTable* table = nullptr;
  int count = 0;
  char* next = tools::split_fields(t.at(0), &table, &count);
  EXPECT_EQ(next, t.at(5));
  EXPECT_EQ(count, 2);
  EXPECT_STREQ(table->field[0], "a");
  EXPECT_STREQ(table->field[1], "b");
  EXPECT_EQ(t.buf[3], '\0');
  EXPECT_EQ(t.buf[4], '\n');
  EXPECT_EQ(table->field[2], nullptr);
}

TEST(SplitFields, EmptyFieldsTrailingTabLastLineAndLoneCr) {
  Text t("1\t\tx\t");
  tools::FieldTable* table = nullptr;
  int count = 0;
  char* next = tools::split_fields(t.at(0), &table, &count);
  EXPECT_EQ(next, t.at(5));  // terminator
  EXPECT_EQ(count, 4);
  EXPECT_STREQ(table->field[1], "");
  EXPECT_STREQ(table->field[2], "x");
  EXPECT_STREQ(table->field[3], "");

  Text cr("a\tb\rjunk\tmore\nnext");
  next = tools::split_fields(cr.at(0), &table, &count);
  EXPECT_EQ(count, 2);
  EXPECT_STREQ(table->field[1], "b");
  EXPECT_STREQ(next, "next");
}

TEST(SplitFields, MoreThanFifteenTabsCapsAtSixteen) {
  std::string line;
  for (int i = 0; i < 20; ++i) line += std::to_string(i) + "\t";
  Text t(line + "\n");
  tools::FieldTable* table = nullptr;
  int count = 0;
  tools::split_fields(t.at(0), &table, &count);
  EXPECT_EQ(count, 16);
  EXPECT_STREQ(table->field[15], "15");
  // null out-places are allowed
  Text u("a\tb\n");
  tools::split_fields(u.at(0), nullptr, nullptr);
}

TEST(SkipLine, StopsAfterLfOrAtTerminator) {
  Text t("ab\ncd\n");
  EXPECT_EQ(tools::skip_line(t.at(0)), t.at(3));
  EXPECT_EQ(tools::skip_line(t.at(2)), t.at(3));  // at an LF: the next position
  EXPECT_EQ(tools::skip_line(t.at(5)), t.at(6));  // last LF: the terminator
  EXPECT_EQ(tools::skip_line(t.at(6)), t.at(6));  // at the terminator: unchanged
  Text cr("a\rb\nc");
  EXPECT_EQ(tools::skip_line(cr.at(0)), cr.at(4));  // CR is ordinary here
}

TEST(NextField, FindsNthFieldOrNull) {
  Text t("12\tabcde\n");
  char* f = tools::next_field(t.at(0), 1);
  ASSERT_EQ(f, t.at(3));
  EXPECT_EQ(tools::field_length(f), 5);
  EXPECT_EQ(tools::next_field(t.at(0), 0), t.at(0));
  Text none("12\n\tx");
  EXPECT_EQ(tools::next_field(none.at(0), 1), nullptr);
  Text end("12");
  EXPECT_EQ(tools::next_field(end.at(0), 1), nullptr);
  Text empty("1\t\tx");
  char* e = tools::next_field(empty.at(0), 1);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(tools::field_length(e), 0);
}

TEST(FieldLength, StopsAtTabCrLfAndTerminator) {
  for (const char* s : {"\tx", "\rx", "\nx", ""}) EXPECT_EQ(tools::field_length(s), 0) << s;
  EXPECT_EQ(tools::field_length("abc\rd"), 3);
}

TEST(ReadListNumber, StandardConversionClampedTo32Bits) {
  struct Case {
    const char* text;
    int32_t value;
  } cases[] = {{"", 0},
               {"abc", 0},
               {"  42", 42},
               {"+7", 7},
               {"-3x", -3},
               {"007", 7},
               {"12abc", 12},
               {"99999999999", INT32_MAX},
               {"-99999999999", INT32_MIN},
               {"\t 5", 5}};
  for (const auto& c : cases) EXPECT_EQ(tools::read_list_number(c.text), c.value) << c.text;
}

TEST(LoadFile, ZarnotekFlavourPadsWithZeroBothSidesAndTracks) {
  TempDir dir;
  dir.write("f", Bytes{1, 2, 3});
  const int32_t before = tools::buffer_registry().count;
  uint8_t* data = nullptr;
  ASSERT_EQ(tools::load_file(dir.file("f").c_str(), &data, tools::kZarnotekLoader), 3);
  EXPECT_EQ(data[-1], 0);
  EXPECT_EQ(data[0], 1);
  EXPECT_EQ(data[2], 3);
  EXPECT_EQ(data[3], 0);
  EXPECT_EQ(tools::buffer_registry().count, before + 1);
  // measuring only allocates nothing
  EXPECT_EQ(tools::load_file(dir.file("f").c_str(), nullptr, tools::kZarnotekLoader), 3);
  EXPECT_EQ(tools::buffer_registry().count, before + 1);
}

TEST(LoadFile, EmptyAndMissingFiles) {
  TempDir dir;
  dir.write("empty", Bytes{});
  uint8_t* data = nullptr;
  EXPECT_EQ(tools::load_file(dir.file("empty").c_str(), &data, tools::kFelskaroLoader), 0);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data[0], 0);
  EXPECT_EQ(tools::probe_file_size(dir.file("empty").c_str()), 0);

  const std::string missing = dir.file("missing");
  testing::internal::CaptureStderr();
  EXPECT_EQ(tools::load_file(missing.c_str(), &data, tools::kFelskaroLoader), -1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "E [FELSKARO] Error, input file not found. [" + missing + "]\n");
  EXPECT_EQ(tools::probe_file_size(missing.c_str()), -1);
  testing::internal::CaptureStderr();
  EXPECT_EQ(tools::load_text_file(missing.c_str()), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(LoadFile, DirectoryIsAReadError) {
  TempDir dir;
  uint8_t* data = nullptr;
  testing::internal::CaptureStderr();
  EXPECT_EQ(tools::load_file(dir.path().c_str(), &data, tools::kZarnotekLoader), -1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "E [ZARNOTEK] File read error.\n");
}

TEST(LoadFile, FifoDoesNotHang) {
  TempDir dir;
  const std::string fifo = dir.file("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  uint8_t* data = nullptr;
  EXPECT_EQ(tools::load_file(fifo.c_str(), &data, tools::kFelskaroLoader), 0);
  EXPECT_EQ(tools::probe_file_size(fifo.c_str()), 0);
}

TEST(LoadTextFile, CrLfBecomesLfAndSubstituteEndsText) {
  TempDir dir;
  dir.write("crlf", std::string("a\r\nb\rc\r\n"));
  char* text = tools::load_text_file(dir.file("crlf").c_str());
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::string(text), "a\nb\rc\n");
  // the tail beyond the shorter text, up to size + 2, is zero
  for (int i = 6; i < 10; ++i) EXPECT_EQ(text[i], '\0') << i;

  dir.write("sub", std::string("ab\x1a"
                               "cd"));
  text = tools::load_text_file(dir.file("sub").c_str());
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::string(text), "ab");
  EXPECT_EQ(text[3], '\0');
  EXPECT_EQ(text[4], '\0');

  dir.write("empty", std::string());
  text = tools::load_text_file(dir.file("empty").c_str());
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text[0], '\0');
}

TEST(PpcFormat, AddressArithmeticAndLayout) {
  EXPECT_EQ(tools::ppc_address_to_offset(38), 1056);
  EXPECT_EQ(tools::ppc_address_to_offset(10), 160);
  EXPECT_EQ(tools::ppc_element_size({10, 0}), -288);
  EXPECT_EQ(tools::ppc_next_address_for(260928), 8159);

  tools::PpcLayout layout;
  tools::place_ppc_element(layout, 1, 96);
  tools::place_ppc_element(layout, 3, 32);
  EXPECT_EQ(layout.entries[1].start, 38);
  EXPECT_EQ(layout.entries[1].end, 40);
  EXPECT_EQ(layout.entries[3].start, 41);
  EXPECT_EQ(layout.entries[3].end, 41);
  EXPECT_EQ(layout.file_size, 1184);
  const auto table = tools::build_ppc_table(layout);
  ASSERT_EQ(table.size(), 1056u);
  const Bytes reference = make_ppc({}, {});  // the magic as the fixture builder spells it
  EXPECT_EQ(std::memcmp(table.data(), reference.data(), 30), 0);
  EXPECT_EQ(table[30], 42);
  EXPECT_EQ(table[31], 0);
  EXPECT_EQ(tools::read_ppc_entry(table.data(), 1056, 3).start, 41);
  EXPECT_EQ(tools::read_ppc_entry(table.data(), 1055, 3).start, 0);  // too short: nothing read
}

TEST(PpcFormat, EmptyFileSourceGetsEndOneBelowStart) {
  tools::PpcLayout layout;
  tools::place_ppc_element(layout, 0, 0);
  tools::place_ppc_element(layout, 1, 32);
  EXPECT_EQ(layout.entries[0].start, 38);
  EXPECT_EQ(layout.entries[0].end, 37);
  EXPECT_EQ(layout.entries[1].start, 38);
  EXPECT_EQ(layout.entries[1].end, 38);
  EXPECT_EQ(layout.file_size, 1088);
}

TEST(GatherWriter, WritesManyPiecesInOrder) {
  TempDir dir;
  const int fd = tools::create_output_file(dir.file("out").c_str());
  ASSERT_GE(fd, 0);
  std::vector<Bytes> pieces;
  Bytes expected;
  for (int i = 0; i < 1500; ++i)
    pieces.push_back(pattern(static_cast<size_t>(i % 37), static_cast<uint8_t>(i)));
  pieces.push_back(pattern(5 << 20, 9));  // one piece beyond the byte threshold
  tools::GatherWriter out(fd);
  for (const auto& p : pieces) {
    ASSERT_TRUE(out.add(p.data(), static_cast<int64_t>(p.size())));
    expected.insert(expected.end(), p.begin(), p.end());
  }
  ASSERT_TRUE(out.flush());
  ASSERT_TRUE(tools::close_output_file(fd));
  EXPECT_EQ(dir.read("out"), expected);
}

// A file size limit makes the kernel accept part of a write and refuse the
// rest: the partial write is carried on and the refusal reported.
TEST(GatherWriter, PartialWriteThenFailure) {
  TempDir dir;
  rlimit saved;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto* previous = ::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 100;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const int fd = tools::create_output_file(dir.file("out").c_str());
  const Bytes a = pattern(60, 1), b = pattern(60, 2);
  tools::GatherWriter out(fd);
  EXPECT_TRUE(out.add(a.data(), 60));
  EXPECT_TRUE(out.add(b.data(), 60));
  const bool flushed = out.flush();
  ::close(fd);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, previous);
  EXPECT_FALSE(flushed);
  EXPECT_EQ(dir.read("out"), concat({a, slice(b, 0, 40)}));
}

// Runs last in this binary's registry use: grows the table and releases it.
TEST(Apmalloc, GrowsBy64AndReleaseCountsTheTable) {
  tools::apmalloc(-1);  // start from an empty registry
  testing::internal::CaptureStderr();
  EXPECT_EQ(tools::apmalloc(-1), nullptr);  // nothing recorded: silent
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  for (int i = 0; i < 64; ++i) ASSERT_NE(tools::apmalloc(8), nullptr);
  EXPECT_EQ(tools::buffer_registry().blocks, 1);
  ASSERT_NE(tools::apmalloc(8), nullptr);
  EXPECT_EQ(tools::buffer_registry().blocks, 2);
  EXPECT_EQ(tools::buffer_registry().count, 65);
  testing::internal::CaptureStderr();
  tools::apmalloc(-1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "- [APMALLOC] unhandling buffers, 66 areas.\n");
  EXPECT_EQ(tools::buffer_registry().count, 0);
}

}  // namespace
