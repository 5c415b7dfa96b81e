// dxf_structure.h - first stage of loading a drawing: one pass over the groups that checks the
// section/table/block structure and every value, finds every record and its handle, copies the
// small parts kept as tags (header variables, classes, table heads and records, unknown
// sections) and remembers where each entity and object record starts, so that the second stage
// can create the objects and the third fill them, with every handle already known.
//
// Nothing here touches a database: a drawing that is malformed anywhere is refused before a
// single object exists.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/dxf_reader.h"

namespace pf {
namespace dxf {

// A group copied out of the file (for the few records kept as tags outside the database).
struct KeptTag {
  std::int16_t code = 0;
  std::string value;
};
using KeptTags = std::vector<KeptTag>;

// An entity or object record left in the file until the loader fills it: where it starts.
struct RecordRef {
  std::size_t offset = 0;      // first byte of the record's `0` line
  std::uint32_t line = 0;      // line of that `0`
  std::uint64_t handle = 0;    // 0 when the record has none (old writers)
  std::string_view type;       // the record type (value of group 0), in the file's buffer
};

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

struct Table {
  std::string name;                  // VPORT, LTYPE, ..., BLOCK_RECORD
  std::uint64_t handle = 0;
  RecordRef head;                    // the `0 TABLE` record (its groups start with `2 name`)
  std::vector<RecordRef> records;    // the table's records, in order
};

struct Block {
  RecordRef begin;                   // the BLOCK record
  std::vector<RecordRef> entities;   // its entities, in order
  RecordRef end;                     // the ENDBLK record
  std::string name;                  // group 2 of the BLOCK
};

// A section this program has no model for (THUMBNAILIMAGE, ACDSDATA, ...): kept whole.
struct OtherSection {
  std::string name;
  KeptTags tags;  // everything between `2 name` and `0 ENDSEC`
};

struct DrawingIndex {
  std::vector<std::string> sectionOrder;  // section names as they appear
  std::vector<HeaderVariable> header;
  std::string acadVer;       // $ACADVER, empty when absent
  std::uint64_t handSeed = 0;
  std::string codePage;      // $DWGCODEPAGE, empty when absent
  std::vector<ClassRecord> classes;
  std::vector<Table> tables;
  std::vector<Block> blocks;
  std::vector<RecordRef> entities;
  std::vector<RecordRef> objects;
  std::vector<OtherSection> others;
  std::uint64_t maxHandle = 0;  // largest handle anywhere in the file
  std::size_t recordCount = 0;
};

// Scans the whole drawing. `release` (optional) is called with the offset of the bytes already
// consumed, so a mapped file can drop pages behind the scan. Throws DxfError.
DrawingIndex scanDrawing(TagReader& reader, void (*release)(void*, std::size_t) = nullptr,
                         void* releaseCtx = nullptr);

// Reads the groups of one record starting at `ref` (its `0 type` group first) into `out`,
// stopping before the next `0`. The tags point into the reader's buffer.
void readRecord(TagReader& reader, const RecordRef& ref, std::vector<Tag>& out);

}  // namespace dxf
}  // namespace pf
