// ed/resbuf_kind.h - which member of a result buffer's value union a type code uses.
#pragma once

namespace pf {

enum class ResbufKind { kNone, kReal, kPoint, kShort, kLong, kString, kName, kBinary, kUnknown };

// The value kind of an RT* code or a DXF group code; kUnknown for codes that carry no known kind.
ResbufKind resbufKind(int code);

}  // namespace pf
