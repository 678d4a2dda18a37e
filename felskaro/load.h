// felskaro's whole-file loader: plain buffers, tag FELSKARO.
#pragma once

#include "fileload.h"

namespace felskaro {

inline int32_t load_file(const char* path, uint8_t** data) {
  return tools::load_file(path, data, tools::kFelskaroLoader);
}

}  // namespace felskaro
