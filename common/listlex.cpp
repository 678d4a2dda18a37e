#include "listlex.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace tools {

namespace {
FieldTable field_table;
}

char* skip_line(char* pos) {
  if (*pos == '\0') return pos;
  char* p = pos;
  while (true) {
    const char previous = *p;
    ++p;
    if (previous == '\n' || *p == '\0') return p;
  }
}

char* split_fields(char* line, FieldTable** table, int* count) {
  char* next = skip_line(line);
  for (auto& slot : field_table.field) slot = nullptr;
  field_table.field[0] = line;
  int n = 1;
  char* p = line;
  while (*p != '\0' && *p != '\n' && *p != '\r') {
    if (*p == '\t') {
      *p = '\0';
      if (n < kFieldSlots) field_table.field[n++] = p + 1;
    }
    ++p;
  }
  if (*p == '\n' || *p == '\r') *p = '\0';
  if (count != nullptr) *count = n;
  if (table != nullptr) *table = &field_table;
  return next;
}

int64_t field_length(const char* pos) {
  int64_t n = 0;
  while (pos[n] != '\t' && pos[n] != '\r' && pos[n] != '\n' && pos[n] != '\0') ++n;
  return n;
}

char* next_field(char* pos, int n) {
  int tabs = 0;
  char* p = pos;
  while (true) {
    if (tabs == n) return p;
    if (*p == '\t') ++tabs;
    if (*p == '\n' || *p == '\0') return nullptr;
    ++p;
  }
}

int32_t read_list_number(const char* text) {
  errno = 0;
  const long long v = std::strtoll(text, nullptr, 10);
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(v);
}

}  // namespace tools
