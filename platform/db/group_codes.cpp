// group_codes.cpp - the group-code table, built at compile time from the DXF code ranges, and the
// result-buffer view of it.
#include "db/group_codes.h"

#include "adscodes.h"

namespace pf {

namespace {

struct Range {
  int first, last;
  GroupType type;
};

// The DXF group-code value types, range by range.
constexpr Range kTypeRanges[] = {
    {0, 4, GroupType::String},      {5, 5, GroupType::Handle},      {6, 9, GroupType::String},
    {10, 59, GroupType::Double},    {60, 79, GroupType::Int16},     {90, 99, GroupType::Int32},
    {100, 102, GroupType::String},  {105, 105, GroupType::Handle},  {110, 149, GroupType::Double},
    {160, 169, GroupType::Int64},   {170, 179, GroupType::Int16},   {210, 239, GroupType::Double},
    {270, 289, GroupType::Int16},   {290, 299, GroupType::Bool},    {300, 309, GroupType::String},
    {310, 319, GroupType::Binary},  {320, 369, GroupType::Handle},  {370, 389, GroupType::Int16},
    {390, 399, GroupType::Handle},  {400, 409, GroupType::Int16},   {410, 419, GroupType::String},
    {420, 429, GroupType::Int32},   {430, 439, GroupType::String},  {440, 459, GroupType::Int32},
    {460, 469, GroupType::Double},  {470, 479, GroupType::String},  {480, 481, GroupType::Handle},
    {999, 999, GroupType::Comment}, {1000, 1003, GroupType::String}, {1004, 1004, GroupType::Binary},
    {1005, 1005, GroupType::Handle}, {1006, 1009, GroupType::String}, {1010, 1059, GroupType::Double},
    {1060, 1070, GroupType::Int16}, {1071, 1071, GroupType::Int32},
};

// The X codes of points (the Y and Z follow at +10 and +20): entity points 10-18, the UCS origin
// and axes 110-112, the extrusion 210 and the leader directions and offsets 211-213, and the
// extended-data points 1010-1013. Point 18 has no Z (38 is the elevation); other reals of 10-39
// (19, 29, 39 ...) stand alone.
struct PointRange {
  int first, last;
  bool hasZ;
};
constexpr PointRange kPointRanges[] = {
    {10, 17, true}, {18, 18, false}, {110, 112, true}, {210, 213, true}, {1010, 1013, true},
};

constexpr Range kPointerRanges[] = {
    {330, 369, GroupType::Handle}, {390, 399, GroupType::Handle}, {480, 481, GroupType::Handle},
};

constexpr std::array<GroupCode, kMaxGroupCode + 1> buildTable() {
  std::array<GroupCode, kMaxGroupCode + 1> t{};
  for (const Range& r : kTypeRanges)
    for (int c = r.first; c <= r.last; ++c) t[static_cast<std::size_t>(c)].type = r.type;
  for (const PointRange& r : kPointRanges)
    for (int c = r.first; c <= r.last; ++c) {
      t[static_cast<std::size_t>(c)].point = PointPart::X;
      t[static_cast<std::size_t>(c + 10)].point = PointPart::Y;
      if (r.hasZ) t[static_cast<std::size_t>(c + 20)].point = PointPart::Z;
    }
  for (const Range& r : kPointerRanges)
    for (int c = r.first; c <= r.last; ++c) t[static_cast<std::size_t>(c)].pointer = true;
  return t;
}

}  // namespace

constexpr std::array<GroupCode, kMaxGroupCode + 1> kGroupCodes = buildTable();

ResbufKind resbufKind(int restype) {
  switch (restype) {
    case RTNONE: case RTVOID: case RTLB: case RTLE: case RTDOTE: case RTNIL: case RTT:
      return ResbufKind::None;
    case RTREAL: case RTANG: case RTORINT: return ResbufKind::Real;  // an orientation is an angle
    case RTPOINT: case RT3DPOINT: return ResbufKind::Point;
    case RTSHORT: return ResbufKind::Short;
    case RTLONG: return ResbufKind::Long;
    case RTSTR: case RTDXF0: return ResbufKind::String;
    case RTENAME: case RTPICKS: return ResbufKind::Name;
    default: break;
  }
  switch (restype) {
    case -1: case -2: return ResbufKind::Name;  // the entity's name, a table's first entity
    case -3: return ResbufKind::None;           // extended data follows: the marker holds nothing
    case -4: return ResbufKind::String;         // a selection filter's operator ("<AND")
    case -5: case -6: return ResbufKind::Name;  // persistent reactors, extension dictionary
    default: break;
  }
  const GroupCode g = groupCode(restype);
  switch (g.type) {
    case GroupType::String: case GroupType::Comment: return ResbufKind::String;
    case GroupType::Handle: return g.pointer ? ResbufKind::Name : ResbufKind::String;
    case GroupType::Double: return g.point == PointPart::X ? ResbufKind::Point : ResbufKind::Real;
    case GroupType::Int16: case GroupType::Bool: return ResbufKind::Short;
    case GroupType::Int32: case GroupType::Int64: return ResbufKind::Long;
    case GroupType::Binary: return ResbufKind::Binary;
    case GroupType::Invalid: break;
  }
  return ResbufKind::Unknown;
}

}  // namespace pf
