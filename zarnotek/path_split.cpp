#include "path_split.h"

#include <cctype>
#include <cstring>

namespace zarnotek {

PathParts split_path(const char* path) {
  PathParts parts;
  std::string rest(path);
  if (rest.size() >= 2 && std::isalpha(static_cast<unsigned char>(rest[0])) && rest[1] == ':') {
    parts.drive = rest.substr(0, 2);
    rest.erase(0, 2);
  }
  const size_t slash = rest.find_last_of("/\\");
  if (slash != std::string::npos) {
    parts.directory = rest.substr(0, slash + 1);
    rest.erase(0, slash + 1);
  }
  const size_t dot = rest.find_last_of('.');
  if (dot != std::string::npos) {
    parts.extension = rest.substr(dot);
    rest.erase(dot);
  }
  parts.base = rest;
  return parts;
}

}  // namespace zarnotek
