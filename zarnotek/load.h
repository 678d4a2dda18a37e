// zarnotek's whole-file loader: tracked buffers, tag ZARNOTEK.
#pragma once

#include "fileload.h"

namespace zarnotek {

inline int32_t load_file(const char* path, uint8_t** data) {
  return tools::load_file(path, data, tools::kZarnotekLoader);
}

}  // namespace zarnotek
