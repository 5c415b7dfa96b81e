// Fuzzes the resource script (.rc) parser (see targets.h).
#include "targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::rcInput(data, size);
  return 0;
}
