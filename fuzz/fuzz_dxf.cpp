// Fuzzes the DXF tag reader and drawing loader and saver (see targets.h).
#include "targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::dxfInput(data, size);
  return 0;
}
