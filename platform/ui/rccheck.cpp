// rccheck.cpp - the build-time check of resource scripts. add_arx_module runs it on a module's
// .rc before embedding it, so a script the loader could not read fails the build with the file
// and line of the problem instead of failing when a user opens a dialog.
#include <cstdio>
#include <cstring>

#include "pf/resources.h"

namespace pf {

int rcCheckMain(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: rccheck [-v] file.rc...\n");
    return 2;
  }
  bool verbose = false;
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-v") == 0) {
      verbose = true;
      continue;
    }
    ResourceScript script;
    RcError error;
    if (!parseResourceFile(argv[i], script, error)) {
      std::fprintf(stderr, "%s\n", error.toString().c_str());
      status = 1;
      continue;
    }
    if (verbose) {
      std::printf("%s: %zu strings, %zu dialogs\n", argv[i], script.strings.size(), script.dialogs.size());
      for (const RcDialog& d : script.dialogs)
        std::printf("  dialog %d \"%s\": %zu controls\n", d.id, d.caption.c_str(), d.controls.size());
    }
  }
  return status;
}

}  // namespace pf
