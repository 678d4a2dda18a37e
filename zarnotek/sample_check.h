// Sample checking and bank layout.
//
// Sample files are classified by extension (.wav WAVE, .pc8 signed raw PCM,
// .ppi unsigned raw PCM; compared case-insensitively over the table entry's
// length), WAVE formats are checked, every file is measured, default rates
// filled in (the WAVE rate, or 16540 for raw files) and the data area laid
// out in increasing tone index.
#pragma once

#include <cstdint>

namespace zarnotek {

enum SampleKind : int32_t { kSampleWave = 1, kSamplePc8 = 2, kSamplePpi = 3 };

// 1..3, or -1 when the extension is in no slot of the table.
int32_t classify_sample_file(const char* name);

// 0 when every sample file of bank b passed, -1 at the first that did not.
int32_t check_bank_samples(int bank);

}  // namespace zarnotek
