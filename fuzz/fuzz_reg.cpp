// Fuzzes the registry hive parser (see targets.h).
#include "targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::regInput(data, size);
  return 0;
}
