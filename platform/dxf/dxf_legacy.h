// dxf_legacy.h - drawings of the releases before R2000 (R12, R13 and R14: AC1009 to AC1014),
// read as the R2000 release opens them: the drawing is rewritten as an R2000 (AC1015) drawing in
// memory, which the ordinary reader then loads.
//
// What the rewrite does (dxf_legacy*.cpp):
// - group codes keep the meaning they had in the drawing's release (group 5 of a DIMSTYLE record
//   is the name of an arrow block, not a handle); every value is checked against that meaning,
//   and a fault is reported at its line in the original file;
// - records without a handle get one (a drawing with $HANDLING 0 has none), above every handle
//   of the file; every record gets its owner;
// - R12 records, which have no subclass markers and whose groups come in any order, get the
//   R2000 layout: the common entity groups under AcDbEntity, the rest under the subclasses of
//   their type;
// - 2D POLYLINE entities (with their VERTEX and SEQEND records) become lightweight polylines
//   with their bulges, widths, elevation, thickness and normal; 3D polylines, meshes and
//   curve- or spline-fit polylines stay as they are;
// - what an R2000 drawing has and an older one lacks is made: the block table with a record
//   for every block (model and paper space among them), the classes and the standard objects
//   of the root dictionary (groups, layouts, multiline and plot styles).
// Newer drawings never come here: their load is untouched.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pf {
namespace dxf {

// The release of a drawing read by rewriting it ("AC1009" to "AC1014"), or empty for any other
// drawing. Looks at the HEADER section only, as far as $ACADVER; a drawing that names no
// $ACADVER and whose first record has no subclass marker is an R12 drawing ("AC1009").
std::string legacyVersion(std::string_view data);

// An older drawing rewritten as an R2000 (AC1015) ASCII drawing.
struct UpgradedDrawing {
  std::string text;
  // For each group of `text`, the line of the group of the original file it came from; 0 for
  // a group made up by the rewrite.
  std::vector<std::uint32_t> sourceLines;
  // The line of the original file that a line of `text` stands for: the group's own line, or
  // that of the nearest group before it that came from the file.
  std::uint32_t sourceLine(std::uint32_t textLine) const;
};

// Rewrites the drawing `data` of release `version` (see legacyVersion). Throws DxfError with
// the file's own line for anything malformed. `log` (may be null) receives what could not be
// carried over (a dimension style's arrow block that the drawing does not define).
UpgradedDrawing upgradeLegacyDrawing(std::string_view data, const std::string& file, const std::string& version,
                                     std::ostream* log);

// A log stream that writes to `target` with the line in every "FILE:LINE: " prefix turned into
// the original file's line, for the messages of the reader loading an upgraded drawing.
std::unique_ptr<std::ostream> sourceLineLog(std::ostream& target, const std::string& file, const UpgradedDrawing& up);

}  // namespace dxf
}  // namespace pf
