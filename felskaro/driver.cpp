#include "driver.h"

#include <cstring>
#include <string>

#include "messages.h"
#include "ppc_link.h"
#include "ppc_view.h"

namespace felskaro {

namespace {
constexpr const char* kVersion = "2.13a";
}

void print_usage(int status) {
  std::string text = tools::format("\nFELSKARO PPC-Utility for Drevna Ver.%s\n", kVersion);
  text += " usage : FELSKARO.exe operation filename.ext\n";
  text += "     operation : link\n";
  text += "                 view\n";
  tools::emit(tools::Stream::Err, text);
  tools::exit_process(status);
}

int run_felskaro(int argc, char** argv) {
  if (argc < 3) print_usage(0);
  tools::say_out("- [FELSKARO] Start FELSKARO. =================================\n");
  if (std::strcmp(argv[1], "view") == 0) {
    view_ppc_bank(argv[2]);
  } else if (std::strcmp(argv[1], "link") == 0) {
    link_ppc_bank(argv[2]);
  } else {
    print_usage(0);
  }
  tools::say_out("- [FELSKARO] finish FELSKARO. ================================\n");
  return 0;
}

}  // namespace felskaro
