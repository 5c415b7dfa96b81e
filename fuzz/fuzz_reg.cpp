// Fuzzes the registry hive parser: any bytes either parse or are refused with a line number,
// and a parsed hive formats to text that parses again to the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "win/reg_model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  pf::reg::Key root;
  pf::reg::ParseError error;
  if (!pf::reg::parseHive(bytes, root, error)) return 0;
  const std::string text = pf::reg::formatHive(root);
  pf::reg::Key again;
  pf::reg::ParseError error2;
  if (!pf::reg::parseHive(text, again, error2)) std::abort();  // our own output must parse
  if (pf::reg::formatHive(again) != text) std::abort();        // and be stable
  return 0;
}
