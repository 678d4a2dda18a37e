// Lexing of list-file (LXI) lines, in place on a zero-terminated text.
//
// A line ends at LF; split_fields and field_length also stop at CR, so a
// CR LF line yields the same fields as an LF line. Fields are separated by
// single TABs.
#pragma once

#include <cstdint>

namespace tools {

inline constexpr int kFieldSlots = 16;

// Pointers to the fields of the last line cut by split_fields; slot 0 is the
// line's start, slot k the character after the k-th TAB, unused slots null.
struct FieldTable {
  char* field[kFieldSlots];
};

// Cuts the line at `line` into zero-terminated fields in place (each TAB and
// the closing CR or LF becomes a zero byte) and returns the start of the next
// line, or the terminator. The count is the number of TABs plus one, capped
// at 16; fields after the 16th are not stored. Either out-place may be null.
char* split_fields(char* line, FieldTable** table, int* count);

// Returns the position after the first LF at or after pos, or the position
// of the terminator when it comes first. At the terminator: pos itself.
char* skip_line(char* pos);

// Characters before the first TAB, CR, LF or terminator.
int64_t field_length(const char* pos);

// Position after the n-th TAB counted from pos; null when an LF or the
// terminator comes first. n == 0 returns pos.
char* next_field(char* pos, int n);

// Decimal number as the standard text-to-integer conversion reads it
// (leading white space, optional sign, digits; 0 without digits), clamped
// to the signed 32-bit range.
int32_t read_list_number(const char* text);

}  // namespace tools
