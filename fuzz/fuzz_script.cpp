// Fuzzes the script input source (see targets.h).
#include "targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::scriptInput(data, size);
  return 0;
}
