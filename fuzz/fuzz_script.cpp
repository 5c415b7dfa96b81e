// Fuzzes the script input source: every byte sequence reads as inputs until the end, with no
// crash and no endless loop.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "pf/input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  auto source = pf::makeScriptInput(in, "fuzz.scr");
  // Each input consumes at least one line (a byte), so more reads than bytes means a hang.
  for (size_t reads = 0; reads <= size + 1; ++reads) {
    const pf::Input& peeked = source->peek();
    const pf::Input::Kind kind = peeked.kind;
    const pf::Input got = source->read("");
    if (got.kind != kind) __builtin_trap();
    if (got.kind == pf::Input::kEnd) return 0;
  }
  __builtin_trap();
}
