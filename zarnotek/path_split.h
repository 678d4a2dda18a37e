// Path splitting: drive (a letter and a colon), directory (up to and
// including the last slash or backslash), base name and extension (from the
// last "." of the last component, the dot included).
#pragma once

#include <string>

namespace zarnotek {

struct PathParts {
  std::string drive;
  std::string directory;
  std::string base;
  std::string extension;
};

PathParts split_path(const char* path);

}  // namespace zarnotek
