// targets.h - the fuzzed entry points, shared by the libFuzzer harnesses (fuzz_*.cpp) and the
// regression test that replays every input that once failed (tests/robustness/).
//
// Each function takes any bytes. It returns normally when the input was read or refused the way
// the platform promises; it aborts (std::abort, so libFuzzer and the test both see it) when a
// property that must hold for every input is broken, with a line on standard error saying which.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fuzzing {

// DXF: the tag reader over the bytes, then the drawing loader (AcDbDatabase::dxfIn); a drawing
// that loads is saved, and what was saved must load again.
void dxfInput(const std::uint8_t* data, std::size_t size);

// Resource scripts (.rc): the parser either answers a script or an error with a line.
void rcInput(const std::uint8_t* data, std::size_t size);

// Registry hives (.reg text): parse, and a parsed hive formats to text that parses again to the
// same text.
void regInput(const std::uint8_t* data, std::size_t size);

// Scripts: the script input source reads every byte sequence as inputs until the end, with no
// endless loop.
void scriptInput(const std::uint8_t* data, std::size_t size);

}  // namespace fuzzing
