// dxf_legacy_internal.h - the parts of the rewrite of older drawings (dxf_legacy.h): the drawing
// as read (sections of records of groups, each with its line), the output being written, and
// the R2000 layout of R12 records.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pf {
namespace dxf {
namespace legacy {

struct Group {
  std::int16_t code = 0;
  std::string value;
  std::uint32_t line = 0;  // of its group code in the original file; 0 when made up
};
using Groups = std::vector<Group>;

// A record: its `0 TYPE` group first.
struct Record {
  Groups groups;
  std::uint64_t handle = 0;   // its own handle (5, or 105 for a DIMSTYLE of R13/R14), 0 when none
  std::uint32_t handleLine = 0;

  const std::string& type() const { return groups.front().value; }
  std::uint32_t line() const { return groups.front().line; }
  // The first group `code`, or null.
  const Group* find(int code) const;
  std::string value(int code, const std::string& fallback = std::string()) const;
  double real(int code, double fallback = 0.0) const;
  long integer(int code, long fallback = 0) const;
  // True when the record carries a group of `code` before its first subclass marker, outside
  // its {...} groups (its owner, 330).
  bool hasHeadGroup(int code) const;
  // The index of the first extended-data group (1001), or the number of groups.
  std::size_t extendedDataStart() const;
};

struct Section {
  std::string name;
  std::uint32_t line = 0;   // of its `0 SECTION`
  Groups groups;            // HEADER and sections without a model: every group, as read
  std::vector<Record> records;  // the others: their records, split at each group 0
};

struct Drawing {
  std::vector<Section> sections;
  std::uint64_t handSeed = 0;
  std::uint64_t maxHandle = 0;
  Section* find(const std::string& name);
};

// Reads the drawing, checking every value against the meaning its group code had in the older
// releases. Throws DxfError with the line of the fault.
Drawing readDrawing(std::string_view data, const std::string& file);

// The rewritten drawing being built: groups as text, with the original line of each.
class Output {
 public:
  void group(int code, std::string_view value, std::uint32_t line = 0);
  void group(const Group& g) { group(g.code, g.value, g.line); }
  void handle(int code, std::uint64_t h, std::uint32_t line = 0);
  void real(int code, double v);
  void integer(int code, long v);
  // Groups written by the R2000 template's writer (text of `code\r\nvalue\r\n` lines).
  void written(const std::string& text);
  void append(const Output& other);

  std::string text;
  std::vector<std::uint32_t> lines;
};

std::string hex(std::uint64_t h);

// One subclass of the R2000 layout of an R12 record: its marker and the codes it holds.
struct Subclass {
  const char* marker;
  std::vector<int> codes;
};

// The subclasses after AcDbEntity of an R12 entity record, in order. `polylineFlags` are the
// flags of the polyline a VERTEX belongs to (-1 for other records).
std::vector<Subclass> entityLayout(const Record& r, long polylineFlags);
// The subclass marker of an R12 symbol-table record of table `type` (after AcDbSymbolTableRecord).
const char* tableRecordMarker(const std::string& type);
// True for the codes of AcDbEntity that an R12 entity may carry (layer, linetype, colour, space).
bool isCommonEntityCode(int code);

// Whether a 2D polyline becomes a lightweight one as the R2000 release converts it: not 3D,
// not a mesh, not curve- or spline-fit, with vertices and no fit or frame vertex, and no
// extended data on its vertices.
bool convertsToLightweight(const Record& polyline, const std::vector<const Record*>& vertices);
// Writes the lightweight polyline of `polyline` and its vertices, under handle `h` and `owner`.
// `modern` records have subclass markers (R13/R14): their AcDbEntity groups are kept as read.
void writeLightweight(Output& out, const Record& polyline, const std::vector<const Record*>& vertices,
                      std::uint64_t h, std::uint64_t owner, bool modern);

}  // namespace legacy
}  // namespace dxf
}  // namespace pf
