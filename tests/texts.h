// Fixed console texts that many tests compare against.
#pragma once

#include <string>

namespace texts {

inline const std::string kZStart =
    "- [ZARNOTEK] Start ZARNOTEK. =================================\n";
inline const std::string kZFinish =
    "- [ZARNOTEK] finish ZARNOTEK. ================================\n";
inline const std::string kZUsage =
    "\nZARNOTEK PZI-Utility for Drevna Ver.2.10a\n"
    " usage : zarnotek.exe operation filename.ext\n"
    "     operation : link\n"
    "                 inspect\n"
    "                 pzi2p86\n"
    "                 linkppc\n";
inline const std::string kFStart =
    "- [FELSKARO] Start FELSKARO. =================================\n";
inline const std::string kFFinish =
    "- [FELSKARO] finish FELSKARO. ================================\n";
inline const std::string kFUsage =
    "\nFELSKARO PPC-Utility for Drevna Ver.2.13a\n"
    " usage : FELSKARO.exe operation filename.ext\n"
    "     operation : link\n"
    "                 view\n";

inline std::string release(int areas) {
  return "- [APMALLOC] unhandling buffers, " + std::to_string(areas) + " areas.\n";
}

}  // namespace texts
