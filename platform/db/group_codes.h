// db/group_codes.h - the one table of DXF group codes: the value type of every code, which codes
// start, continue or end a point, and which handles name another object. The DXF reader and
// writer, the tag filer, the DXF file filers and result buffers all ask it; each view they need
// (a tag's kind, a result buffer's union member) is a query of this table, not a table of its
// own.
#pragma once
#include <array>
#include <cstdint>

namespace pf {

// What a group code's value holds, from the DXF group-code ranges.
enum class GroupType : std::uint8_t {
  String,   // text, kept exactly (0-9, 100-102, 300-309, 410-419, 430-439, 470-479, 1000-1009)
  Double,   // real number (10-59, 110-149, 210-239, 460-469, 1010-1059)
  Int16,    // 16-bit integer (60-79, 170-179, 270-289, 370-389, 400-409, 1060-1070)
  Int32,    // 32-bit integer (90-99, 420-429, 440-459, 1071)
  Int64,    // 64-bit integer (160-169)
  Bool,     // 0 or 1 (290-299)
  Handle,   // hexadecimal handle (5, 105, 320-369, 390-399, 480-481, 1005)
  Binary,   // hexadecimal binary chunk (310-319, 1004)
  Comment,  // 999
  Invalid,  // a code no DXF version defines (and every negative code)
};

// Where a real code sits in a point written as three groups X, X+10, X+20.
enum class PointPart : std::uint8_t { None, X, Y, Z };

// One row of the table.
struct GroupCode {
  GroupType type = GroupType::Invalid;
  PointPart point = PointPart::None;
  bool pointer = false;  // a handle resolved to an object id (soft/hard pointers and owners)
};

constexpr int kMaxGroupCode = 1071;
extern const std::array<GroupCode, kMaxGroupCode + 1> kGroupCodes;

// The row of `code`; codes outside 0..1071 answer an Invalid row.
inline GroupCode groupCode(int code) {
  return code < 0 || code > kMaxGroupCode ? GroupCode{} : kGroupCodes[static_cast<std::size_t>(code)];
}
inline GroupType groupType(int code) { return groupCode(code).type; }

// The value of a pointer code (330-369, 390-399, 480-481) names another object and becomes an
// object id when read. Other handles stay text: the record's own handle (5, 105), arbitrary
// handles taken as they are (320-329) and extended-data handles (1005).
inline bool isPointerCode(int code) { return groupCode(code).pointer; }

// Which member of a result buffer's value union a type code uses: an RT* code, a negative
// entity-list code, or a DXF group code. Points are one buffer at their X code; their Y and Z
// codes alone are reals.
enum class ResbufKind : std::uint8_t { None, String, Real, Short, Long, Point, Name, Binary, Unknown };
ResbufKind resbufKind(int restype);

// True when a buffer of this type owns a malloc'd string in `rstring` (a list's copy and release
// duplicate and free it). A buffer of an unknown type is taken to hold text, as the tag filer
// reads the values of unknown codes.
inline bool resbufOwnsString(ResbufKind k) { return k == ResbufKind::String || k == ResbufKind::Unknown; }

}  // namespace pf
