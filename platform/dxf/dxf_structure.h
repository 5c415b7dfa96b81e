// dxf_structure.h - the structural walk of a drawing: one pass over the groups that checks the
// section/table/block structure and every value, keeps the small parts that stay tags (header
// variables, classes, sections without a model) and hands every table, block, entity and object
// record, with its groups, to a sink as soon as it is complete. The drawing reader's sink creates
// the object at once, so the file is tokenised once and nothing is remembered per record.
//
// Nothing here touches a database.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/dxf_reader.h"

namespace pf {
namespace dxf {

class TagStream;

// A group copied out of the file (for the few records kept as tags outside the database).
struct KeptTag {
  std::int16_t code = 0;
  std::string value;
};
using KeptTags = std::vector<KeptTag>;

struct HeaderVariable {
  std::string name;  // with its `$`
  KeptTags tags;     // the value groups that follow `9 name`
  std::uint32_t line = 0;
};

struct ClassRecord {
  KeptTags tags;  // every group after `0 CLASS`, in order
  std::string dxfName, cppName, appName;
  std::int64_t proxyFlags = 0;
  std::int64_t wasProxy = 0, isEntity = 0;
  std::uint32_t line = 0;
};

// A section this program has no model for (THUMBNAILIMAGE, ACDSDATA, ...): kept whole.
struct OtherSection {
  std::string name;
  KeptTags tags;  // everything between `2 name` and `0 ENDSEC`
};

// Where a section is in the file, so that it can be walked again on its own.
struct SectionPlace {
  std::string name;
  std::uint32_t line = 0;       // line of its `0 SECTION`
  std::size_t bodyOffset = 0;   // first byte after its `2 name` group
  std::uint32_t bodyLine = 0;   // the line that starts there
};

// What the walk keeps beside the records it hands over.
struct DrawingParts {
  std::vector<SectionPlace> sections;  // as they appear
  std::vector<HeaderVariable> header;
  std::string acadVer;              // $ACADVER, empty when absent
  std::uint32_t acadVerLine = 0;    // line of its `9 $ACADVER`
  std::uint64_t handSeed = 0;
  std::string codePage;             // $DWGCODEPAGE, empty when absent
  std::vector<ClassRecord> classes;
  std::vector<OtherSection> others;
  std::uint64_t maxHandle = 0;      // largest record handle met so far
};

// One record as the walk hands it over. The groups point into the reader's buffer and the
// vector is reused for the next record: a sink copies what it keeps. A sink may change the
// groups (the vector is the walk's scratch space).
struct ScannedRecord {
  std::vector<Tag> tags;         // every group of the record, its `0 type` group first
  std::uint64_t handle = 0;      // its own handle (group 5, 105 for DIMSTYLE), 0 when it has none
  std::uint32_t handleLine = 0;  // the line of that group
  std::string_view type() const { return tags.front().value; }
  std::uint32_t line() const { return tags.front().line; }
};

// Receives the records of a drawing in file order. Every call may throw to stop the walk.
class DrawingSink {
 public:
  virtual ~DrawingSink() = default;
  // After the `2 name` of a section / at its ENDSEC. The parts of HEADER, CLASSES and sections
  // without a model are complete when their sectionEnd comes.
  virtual void sectionBegin(const SectionPlace& section) { (void)section; }
  virtual void sectionEnd(const SectionPlace& section) { (void)section; }
  // TABLES: the `0 TABLE` record (its name, group 2, still in its groups), then its records.
  virtual void tableBegin(const std::string& name, ScannedRecord& head) {
    (void)name;
    (void)head;
  }
  virtual void tableRecord(ScannedRecord& rec) { (void)rec; }
  virtual void tableEnd() {}
  // BLOCKS: the BLOCK record, the entities of the block, its ENDBLK record.
  virtual void blockBegin(ScannedRecord& rec) { (void)rec; }
  virtual void blockEntity(ScannedRecord& rec) { (void)rec; }
  virtual void blockEnd(ScannedRecord& rec) { (void)rec; }
  // A record of ENTITIES / of OBJECTS.
  virtual void entity(ScannedRecord& rec) { (void)rec; }
  virtual void object(ScannedRecord& rec) { (void)rec; }
};

// Called with the offset of the bytes already consumed, so a mapped file can drop pages behind
// the walk.
struct ReleaseBehind {
  void (*release)(void* ctx, std::size_t offset) = nullptr;
  void* ctx = nullptr;
};

// Walks the whole drawing, from its first group to `0 EOF`. Throws DxfError for anything
// malformed, with the line where it is found; whatever a sink throws goes through unchanged.
void scanDrawing(TagReader& reader, DrawingSink& sink, DrawingParts& parts, ReleaseBehind release = {});
// The same walk over the tags of a reader running in a thread of its own (dxf_tag_stream.h).
void scanDrawing(TagStream& stream, DrawingSink& sink, DrawingParts& parts, ReleaseBehind release = {});

// Walks one TABLES, BLOCKS, ENTITIES or OBJECTS section again, found by an earlier walk, with
// sectionBegin/sectionEnd around it.
void scanSection(TagReader& reader, const SectionPlace& section, DrawingSink& sink, DrawingParts& parts);

// The whole drawing checked without a sink: structure and values, then that no handle names
// two records ("duplicate handle X (already used by the record at line N)", reported for the
// smallest such handle at its second use), then that the version can be read. Answers the
// kept parts. Throws DxfError.
DrawingParts checkDrawing(TagReader& reader, ReleaseBehind release = {});

// The walk reads R2000 drawings and later; older ones (R12 to R14) reach it rewritten as R2000
// drawings (dxf_legacy.h). Versions before R2000 (and versions that are not AC + digits) are
// refused; a drawing without $ACADVER is read.
bool versionSupported(const DrawingParts& parts);
// The refusal of the version, at the line of $ACADVER.
DxfError versionError(const DrawingParts& parts, const std::string& file);

}  // namespace dxf
}  // namespace pf
