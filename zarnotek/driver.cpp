#include "driver.h"

#include <cstring>
#include <string>

#include "apmalloc.h"
#include "inspect.h"
#include "messages.h"
#include "p86.h"
#include "ppc_link.h"
#include "pzi_link.h"
#include "run_state.h"

namespace zarnotek {

namespace {

constexpr const char* kVersion = "2.10a";

struct Operation {
  const char* word;
  int32_t (*entry)(const char* path);
};

constexpr Operation kOperations[] = {
    {"link", link_pzi_banks},
    {"inspect", inspect_pzi_bank},
    {"pzi2p86", convert_pzi_to_p86},
    {"linkppc", link_ppc_from_list},
};

}  // namespace

void print_usage(int status) {
  std::string text = tools::format("\nZARNOTEK PZI-Utility for Drevna Ver.%s\n", kVersion);
  text += " usage : zarnotek.exe operation filename.ext\n";
  text += "     operation : link\n";
  text += "                 inspect\n";
  text += "                 pzi2p86\n";
  text += "                 linkppc\n";
  tools::emit(tools::Stream::Err, text);
  tools::exit_process(status);
}

int run_zarnotek(int argc, char** argv) {
  reset_run_state();
  if (argc < 3) print_usage(0);
  tools::say_err("- [ZARNOTEK] Start ZARNOTEK. =================================\n");
  const Operation* chosen = nullptr;
  for (const Operation& op : kOperations) {
    if (std::strcmp(argv[1], op.word) == 0) {
      chosen = &op;
      break;
    }
  }
  if (chosen == nullptr) print_usage(0);
  chosen->entry(argv[2]);
  tools::apmalloc(-1);
  tools::say_err("- [ZARNOTEK] finish ZARNOTEK. ================================\n");
  return 0;
}

}  // namespace zarnotek
